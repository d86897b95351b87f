#include <gtest/gtest.h>

#include "core/ErrorCodes.h"
#include "core/run/LogControl.h"
#include "common/RuntimeErrors.h"
#include "fakes/FakeBackupChart.h"
#include "fakes/FakeNoDataDialog.h"
#include "fakes/RecorderRig.h"

namespace tavrin::test {
namespace {

using Item = MainWindowControls::Item;
using Choice = NoDataDialog::Choice;

// The recorder rig of a registered copy with the watchdog and backup wired in.
class LogControlTest : public ::testing::Test {
protected:
    LogControlTest() {
        rig.globals().InstanceNumber = 1;
        rig.globals().LogPath = "/logs/1/";
        rig.globals().DataFileSizeHours = 24.0;
        logging.setCommands({[this] { ++comPortClicks; }, [this] { ++exitClicks; }});
    }

    // The instrument sends one point every decoder interval for ms.
    void stream(int64_t ms) {
        for (int64_t t = 0; t < ms; t += rig.TimerProcess.intervalMs()) {
            rig.receive(point());
            rig.tick();
        }
    }

    RecorderRig rig;
    FakeBackupChart backup;
    FakeNoDataDialog noData;
    LogControl logging{rig.decoder(), rig.run(),     backup, noData, rig.controls,
                       rig.TimerCheckComData, rig.TimerSaveLog, rig.globals(), rig.rec->errors};
    int comPortClicks = 0;
    int exitClicks = 0;
};

TEST_F(LogControlTest, SilentInstrumentTripsTheWatchdogOnceWithinTenSeconds) {
    rig.globals().LogOn = true;
    rig.align();
    rig.run().mnuStart_Click();
    stream(3000);
    ASSERT_TRUE(rig.TimerSaveLog.isActive());

    rig.scheduler.advance(4900);
    EXPECT_EQ(noData.shown, 0) << "one silent interval may have been partly fed";
    rig.scheduler.advance(5100);
    EXPECT_EQ(noData.shown, 1);
    EXPECT_FALSE(rig.run().Recording());
    EXPECT_FALSE(rig.TimerSaveLog.isActive());
    EXPECT_FALSE(rig.TimerCheckComData.isActive());
    EXPECT_FALSE(rig.globals().InSync);
    EXPECT_EQ(rig.controls.ledColor, 0);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuStart), 0);

    rig.scheduler.advance(60000);
    EXPECT_EQ(noData.shown, 1) << "the watchdog stays off until alignment";
}

TEST_F(LogControlTest, AnySteadyActivityKeepsTheLinkAlive) {
    rig.align();
    stream(30000);
    EXPECT_EQ(noData.shown, 0);
    // Line events with no data are receive events too.
    for (int i = 0; i < 30; ++i) {
        rig.port.raise(code::kEvDsr);
        rig.scheduler.advance(1000);
    }
    EXPECT_EQ(noData.shown, 0);
    EXPECT_TRUE(rig.TimerCheckComData.isActive());
}

TEST_F(LogControlTest, NoDataButtonsRunTheirCommands) {
    struct Case {
        Choice choice;
        int comPort;
        int exit;
    };
    for (const Case c : {Case{Choice::Ok, 0, 0}, Case{Choice::Setup, 1, 0}, Case{Choice::Exit, 0, 1}}) {
        comPortClicks = exitClicks = 0;
        noData.choice = c.choice;
        rig.align();
        rig.scheduler.advance(10000);
        EXPECT_EQ(comPortClicks, c.comPort);
        EXPECT_EQ(exitClicks, c.exit);
    }
    EXPECT_EQ(noData.shown, 3);
}

TEST_F(LogControlTest, NoDataDialogIsNotShownAgainWhileOpen) {
    rig.align();
    noData.whileOpen = [this] {
        EXPECT_TRUE(logging.NoDataShowing);
        // The link comes back and falls silent again behind the dialog.
        rig.receive(point());
        rig.decoder().ProcessComData();
        ASSERT_TRUE(rig.TimerCheckComData.isActive());
        logging.TimerCheckComData_Timer();
        logging.TimerCheckComData_Timer();
    };
    rig.scheduler.advance(10000);
    EXPECT_EQ(noData.shown, 1);
    EXPECT_FALSE(logging.NoDataShowing);

    noData.whileOpen = nullptr;
    rig.align();
    rig.scheduler.advance(10000);
    EXPECT_EQ(noData.shown, 2) << "a later silence is reported again";
}

