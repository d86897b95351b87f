#include "TavrinApplication.h"

#include <map>

#include "core/registry/DataRecoveryLogic.h"
#include "core/dialogs/ExportLogic.h"
#include "core/dialogs/NotesLogic.h"
#include "core/dialogs/PrintLogic.h"
#include "core/dialogs/LogNameLogic.h"
#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmLogName.h"
#include "dialogs/frmMethod.h"
#include "dialogs/frmNotes.h"
#include "dialogs/frmPrint.h"
#include "dialogs/frmSetup.h"
#include "common/CodePage.h"
#include "frmMain.h"

using Item = tavrin::MainWindowControls::Item;

namespace {

// Every item the run control and the logging set, by its menu or toolbar name.
std::map<Item, QAction*> mainWindowActions(const frmMain& w) {
    const std::pair<Item, const char*> menu[] = {
        {Item::mnuStart, "mnuStart"},
        {Item::mnuStop, "mnuStop"},
        {Item::mnuComPort, "mnuComPort"},
        {Item::mnuSaveData, "mnuSaveData"},
        {Item::mnuSaveSlectedData, "mnuSaveSlectedData"},
        {Item::mnuSaveDataAs, "mnuSaveDataAs"},
        {Item::mnuClear, "mnuClear"},
        {Item::mnuPrint, "mnuPrint"},
        {Item::mnuPrintSetup, "mnuPrintSetup"},
        {Item::mnuExport, "mnuExport"},
        {Item::mnuLogOn, "mnuLogOn"},
        {Item::mnuLogOff, "mnuLogOff"},
        {Item::mnuSaveLog, "mnuSaveLog"},
    };
    const std::pair<Item, const char*> buttons[] = {
        {Item::cmdRecord, "cmdRecord"}, {Item::cmdStop, "cmdStop"},     {Item::cmdPrint, "cmdPrint"},
        {Item::cmdSave, "cmdSave"},     {Item::cmdClear, "cmdClear"},   {Item::cmdLogOn, "cmdLogOn"},
        {Item::cmdLogOff, "cmdLogOff"},
    };
    std::map<Item, QAction*> actions;
    for (const auto& [item, name] : menu) actions[item] = w.menuItem(QString::fromLatin1(name));
    for (const auto& [item, name] : buttons) actions[item] = w.toolButton(QString::fromLatin1(name));
    return actions;
}

}  // namespace

TavrinApplication::TavrinApplication(const Services& services)
    : services_(services), window_(std::make_unique<frmMain>(*this)) {
    frmMain& w = *window_;
    for (size_t i = 0; i < charts_.size(); ++i) charts_[i] = std::make_unique<tavrin::PelomarHost>(*w.Chart[i]);
    tavrin::PelomarHost& logChart = *charts_[frmMain::kLogChart];
    controls_ = std::make_unique<tavrin::ActionControls>(
        mainWindowActions(w), *w.ShapeReciveLed, *w.ScrollChart[0],
        std::array<QWidget*, 5>{w.Chart[0], w.Chart[1], w.Chart[2], w.Chart[3], w.Chart[4]});
    recorder_ = std::make_unique<tavrin::Recorder>(tavrin::RecorderServices{
        services.port, *charts_[frmMain::kLiveChart], logChart, *controls_, services.ui, services.errorLog,
        services.clock,
        w.TimerProcess, w.TimerCheckComData, w.TimerSaveLog, w.TimerStopWaitForMethod});

    w.NoData = new frmNoData(&w);
    logging_ = std::make_unique<tavrin::LogControl>(recorder_->decoder, recorder_->run, logChart, *w.NoData,
                                                    *controls_, w.TimerCheckComData, w.TimerSaveLog,
                                                    recorder_->globals, recorder_->errors);
    logging_->setCommands({[&w] { w.mnuComPort_Click(); }, [&w] { w.mnuExit_Click(); }});
    options_ = std::make_unique<tavrin::OptionsSettings>(services.settings, recorder_->globals, recorder_->errors,
                                                         services.decimalSeparator);
    portChoice_ = std::make_unique<tavrin::PortChoice>(
        services.port, services.probe, w.TimerCheckComData, recorder_->globals, services.ui, recorder_->errors,
        [&w, report = faultReport()](tavrin::SetupLogic& setup) {
            frmSetup dialog(setup, report, &w);
            dialog.showModal();
        },
        services.comPortNames);

    recorder_->globals.DecimalSeparator = services.decimalSeparator;
    buildAxisPanel();
    // The empty live chart needs no saving.
    recorder_->globals.Saved[0] = true;
    // Registration and the first activation.
    registry_ = std::make_unique<tavrin::InstanceRegistry>(
        tavrin::InstanceRegistry::Services{services.settings, services.files, services.ui, logChart},
        recorder_->globals, services.programFolder, services.otherCopyWasRunning);
    recorder_->globals.LogInfoSettings = services.logInfoSettings;
    startup_ = std::make_unique<tavrin::StartupSequence>(
        recorder_->globals, *registry_, services.ui, *controls_, w.TimerCheckComData,
        tavrin::StartupSequence::Start{services.otherCopyWasRunning, services.copyNumber, services.commandLine},
        w.startupHooks());

    bindDialogs();
    buildChartSlots();
    w.bindCommands();
    // No instrument until the stream is aligned; the decoder ticks from load.
    recorder_->decoder.DisableDataCollection();
    w.TimerProcess.start();
}

TavrinApplication::~TavrinApplication() {
    window_->stopTimers();
    // The axis controls' signals must not reach a panel that is gone.
    if (axisControls_) axisControls_->disconnect();
    // Nor the tab strip's reach the slots.
    if (chartTabs_) QObject::disconnect(window_->TabChart, nullptr, chartTabs_.get(), nullptr);
    chartSlots_.reset();
    axisPanel_.reset();
    portChoice_.reset();
    logging_.reset();
    startup_.reset();
    registry_.reset();
    recorder_.reset();
}

