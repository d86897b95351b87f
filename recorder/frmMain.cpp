#include "frmMain.h"

#include <QActionGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QHBoxLayout>
#include <QStatusBar>
#include <QVBoxLayout>


frmMain::frmMain(Parts& app, QWidget* parent) : QMainWindow(parent), app_(app) {
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
    Chart[kLiveChart]->installEventFilter(this);
}

frmMain::~frmMain() { stopTimers(); }

void frmMain::stopTimers() {
    TimerProcess.stop();
    TimerCheckComData.stop();
    TimerSaveLog.stop();
    TimerStopWaitForMethod.stop();
}

void frmMain::bindCommands() {
    connect(mnuStart, &QAction::triggered, this, &frmMain::mnuStart_Click);
    connect(mnuStop, &QAction::triggered, this, &frmMain::mnuStop_Click);
    connect(mnuLogOn, &QAction::triggered, this, &frmMain::mnuLogOn_Click);
    connect(mnuLogOff, &QAction::triggered, this, &frmMain::mnuLogOff_Click);
    connect(mnuComPort, &QAction::triggered, this, &frmMain::mnuComPort_Click);
    // The chart events act on the selected tab's slot, whichever chart raised them.
    for (int16_t i = 0; i < 5; ++i) {
        pelomar::Pelomar* chart = Chart[static_cast<size_t>(i)];
        connect(chart, &pelomar::Pelomar::ZoomEnd, this,
                [this, i](float xs, float xe, float y1s, float y1e, float y2s, float y2e) {
                    guard("Chart_ZoomEnd", [&] { axisPanel().Chart_ZoomEnd(i, xs, xe, y1s, y1e, y2s, y2e); });
                });
        connect(chart, &pelomar::Pelomar::UnZoomEnd, this,
                [this, i] { guard("Chart_UnZoomEnd", [&] { axisPanel().Chart_UnZoomEnd(i); }); });
        connect(chart, &pelomar::Pelomar::MyError, this,
                [this, i](int16_t n) { guard("Chart_MyError", [&] { axisPanel().Chart_MyError(i, n); }); });
    }
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
        guard("Chart_Resize", [&] { Chart[kLiveChart]->Redraw(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

QAction* frmMain::addItem(const QString& text, bool checkable) {
    auto* action = new QAction(text, this);
    action->setCheckable(checkable);
    addAction(action);
    return action;
}

void frmMain::HandelError(int16_t ErrorCode) { recorder().HandelError(ErrorCode); }

void frmMain::DrawChartLabel(int16_t& LabelType, bool Log) { recorder().run.DrawChartLabel(LabelType, Log); }

void frmMain::GetLastBytes(int16_t& Which) { recorder().decoder.GetLastBytes(Which); }

void frmMain::mnuStart_Click() {
    guard("mnuStart_Click", [&] { recorder().run.mnuStart_Click(); });
}

void frmMain::mnuStop_Click() {
    guard("mnuStop_Click", [&] { recorder().run.mnuStop_Click(); });
}

void frmMain::mnuLogOn_Click() {
    guard("mnuLogOn_Click", [&] { logging().mnuLogOn_Click(); });
}

void frmMain::mnuLogOff_Click() {
    guard("mnuLogOff_Click", [&] { logging().mnuLogOff_Click(); });
}

void frmMain::mnuComPort_Click() {
    guard("mnuComPort_Click", [&] { app_.portChoice().ShowSetupDialog(); });
}

void frmMain::mnuExit_Click() { close(); }

void frmMain::LoadSettings() {
    app_.options().LoadSettings();
    // The logging items follow the setting.
    mnuLogOn->setEnabled(!recorder().globals.LogOn);
    mnuLogOff->setEnabled(recorder().globals.LogOn);
}

void frmMain::SaveSettings() {
    guard("SaveSettings", [&] { app_.options().SaveSettings(); });
}

bool frmMain::ChooseComPort(bool otherCopyWasRunning) {
    return app_.portChoice().ChoosePort(otherCopyWasRunning);
}

void frmMain::OpenComPort() {
    guard("OpenComPort", [&] { app_.portChoice().OpenPort(); });
}

void frmMain::GetZoomedTime(float& ZoomedTimeFrom, float& ZoomedTimeTo) const {
    app_.axisPanel().GetZoomedTime(ZoomedTimeFrom, ZoomedTimeTo);
}