TEST_F(LogControlTest, BackupTickHandsTheLogChartThisCopysFolderAndLimits) {
    rig.globals().LogOn = true;
    rig.globals().DataFileSizeHours = 1.5;
    rig.align();
    stream(20000);
    ASSERT_EQ(backup.calls.size(), 1u);
    EXPECT_EQ(backup.calls[0].LogPath, "/logs/1/");
    EXPECT_EQ(backup.calls[0].InstanceNumber, 1);
    EXPECT_EQ(backup.calls[0].BackUpIntervalmSec, 20000);
    EXPECT_EQ(backup.calls[0].LimitTimeHour, 1.5);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuSaveLog), 1);
}

TEST_F(LogControlTest, FailedBackupIsReportedAndLeavesSaveLogAsItWas) {
    rig.globals().LogOn = true;
    backup.result = static_cast<int16_t>(pelomar::core::err::kDiskFull);
    rig.align();
    rig.run().mnuStart_Click();
    stream(20000);
    ASSERT_EQ(backup.calls.size(), 1u);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuSaveLog), -1);
    EXPECT_NE(rig.errorLog.text.find(pelomar::core::errorText(pelomar::core::err::kDiskFull)),
              std::string::npos);
    EXPECT_TRUE(rig.run().Recording()) << "a failing backup must not stop the run";
    EXPECT_TRUE(rig.TimerSaveLog.isActive());
    stream(20000);
    EXPECT_EQ(backup.calls.size(), 2u) << "the next tick tries again";
}

TEST_F(LogControlTest, BackupWaitsUntilTheCopyHasRegistered) {
    rig.globals().InstanceNumber = 0;
    rig.globals().LogPath.clear();
    rig.globals().LogOn = true;
    rig.align();
    stream(40000);
    EXPECT_TRUE(backup.calls.empty());
    EXPECT_GT(rig.log.points(), 0) << "the points wait in the log chart";
}

TEST_F(LogControlTest, LogOnWithoutDataChangesOnlyTheMenus) {
    logging.mnuLogOn_Click();
    EXPECT_TRUE(rig.globals().LogOn);
    EXPECT_EQ(rig.controls.pressed, Item::cmdLogOn);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuLogOn), 0);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuLogOff), 1);
    EXPECT_FALSE(rig.TimerSaveLog.isActive());

    rig.align();
    EXPECT_TRUE(rig.TimerSaveLog.isActive());
}

TEST_F(LogControlTest, LogOnWhileAlignedStartsTheBackupAndANewLogRun) {
    rig.align();
    // With logging off and no status blocks: a run with four marks, its end,
    // a 'U' block and a pause, all still queued on the log side.
    rig.receive(cat({ev(4), ev(4), point('V'), repeat(cat({ev(2), point('V')}), 4), ev(3),
                     uv('U', 0.f), runStatus(2)}));
    rig.tick();
    ASSERT_EQ(rig.run().EventCount(), 4);
    ASSERT_EQ(rig.run().LogEventCount(), 0);
    ASSERT_EQ(rig.run().LogPendingLabel(), RunControl::kPause);
    ASSERT_TRUE(rig.run().LogEndPending());
    ASSERT_TRUE(rig.run().LogPausePending());
    // Just after a watchdog tick: aligned, but no receive event yet.
    rig.decoder().DataSeen = false;
    logging.mnuLogOn_Click();
    EXPECT_TRUE(rig.TimerSaveLog.isActive());
    EXPECT_EQ(rig.run().LogEventCount(), 4);
    EXPECT_EQ(rig.run().LogPendingLabel(), RunControl::kNone);
    EXPECT_FALSE(rig.run().LogEndPending());
    EXPECT_FALSE(rig.run().LogPausePending());
}

TEST_F(LogControlTest, LogOffStopsTheBackup) {
    rig.globals().LogOn = true;
    rig.align();
    ASSERT_TRUE(rig.TimerSaveLog.isActive());
    logging.mnuLogOff_Click();
    EXPECT_FALSE(rig.globals().LogOn);
    EXPECT_FALSE(rig.TimerSaveLog.isActive());
    EXPECT_EQ(rig.controls.pressed, Item::cmdLogOff);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuLogOn), 1);
    EXPECT_EQ(rig.controls.isEnabled(Item::mnuLogOff), 0);
    stream(40000);
    EXPECT_TRUE(backup.calls.empty());
}

}  // namespace
}  // namespace tavrin::test