void TavrinApplication::buildAxisPanel() {
    frmMain& w = *window_;
    std::array<tavrin::AxisChart*, 5> charts{};
    std::array<QWidget*, 5> chartWidgets{};
    for (size_t i = 0; i < charts.size(); ++i) {
        charts[i] = charts_[i].get();
        chartWidgets[i] = w.Chart[i];
    }
    axisControls_ = std::make_unique<tavrin::QtAxisControls>(*w.frameScaleAxis, w.ScrollChart, chartWidgets);
    axisPanel_ = std::make_unique<tavrin::AxisPanel>(tavrin::AxisPanel::Services{
        *axisControls_, charts, recorder_->axisView, recorder_->globals, services_.ui,
        [this] { return recorder_->run.Recording(); }, [this](int16_t n) { recorder_->HandelError(n); }});
    axisControls_->bind(*axisPanel_, recorder_->errors);
    recorder_->errors.guard("Form_Load", [&] {
        axisPanel_->FillYAxisLists();
        for (int s = 0; s < 5; ++s) axisPanel_->InitSlot(s);
        // Full View at start: no scrolling, no window entry.
        for (tavrin::SlotScrollBar* bar : w.ScrollChart) bar->setEnabled(false);
        w.frameScaleAxis->txtChartTime->setEnabled(false);
    });
}

tavrin::DialogChart& TavrinApplication::currentChart() {
    const int16_t current = recorder_->globals.CurrentChart;
    return *charts_[current >= 0 && current < 5 ? static_cast<size_t>(current) : 0];
}

tavrin::FaultReport TavrinApplication::faultReport() {
    return [this](const std::string& handler, const std::string& what) { recorder_->errors.LogFault(handler, what); };
}

void TavrinApplication::releaseButton(const char* key) {
    QAction* button = window_->toolButton(QString::fromLatin1(key));
    if (button == nullptr) return;
    button->setChecked(false);
    window_->Toolsbar_ButtonClick(button);
}

void TavrinApplication::showMethodWindow() {
    frmMethod dialog(currentChart(), [this] { releaseButton("cmdMethod"); }, faultReport(), window_.get());
    methodWindow_ = &dialog;
    dialog.showModal();
}

void TavrinApplication::showNotesWindow() {
    tavrin::NotesLogic editor(currentChart(), recorder_->globals, services_.ui,
                               [this] { releaseButton("cmdNotes"); });
    frmNotes dialog(editor, faultReport(), window_.get());
    notesWindow_ = &dialog;
    dialog.showModal();
}

void TavrinApplication::showDataRecovery(const std::vector<std::string>& lines) {
    frmMain& w = *window_;
    tavrin::DataRecoveryLogic recovery(tavrin::DataRecoveryLogic::Services{
        recorder_->globals, services_.ui, *registry_, [&w] {
            // The window's Save Log, whoever provides it by then.
            if (w.commands.mnuSaveLog_Click) w.commands.mnuSaveLog_Click();
        }});
    for (const std::string& line : lines) recovery.AddItem(line, false);
    frmDataRecovery dialog(recovery, faultReport(), &w);
    dialog.showModal();
}

void TavrinApplication::bindDialogs() {
    frmMain& w = *window_;
    const auto handelError = [this](int16_t n) { recorder_->HandelError(n); };
    print_ = std::make_unique<tavrin::PrintCommand>(
        tavrin::PrintCommand::Services{services_.printer, services_.cursor, handelError});

    frmMain::Commands& c = w.commands;
    c.mnuExport_Click = [this, &w, handelError] {
        float from = 0;
        float to = 0;
        w.GetZoomedTime(from, to);
        tavrin::ExportLogic setup(
            tavrin::ExportLogic::Services{currentChart(), services_.fileDialog, services_.cursor, handelError}, from, to,
            services_.decimalSeparator);
        frmExport dialog(setup, faultReport(), &w);
        dialog.showModal();
    };
    c.mnuPrintSetup_Click = [this] { print_->mnuPrintSetup_Click(); };
    c.mnuPrint_Click = [this, &w] {
        tavrin::DialogChart& chart = currentChart();
        print_->mnuPrint_Click(chart, [this, &w, &chart] {
            tavrin::PrintLogic setup(chart, print_->Choices, [&w] {
                if (w.commands.mnuPrintSetup_Click) w.commands.mnuPrintSetup_Click();
            });
            frmPrint dialog(setup, faultReport(), &w);
            dialog.showModal();
        });
    };
    c.showMethodWindow = [this] { showMethodWindow(); };
    c.unloadMethodWindow = [this] {
        if (methodWindow_) methodWindow_->done(QDialog::Accepted);
    };
    c.showNotesWindow = [this] { showNotesWindow(); };
    c.unloadNotesWindow = [this] {
        if (notesWindow_) notesWindow_->done(QDialog::Accepted);
    };
    c.mnuLogName_Click = [this, &w] {
        tavrin::LogNameLogic entry(tavrin::LogNameLogic::Services{
            recorder_->globals, services_.ui,
            [&w](const std::string& caption) { w.setWindowTitle(pelomar::fromCodePage(caption)); },
            [this] { registry_->UpdateRegistry(); }});
        frmLogName dialog(entry, &w);
        dialog.mnuLogName_Click();
    };
    c.showDataRecovery = [this](const std::vector<std::string>& lines) { showDataRecovery(lines); };
    c.mnuAbout_Click = [this] { services_.about.exec(); };
}
