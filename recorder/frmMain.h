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
    };

    explicit frmMain(const Services& services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Public members other windows call.
    void HandelError(int16_t ErrorCode);
    void DrawChartLabel(int16_t& LabelType, bool Log);
    void GetLastBytes(int16_t& Which);

    void mnuStart_Click();
    void mnuStop_Click();

    tavrin::Recorder& recorder() { return *recorder_; }

    // 0 live, 1..4 files (hidden for now), 5 backup log, 6 log rebuild.
    std::array<pelomar::Pelomar*, kCharts> Chart{};
    tavrin::ReceiveLed* ShapeReciveLed = nullptr;
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

    tavrin::QtTimer TimerProcess{700};
    tavrin::QtTimer TimerCheckComData{5000};
    tavrin::QtTimer TimerSaveLog{20000};
    tavrin::QtTimer TimerStopWaitForMethod{15000};

protected:
    // The live chart has no resize handler of its own: once the layout has
    // placed it anew, the window redraws it at its new size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addItem(const QString& text, bool checkable = false);

    std::unique_ptr<tavrin::PelomarChart> liveChart_;
    std::unique_ptr<tavrin::PelomarChart> logChart_;
    std::unique_ptr<tavrin::ActionControls> controls_;
    std::unique_ptr<tavrin::Recorder> recorder_;
};
