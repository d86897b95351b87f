#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/window/FaultReport.h"
#include "core/axis/AxisPanel.h"
#include "core/BusyCursor.h"
#include "core/tabs/ChartSlots.h"
#include "core/dialogs/DialogChart.h"
#include "core/FileDialog.h"
#include "core/dialogs/PrintCommand.h"
#include "core/dialogs/PrinterDialog.h"
#include "core/run/Clock.h"
#include "core/run/ErrorLogFile.h"
#include "core/window/HelpViewer.h"
#include "core/registry/InstanceRegistry.h"
#include "core/run/LogControl.h"
#include "core/settings/OptionsSettings.h"
#include "core/settings/PortChoice.h"
#include "core/run/Recorder.h"
#include "core/registry/RecorderFileSystem.h"
#include "core/run/SerialPort.h"
#include "core/SettingsStore.h"
#include "core/window/StartupSequence.h"
#include "core/UiServices.h"
#include "ui/ActionControls.h"
#include "ui/PelomarHost.h"
#include "ui/QtAxisControls.h"
#include "ui/QtChartTabs.h"
#include "frmMain.h"

// Builds the main window and everything its commands act on: the recorder,
// logging control, settings, port choice, registry, start-up sequence, axis
// panel, the adapters over the window's controls and the dialogs' services.
// The window only dispatches to what this object holds.
class TavrinApplication final : public frmMain::Parts {
public:
    struct Services {
        tavrin::SerialPort& port;
        tavrin::UiServices& ui;
        tavrin::ErrorLogFile& errorLog;
        const tavrin::Clock& clock;
        tavrin::SettingsStore& settings;
        // The setup dialog's probe.
        tavrin::SerialPort& probe;
        tavrin::HelpViewer& help;
        tavrin::RecorderFileSystem& files;
        tavrin::FileDialog& fileDialog;
        tavrin::PrinterDialog& printer;
        tavrin::BusyCursor& cursor;
        // The splash window, shown again as the About box.
        QDialog& about;
        char decimalSeparator = '.';

        // Start-up and shut-down. The program folder holds the copies' "Log"
        // folder.
        std::string programFolder{};
        bool otherCopyWasRunning = false;
        std::optional<tavrin::SettingsStore::Pairs> logInfoSettings{};
        uint32_t copyNumber = 0;
        std::string commandLine{};
        // What each COM is, for the setup dialog; none: no tool tips.
        tavrin::ComPortNames* comPortNames = nullptr;
    };

    explicit TavrinApplication(const Services& services);
    ~TavrinApplication();
    TavrinApplication(const TavrinApplication&) = delete;
    TavrinApplication& operator=(const TavrinApplication&) = delete;

    frmMain& window() { return *window_; }

    tavrin::Recorder& recorder() override { return *recorder_; }
    tavrin::LogControl& logging() override { return *logging_; }
    tavrin::AxisPanel& axisPanel() override { return *axisPanel_; }
    tavrin::QtAxisControls& axisControls() { return *axisControls_; }
    tavrin::MainWindowControls& controls() { return *controls_; }
    tavrin::StartupSequence& startup() override { return *startup_; }
    tavrin::OptionsSettings& options() override { return *options_; }
    tavrin::PortChoice& portChoice() override { return *portChoice_; }
    // None when this copy never registers.
    tavrin::InstanceRegistry& registry() override { return *registry_; }
    tavrin::FileDialog& fileDialog() { return services_.fileDialog; }
    tavrin::PrinterDialog& printer() { return services_.printer; }
    tavrin::BusyCursor& cursor() { return services_.cursor; }
    tavrin::PrintCommand& printing() { return *print_; }
    // The chart of the selected tab, as the dialogs use it.
    tavrin::DialogChart& currentChart();
    // The dialogs' faults go to the error log.
    tavrin::FaultReport faultReport();
    // The chart tabs' slots: open, close, clear and save.
    tavrin::ChartSlots& chartSlots() override { return *chartSlots_; }
    tavrin::SerialPort& port() override { return services_.port; }
    tavrin::HelpViewer& help() override { return services_.help; }
    bool otherCopyWasRunning() const override { return services_.otherCopyWasRunning; }

private:
    void buildAxisPanel();
    void buildChartSlots();
    void bindDialogs();
    void showMethodWindow();
    void showNotesWindow();
    void showDataRecovery(const std::vector<std::string>& lines);
    // Pops up a toolbar toggle and runs its handler, as its window does on close.
    void releaseButton(const char* key);

    Services services_;
    // Built first and destroyed last: everything below works on its controls.
    std::unique_ptr<frmMain> window_;

    // One host per chart control of the window.
    std::array<std::unique_ptr<tavrin::PelomarHost>, 7> charts_;
    std::unique_ptr<tavrin::ActionControls> controls_;
    std::unique_ptr<tavrin::Recorder> recorder_;
    std::unique_ptr<tavrin::LogControl> logging_;
    std::unique_ptr<tavrin::OptionsSettings> options_;
    std::unique_ptr<tavrin::PortChoice> portChoice_;
    std::unique_ptr<tavrin::InstanceRegistry> registry_;
    std::unique_ptr<tavrin::StartupSequence> startup_;
    std::unique_ptr<tavrin::QtAxisControls> axisControls_;
    std::unique_ptr<tavrin::AxisPanel> axisPanel_;

    std::unique_ptr<tavrin::PrintCommand> print_;
    // The method and notes windows while they are open.
    QPointer<QDialog> methodWindow_;
    QPointer<QDialog> notesWindow_;

    std::unique_ptr<tavrin::QtChartTabs> chartTabs_;
    std::unique_ptr<tavrin::QtTabCommandControls> tabCommands_;
    std::unique_ptr<tavrin::QtCaptionMeasure> captionMeasure_;
    std::unique_ptr<tavrin::ChartSlots> chartSlots_;
};
