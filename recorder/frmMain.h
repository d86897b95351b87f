#pragma once

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>
#include <QToolBar>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/FrameScaleAxis.h"
#include "core/axis/AxisPanel.h"
#include "core/tabs/ChartSlots.h"
#include "core/window/HelpViewer.h"
#include "core/registry/InstanceRegistry.h"
#include "core/run/LogControl.h"
#include "core/settings/OptionsSettings.h"
#include "core/settings/PortChoice.h"
#include "core/run/Recorder.h"
#include "core/run/SerialPort.h"
#include "core/window/StartupSequence.h"
#include "dialogs/frmNoData.h"
#include "pelomar/Pelomar.h"
#include "platform/QtTimer.h"
#include "ui/ReceiveLed.h"
#include "ui/SlotScrollBar.h"

// The recorder's main window: its seven charts, the receive LED, the menus,
// toolbar, tabs, axis frame and the decoder's timers. The logic lives in the
// recorder core, built by the application; this window routes the events.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kCharts = 7;
    static constexpr int kLiveChart = 0;
    static constexpr int kLogChart = 5;
    static constexpr int kRebuildChart = 6;

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

    // What the window's events act on. The application builds it once the
    // window's controls are there, and keeps it while the window lives.
    class Parts {
    public:
        virtual tavrin::Recorder& recorder() = 0;
        virtual tavrin::LogControl& logging() = 0;
        virtual tavrin::AxisPanel& axisPanel() = 0;
        virtual tavrin::OptionsSettings& options() = 0;
        virtual tavrin::PortChoice& portChoice() = 0;
        virtual tavrin::InstanceRegistry& registry() = 0;
        virtual tavrin::StartupSequence& startup() = 0;
        virtual tavrin::ChartSlots& chartSlots() = 0;
        virtual tavrin::SerialPort& port() = 0;
        virtual tavrin::HelpViewer& help() = 0;
        virtual bool otherCopyWasRunning() const = 0;

    protected:
        ~Parts() = default;
    };

    // Builds the window's controls; `app` builds what they drive and binds
    // the window's commands once it has.
    explicit frmMain(Parts& app, QWidget* parent = nullptr);
    ~frmMain() override;
    void bindCommands();
    void stopTimers();
    tavrin::StartupSequence::Hooks startupHooks();

    // Public members other windows call.
    void HandelError(int16_t ErrorCode);
    void DrawChartLabel(int16_t& LabelType, bool Log);
    void GetLastBytes(int16_t& Which);

    void mnuStart_Click();
    void mnuStop_Click();

    tavrin::Recorder& recorder() { return app_.recorder(); }

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
    tavrin::LogControl& logging() { return app_.logging(); }

    // Axis ranges and time window.
    // The export's "Selected Data" range: the selected tab's view.
    void GetZoomedTime(float& ZoomedTimeFrom, float& ZoomedTimeTo) const;
    tavrin::AxisPanel& axisPanel() { return app_.axisPanel(); }
    tavrin::AxisViewState& axisView() { return app_.recorder().axisView; }
    FrameScaleAxis* frameScaleAxis = nullptr;
    std::array<tavrin::SlotScrollBar*, 5> ScrollChart{};

    // 0 live, 1..4 files (the selected tab's shows), 5 backup log, 6 log rebuild.
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
    tavrin::InstanceRegistry& registry() { return app_.registry(); }

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
    void buildMenus();
    void buildToolbar();
    QIcon toolbarIcon(QStyle::StandardPixmap which) const;
    void SetHelpContexts();
    void runCommand(const std::function<void()>& command);
    // A slot's or event's outermost frame: see ErrorReporter::guard.
    template <typename Body>
    void guard(const char* handler, Body&& body) noexcept {
        recorder().errors.guard(handler, body);
    }
    void showHelpFor(int32_t context);
    // The window no larger than its screen's free area, its frame included
    // as far as it is known yet.
    QSize fittedToScreen(QSize size) const;

    Parts& app_;
    bool unloaded_ = false;
    // Each menu's items, by name, in menu order.
    std::vector<QAction*> menuItems_;
    // The logical tab strip, of which TabChart is the tab row.
    QRect tabRect_;
    bool snapFollowUp_ = false;
    bool shownBefore_ = false;
};
