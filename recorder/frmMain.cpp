#include "frmMain.h"

#include <QActionGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QHBoxLayout>
#include <QStatusBar>
#include <QVBoxLayout>

#include "dialogs/frmSetup.h"

using Item = tavrin::MainWindowControls::Item;

frmMain::frmMain(const Services& services, QWidget* parent) : QMainWindow(parent), services_(services) {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    for (int i = 0; i < kCharts; ++i) {
        Chart[static_cast<size_t>(i)] = new pelomar::Pelomar(central);
        if (i != kLiveChart) Chart[static_cast<size_t>(i)]->hide();
    }
    for (size_t i = 0; i < ScrollChart.size(); ++i) {
        ScrollChart[i] = new tavrin::SlotScrollBar(central);
        // Only the selected tab's bar shows.
        if (i != kLiveChart) ScrollChart[i]->hide();
    }
    ScrollChart0 = ScrollChart[0];
    frameScaleAxis = new FrameScaleAxis(central);
    ShapeReciveLed = new tavrin::ReceiveLed(central);
    buildWindow();

    liveChart_ = std::make_unique<tavrin::PelomarChart>(*Chart[kLiveChart]);
    logChart_ = std::make_unique<tavrin::PelomarChart>(*Chart[kLogChart]);
    controls_ = std::make_unique<tavrin::ActionControls>(
        std::map<Item, QAction*>{{Item::mnuStart, mnuStart},
                                 {Item::mnuStop, mnuStop},
                                 {Item::mnuComPort, mnuComPort},
                                 {Item::mnuLogOn, mnuLogOn},
                                 {Item::mnuLogOff, mnuLogOff},
                                 {Item::cmdRecord, cmdRecord},
                                 {Item::cmdStop, cmdStop},
                                 {Item::cmdLogOn, cmdLogOn},
                                 {Item::cmdLogOff, cmdLogOff},
                                 {Item::mnuSaveLog, mnuSaveLog}},
        *ShapeReciveLed, *ScrollChart[0],
        std::array<QWidget*, 5>{Chart[0], Chart[1], Chart[2], Chart[3], Chart[4]});
    recorder_ = std::make_unique<tavrin::Recorder>(tavrin::RecorderServices{
        services.port, *liveChart_, *logChart_, *controls_, services.ui, services.errorLog,
        services.clock, TimerProcess, TimerCheckComData, TimerSaveLog, TimerStopWaitForMethod});

    Chart[kLiveChart]->installEventFilter(this);

    connect(mnuStart, &QAction::triggered, this, &frmMain::mnuStart_Click);
    connect(mnuStop, &QAction::triggered, this, &frmMain::mnuStop_Click);

    backupChart_ = std::make_unique<tavrin::PelomarBackupChart>(*Chart[kLogChart]);
    NoData = new frmNoData(this);
    logging_ = std::make_unique<tavrin::LogControl>(
        recorder_->decoder, recorder_->run, *backupChart_, *NoData, *controls_, TimerCheckComData,
        TimerSaveLog, recorder_->globals, recorder_->errors);
    logging_->setCommands({[this] { mnuComPort_Click(); }, [this] { mnuExit_Click(); }});
    if (services.settings != nullptr)
        options_ = std::make_unique<tavrin::OptionsSettings>(*services.settings, recorder_->globals,
                                                             recorder_->errors, services.decimalSeparator);
    if (services.port != nullptr && services.probe != nullptr)
        portChoice_ = std::make_unique<tavrin::PortChoice>(
            *services.port, *services.probe, TimerCheckComData, recorder_->globals, services.ui,
            recorder_->errors, [this](tavrin::PortSetup& setup) {
                frmSetup dialog(setup, this);
                dialog.showModal();
            });
    connect(mnuLogOn, &QAction::triggered, this, &frmMain::mnuLogOn_Click);
    connect(mnuLogOff, &QAction::triggered, this, &frmMain::mnuLogOff_Click);
    connect(mnuComPort, &QAction::triggered, this, &frmMain::mnuComPort_Click);

    recorder_->globals.DecimalSeparator = services.decimalSeparator;
    connectAxisPanel(services.ui);
    // The empty live chart needs no saving.
    recorder_->globals.Saved[0] = true;
    // Registration and the first activation.
    if (services.settings != nullptr && services.files != nullptr && !services.programFolder.empty()) {
        registry_ = std::make_unique<tavrin::InstanceRegistry>(
            tavrin::InstanceRegistry::Services{*services.settings, *services.files, services.ui, *logChart_},
            recorder_->globals, services.programFolder, services.otherCopyWasRunning);
    }
    recorder_->globals.LogInfoSettings = services.logInfoSettings;
    startup_ = std::make_unique<tavrin::StartupSequence>(
        recorder_->globals, registry_.get(), services.ui, *controls_, TimerCheckComData,
        tavrin::StartupSequence::Start{services.otherCopyWasRunning, services.copyNumber, services.commandLine},
        startupHooks());

    // No instrument until the stream is aligned; the decoder ticks from load.
    recorder_->decoder.DisableDataCollection();
    TimerProcess.start();
}

