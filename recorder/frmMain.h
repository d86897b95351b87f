#pragma once

#include <QAction>
#include <QMainWindow>
#include <QScrollBar>
#include <array>
#include <memory>

#include "core/Clock.h"
#include "core/ErrorLogFile.h"
#include "core/Recorder.h"
#include "core/SerialPort.h"
#include "core/UiServices.h"
#include "pelomar/Pelomar.h"
#include "platform/ActionControls.h"
#include "platform/PelomarChart.h"
#include "platform/QtTimer.h"
#include "platform/ReceiveLed.h"

#include "core/HelpViewer.h"
#include "core/InstanceRegistry.h"
#include "core/LogControl.h"
#include "core/PosixRecorderFileSystem.h"
#include "core/StartupSequence.h"
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QToolBar>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "core/OptionsSettings.h"
#include "core/PortChoice.h"
#include "core/SettingsStore.h"
#include "dialogs/frmNoData.h"
#include "platform/PelomarBackupChart.h"

#include "FrameScaleAxis.h"
#include "core/AxisPanel.h"
#include "platform/PelomarAxisChart.h"
#include "platform/QtAxisControls.h"
#include "platform/SlotScrollBar.h"

// The recorder's main window: its seven charts, the receive LED, the Record
// and Stop items and the decoder's timers. The logic lives in the recorder
// core; this window hands it the controls and routes the events.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kCharts = 7;
    static constexpr int kLiveChart = 0;
    static constexpr int kLogChart = 5;
    static constexpr int kRebuildChart = 6;

    struct Services {
        tavrin::SerialPort* port = nullptr;  // none yet: the window waits for a link
        tavrin::UiServices& ui;
        tavrin::ErrorLogFile& errorLog;
        const tavrin::Clock& clock;
        // None: the settings stay at their defaults and nothing is saved.
        tavrin::SettingsStore* settings = nullptr;
        // The setup dialog's probe; none: the setup scans nothing.
        tavrin::SerialPort* probe = nullptr;
        char decimalSeparator = '.';

        // Start-up and shut-down.
        tavrin::HelpViewer* help = nullptr;
        // None, or no program folder: this copy never registers.
        tavrin::RecorderFileSystem* files = nullptr;
        std::string programFolder{};
        bool otherCopyWasRunning = false;
        std::optional<tavrin::SettingsStore::Pairs> logInfoSettings{};
        uint32_t copyNumber = 0;
        std::string commandLine{};
    };

    // Commands of the windows and files that other windows own; an empty one
    // does nothing.
    struct Commands {
        std::function<void()> mnuOpenData_Click, mnuOpenLog_Click, mnuClose_Click, mnuSaveData_Click,
            mnuSaveDataAs_Click, mnuSaveSlectedData_Click, mnuSaveLog_Click, mnuExport_Click,
            mnuPrintSetup_Click, mnuPrint_Click, mnuClear_Click, mnuLogName_Click, mnuAbout_Click;
        // The method and notes windows, modal; they release their button
        // and call Toolsbar_ButtonClick when they close.
        std::function<void()> showMethodWindow, unloadMethodWindow, showNotesWindow, unloadNotesWindow;
        std::function<void(const std::vector<std::string>& lines)> showDataRecovery;
        std::function<void(const std::string& FileName)> OpenChartFile;
        // Ends the program after the unload.
        std::function<void()> endProgram;
    };
    Commands commands;

    explicit frmMain(const Services& services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Public members other windows call.
    void HandelError(int16_t ErrorCode);
    void DrawChartLabel(int16_t& LabelType, bool Log);
    void GetLastBytes(int16_t& Which);

    void mnuStart_Click();
    void mnuStop_Click();

    tavrin::Recorder& recorder() { return *recorder_; }

    // Logging, settings and the COM port.
    void mnuLogOn_Click();
    void mnuLogOff_Click();
    void mnuComPort_Click();
    void mnuExit_Click();
    void LoadSettings();
    void SaveSettings();
    // The port choice of the load; false when no port is free and the
    // program must quit.
    bool ChooseComPort(bool otherCopyWasRunning);
    void OpenComPort();
    tavrin::LogControl& logging() { return *logging_; }

    // Axis ranges and time window.
    // The export's "Selected Data" range: the selected tab's view.
    void GetZoomedTime(float& ZoomedTimeFrom, float& ZoomedTimeTo) const;
    tavrin::AxisPanel& axisPanel() { return *axisPanel_; }
    tavrin::AxisViewState& axisView() { return recorder_->axisView; }
    FrameScaleAxis* frameScaleAxis = nullptr;
    std::array<tavrin::SlotScrollBar*, 5> ScrollChart{};

    // 0 live, 1..4 files (hidden for now), 5 backup log, 6 log rebuild.
    std::array<pelomar::Pelomar*, kCharts> Chart{};
    tavrin::ReceiveLed* ShapeReciveLed = nullptr;
    // ScrollChart[0]; the live bar the run control hides and shows.
    QScrollBar* ScrollChart0 = nullptr;
    QAction* mnuStart = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuComPort = nullptr;
    QAction* mnuLogOn = nullptr;
    QAction* mnuLogOff = nullptr;
    QAction* cmdRecord = nullptr;
    QAction* cmdStop = nullptr;
    QAction* cmdLogOn = nullptr;
    QAction* cmdLogOff = nullptr;
    QAction* mnuSaveLog = nullptr;
    frmNoData* NoData = nullptr;

    tavrin::QtTimer TimerProcess{700};
    tavrin::QtTimer TimerCheckComData{5000};
    tavrin::QtTimer TimerSaveLog{20000};
    tavrin::QtTimer TimerStopWaitForMethod{15000};

    // Window, menus, toolbar and help.
    bool Form_Load();
    void Form_Activate();
    void ArrangeControls();
    void Toolsbar_ButtonClick(QAction* Button);
    void mnuMethod_Click();
    void mnuNotes_Click();
    void mnuIntro_Click();
    void mnuIndex_Click();
    QAction* menuItem(const QString& name) const;
    QAction* toolButton(const QString& key) const;
    int16_t NumCharts = 0;
    tavrin::InstanceRegistry* registry() { return registry_.get(); }

    QToolBar* Toolsbar = nullptr;
    QTabBar* TabChart = nullptr;
    QFrame* frameLeds = nullptr;
    QLabel* lblRecive = nullptr;
    // The main window's help context; 0 while Help Index asks for the contents.
    int32_t HelpContextID = 1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The live chart has no resize handler of its own: once the layout has
    // placed it anew, the window redraws it at its new size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addItem(const QString& text, bool checkable = false);
    void buildWindow();
    tavrin::StartupSequence::Hooks startupHooks();
    void buildMenus();
    void buildToolbar();
    void SetHelpContexts();
    void runCommand(const std::function<void()>& command);
    void showHelpFor(int32_t context);

    Services services_;
    std::unique_ptr<tavrin::InstanceRegistry> registry_;
    std::unique_ptr<tavrin::StartupSequence> startup_;
    bool unloaded_ = false;
    // Each menu's items, by name, in menu order.
    std::vector<QAction*> menuItems_;
    // The logical tab strip, of which TabChart is the tab row.
    QRect tabRect_;
    bool snapFollowUp_ = false;

    std::unique_ptr<tavrin::PelomarChart> liveChart_;
    std::unique_ptr<tavrin::PelomarChart> logChart_;
    std::unique_ptr<tavrin::ActionControls> controls_;
    std::unique_ptr<tavrin::Recorder> recorder_;

    std::unique_ptr<tavrin::PelomarBackupChart> backupChart_;
    std::unique_ptr<tavrin::LogControl> logging_;
    std::unique_ptr<tavrin::OptionsSettings> options_;
    std::unique_ptr<tavrin::PortChoice> portChoice_;

    void connectAxisPanel(tavrin::UiServices& ui);
    std::array<std::unique_ptr<tavrin::PelomarAxisChart>, 5> axisCharts_;
    std::unique_ptr<tavrin::QtAxisControls> axisControls_;
    std::unique_ptr<tavrin::AxisPanel> axisPanel_;
};