frmMain::~frmMain() {
    TimerProcess.stop();
    TimerCheckComData.stop();
    TimerSaveLog.stop();
    TimerStopWaitForMethod.stop();
    // The axis controls' signals must not reach a panel that is gone.
    if (axisControls_) axisControls_->disconnect();
    axisPanel_.reset();
    portChoice_.reset();
    logging_.reset();
    recorder_.reset();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // F1 in an open menu asks for the help of the item under the cursor.
    if (auto* menu = qobject_cast<QMenu*>(watched); menu != nullptr && event->type() == QEvent::KeyPress &&
                                                    static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        const QAction* item = menu->activeAction();
        const QVariant context = item != nullptr ? item->property("HelpContextID") : QVariant();
        showHelpFor(context.isValid() ? context.toInt() : HelpContextID);
        return true;
    }
    if (watched == Chart[kLiveChart] && event->type() == QEvent::Resize) {
        try {
            Chart[kLiveChart]->Redraw();
        } catch (...) {
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QAction* frmMain::addItem(const QString& text, bool checkable) {
    auto* action = new QAction(text, this);
    action->setCheckable(checkable);
    addAction(action);
    return action;
}

void frmMain::HandelError(int16_t ErrorCode) { recorder_->HandelError(ErrorCode); }

void frmMain::DrawChartLabel(int16_t& LabelType, bool Log) { recorder_->run.DrawChartLabel(LabelType, Log); }

void frmMain::GetLastBytes(int16_t& Which) { recorder_->decoder.GetLastBytes(Which); }

void frmMain::mnuStart_Click() {
    try {
        recorder_->run.mnuStart_Click();
    } catch (...) {
    }
}

void frmMain::mnuStop_Click() {
    try {
        recorder_->run.mnuStop_Click();
    } catch (...) {
    }
}

void frmMain::mnuLogOn_Click() {
    try {
        logging_->mnuLogOn_Click();
    } catch (...) {
    }
}

void frmMain::mnuLogOff_Click() {
    try {
        logging_->mnuLogOff_Click();
    } catch (...) {
    }
}

void frmMain::mnuComPort_Click() {
    if (portChoice_) portChoice_->ShowSetupDialog();
}

void frmMain::mnuExit_Click() { close(); }

void frmMain::LoadSettings() {
    if (options_)
        options_->LoadSettings();
    else
        tavrin::OptionsSettings::applyDefaults(recorder_->globals);
    // The logging items follow the setting.
    mnuLogOn->setEnabled(!recorder_->globals.LogOn);
    mnuLogOff->setEnabled(recorder_->globals.LogOn);
}

void frmMain::SaveSettings() {
    try {
        if (options_) options_->SaveSettings();
    } catch (...) {
    }
}

bool frmMain::ChooseComPort(bool otherCopyWasRunning) {
    if (!portChoice_) return true;
    return portChoice_->ChoosePort(otherCopyWasRunning);
}

void frmMain::OpenComPort() {
    if (portChoice_) portChoice_->OpenPort();
}

// Axis ranges and time window.

void frmMain::connectAxisPanel(tavrin::UiServices& ui) {
    std::array<tavrin::AxisChart*, 5> charts{};
    std::array<QWidget*, 5> chartWidgets{};
    for (size_t i = 0; i < axisCharts_.size(); ++i) {
        axisCharts_[i] = std::make_unique<tavrin::PelomarAxisChart>(*Chart[i]);
        charts[i] = axisCharts_[i].get();
        chartWidgets[i] = Chart[i];
    }
    axisControls_ = std::make_unique<tavrin::QtAxisControls>(*frameScaleAxis, ScrollChart, chartWidgets);
    axisPanel_ = std::make_unique<tavrin::AxisPanel>(tavrin::AxisPanel::Services{
        *axisControls_, charts, recorder_->axisView, recorder_->globals, ui,
        [this] { return recorder_->run.Recording(); }, [this](int16_t n) { HandelError(n); }});
    axisControls_->bind(*axisPanel_);
    // The chart events act on the selected tab's slot, whichever chart raised them.
    for (int16_t i = 0; i < 5; ++i) {
        pelomar::Pelomar* chart = Chart[static_cast<size_t>(i)];
        connect(chart, &pelomar::Pelomar::ZoomEnd, this,
                [this, i](float xs, float xe, float y1s, float y1e, float y2s, float y2e) {
                    try {
                        axisPanel_->Chart_ZoomEnd(i, xs, xe, y1s, y1e, y2s, y2e);
                    } catch (...) {
                    }
                });
        connect(chart, &pelomar::Pelomar::UnZoomEnd, this, [this, i] {
            try {
                axisPanel_->Chart_UnZoomEnd(i);
            } catch (...) {
            }
        });
        connect(chart, &pelomar::Pelomar::MyError, this, [this, i](int16_t n) {
            try {
                axisPanel_->Chart_MyError(i, n);
            } catch (...) {
            }
        });
    }
    try {
        axisPanel_->FillYAxisLists();
        for (int s = 0; s < 5; ++s) axisPanel_->InitSlot(s);
        // Full View at start: no scrolling, no window entry.
        for (tavrin::SlotScrollBar* bar : ScrollChart) bar->setEnabled(false);
        frameScaleAxis->txtChartTime->setEnabled(false);
    } catch (...) {
    }
}

void frmMain::GetZoomedTime(float& ZoomedTimeFrom, float& ZoomedTimeTo) const {
    axisPanel_->GetZoomedTime(ZoomedTimeFrom, ZoomedTimeTo);
}
