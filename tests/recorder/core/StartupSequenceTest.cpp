#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/registry/InstanceRegistry.h"
#include "core/window/StartupSequence.h"
#include "fakes/FakeChart.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeTimer.h"
#include "fakes/FakeUi.h"
#include "fakes/FaultyFolders.h"

namespace fs = std::filesystem;
using namespace tavrin;
using namespace tavrin::test;
using Answer = UiServices::Answer;

namespace {

const std::string kSaveLogQuestion = "Do you want to save the LOG file before exiting ";
const std::string kNotSavedQuestion = "Chart Recorder Data or opened Data is not saved.\rExit without save?";

void backupLogsIn(const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "TLog.bak") << "x";
    std::ofstream(folder / "DLog1.bak") << "x";
}

// One copy's start and stop over the store and folders all copies share;
// the hooks record what they were asked to do, in order.
struct Copy {
    Copy(FakeSettingsStore& store, FaultyFolders& folders, const std::string& program, bool otherRunning,
         uint32_t number, std::string commandLine = {})
        : timerCheckComData(scheduler, 5000),
          registry({store, folders, ui, logChart}, globals, program, otherRunning) {
        registry.TakeLogInfoSnapshot();
        StartupSequence::Hooks h;
        h.showDataRecovery = [this](const std::vector<std::string>& lines) {
            calls.push_back("recovery");
            recoveryLines = lines;
        };
        h.mnuLogName_Click = [this] {
            calls.push_back("name");
            globals.LogName = enteredName;
        };
        h.OpenChartFile = [this](const std::string& f) { calls.push_back("open " + f); };
        h.mnuSaveLog_Click = [this] { calls.push_back("save log"); };
        h.saveLogEnabled = [this] { return saveLogEnabled; };
        h.SaveSettings = [this] { calls.push_back("settings"); };
        h.setCaption = [this](const std::string& c) { caption = c; };
        h.dateText = [] { return std::string("1/14/2026"); };
        h.timeText = [] { return std::string("9:05:01 AM"); };
        sequence = std::make_unique<StartupSequence>(
            globals, registry, ui, controls, timerCheckComData,
            StartupSequence::Start{otherRunning, number, std::move(commandLine)}, h);
        globals.Saved[0] = true;
    }

    modGlobas globals;
    FakeUi ui;
    FakeChart logChart;
    FakeControls controls;
    FakeScheduler scheduler;
    FakeTimer timerCheckComData;
    InstanceRegistry registry;
    std::unique_ptr<StartupSequence> sequence;
    std::vector<std::string> calls;
    std::vector<std::string> recoveryLines;
    std::string caption;
    std::string enteredName = "Kado 1";
    bool saveLogEnabled = false;
};

class StartupSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "startup.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = fs::absolute(pattern);
        program = (root / "tavrin-ms").string();
        logFolder = program + "/Log";
    }
    void TearDown() override { fs::remove_all(root); }

    Copy& start(bool otherRunning, uint32_t number, std::string commandLine = {}) {
        copies.push_back(std::make_unique<Copy>(store, folders, program, otherRunning, number, std::move(commandLine)));
        return *copies.back();
    }

    fs::path root;
    std::string program;
    std::string logFolder;
    FakeSettingsStore store;
    FaultyFolders folders;
    std::vector<std::unique_ptr<Copy>> copies;
};

}  // namespace

TEST_F(StartupSequenceTest, FirstActivationRegistersNamesAndStartsTheWatchdogOnce) {
    Copy& c = start(false, 4321, "/data/run 1.chd");
    c.globals.LogOn = false;
    c.sequence->Form_Activate();

    EXPECT_EQ(c.controls.pressed, MainWindowControls::Item::cmdLogOff);
    EXPECT_EQ(c.globals.InstanceNumber, 1);
    EXPECT_EQ(c.globals.LogFolderName, "4321");
    EXPECT_EQ(c.globals.LogPath, logFolder + "/4321/");
    EXPECT_TRUE(fs::is_directory(logFolder + "/4321"));
    EXPECT_EQ(store.GetSetting("LogInfo", "1", ""), "Default|1/14/2026|9:05:01 AM|4321");
    // The file opens after the name is entered, and the title shows the name.
    EXPECT_EQ(c.calls, (std::vector<std::string>{"name", "open /data/run 1.chd"}));
    EXPECT_EQ(c.caption, "Tavrin MS - System: Kado 1");
    EXPECT_TRUE(c.timerCheckComData.isActive());

    c.sequence->Form_Activate();
    EXPECT_EQ(c.calls.size(), 2u);
    EXPECT_EQ(store.GetSetting("LogInfo", "0", ""), "1");
}

TEST_F(StartupSequenceTest, WithNoLeftoversTheLogFolderAndSectionAreClearedWithoutTheDialog) {
    // A dead copy's record whose folder holds no backup logs.
    store.SaveSetting("LogInfo", "0", "1");
    store.SaveSetting("LogInfo", "1", "Old|1/1/2026|8:00:00 AM|77");
    fs::create_directories(logFolder + "/77");
    Copy& c = start(false, 5000);
    c.sequence->Form_Activate();

    EXPECT_EQ(std::count(c.calls.begin(), c.calls.end(), "recovery"), 0);
    EXPECT_EQ(c.ui.beeps, 0);
    EXPECT_FALSE(fs::exists(logFolder + "/77"));
    // The section went, so this copy counts from 1 again.
    EXPECT_EQ(c.globals.InstanceNumber, 1);
    EXPECT_EQ(store.GetSetting("LogInfo", "1", ""), "Default|1/14/2026|9:05:01 AM|5000");
}

TEST_F(StartupSequenceTest, LeftoverLogsAreOfferedWithABeepAndLeftToTheDialog) {
    store.SaveSetting("LogInfo", "0", "1");
    store.SaveSetting("LogInfo", "1", "Old|1/1/2026|8:00:00 AM|77");
    backupLogsIn(logFolder + "/77");
    backupLogsIn(logFolder + "/88");
    Copy& c = start(false, 5000);
    c.sequence->Form_Activate();
    EXPECT_EQ(c.ui.beeps, 1);
    ASSERT_EQ(c.recoveryLines.size(), 2u);
    EXPECT_EQ(c.recoveryLines[1], "  Unknown Log File 88");
    EXPECT_EQ(c.calls.front(), "recovery");
    // The dialog decides what goes; the activation itself wipes nothing.
    EXPECT_TRUE(fs::exists(logFolder + "/77/TLog.bak"));
    EXPECT_TRUE(fs::exists(logFolder + "/88/TLog.bak"));
}

TEST_F(StartupSequenceTest, ASecondCopySkipsRecoveryAndLeavesTheFirstCopysLogsAlone) {
    Copy& first = start(false, 100);
    first.sequence->Form_Activate();
    backupLogsIn(logFolder + "/100");
    backupLogsIn(logFolder + "/99");  // a dead copy's, kept for a later start

    Copy& second = start(true, 200);
    second.sequence->Form_Activate();
    EXPECT_TRUE(second.recoveryLines.empty());
    EXPECT_TRUE(second.ui.boxes.empty());
    EXPECT_TRUE(fs::exists(logFolder + "/100/TLog.bak"));
    EXPECT_TRUE(fs::exists(logFolder + "/99/TLog.bak"));
    EXPECT_EQ(second.globals.InstanceNumber, 2);
    EXPECT_EQ(second.globals.LogPath, logFolder + "/200/");
}

TEST_F(StartupSequenceTest, RefusingToExitUnsavedKeepsRegistrationAndFolder) {
    Copy& c = start(false, 300);
    c.sequence->Form_Activate();
    c.globals.Saved[0] = false;
    c.ui.answer = Answer::No;

    EXPECT_TRUE(c.sequence->Form_Unload(1));
    ASSERT_EQ(c.ui.boxes.size(), 1u);
    EXPECT_EQ(c.ui.boxes[0].text, kNotSavedQuestion);
    EXPECT_EQ(c.ui.boxes[0].title, "Data is not saved");
    EXPECT_EQ(c.ui.boxes[0].buttons, UiServices::Buttons::YesNo);
    EXPECT_EQ(c.ui.boxes[0].icon, UiServices::Icon::Question);
    EXPECT_EQ(c.ui.boxes[0].defaultAnswer, Answer::No);
    EXPECT_TRUE(fs::is_directory(logFolder + "/300"));
    EXPECT_EQ(store.GetSetting("LogInfo", "1", "gone"), "Default|1/14/2026|9:05:01 AM|300");
    EXPECT_EQ(std::count(c.calls.begin(), c.calls.end(), "settings"), 0);
    EXPECT_TRUE(c.timerCheckComData.isActive());
}

TEST_F(StartupSequenceTest, ShutDownOffersTheLogAndRemovesLogsFolderAndRecord) {
    Copy& c = start(false, 400);
    c.sequence->Form_Activate();
    backupLogsIn(logFolder + "/400");
    c.saveLogEnabled = true;
    c.ui.answer = Answer::Yes;

    EXPECT_FALSE(c.sequence->Form_Unload(1));
    ASSERT_EQ(c.ui.boxes.size(), 1u);  // everything saved: only the log question
    EXPECT_EQ(c.ui.boxes[0].text, kSaveLogQuestion);
    EXPECT_EQ(c.ui.boxes[0].title, "Tavrin MS");
    EXPECT_EQ(c.calls, (std::vector<std::string>{"name", "save log", "settings"}));
    EXPECT_FALSE(fs::exists(logFolder + "/400"));
    EXPECT_EQ(store.GetSetting("LogInfo", "1", "gone"), "gone");
    EXPECT_EQ(store.GetSetting("LogInfo", "0", ""), "0");
}

TEST_F(StartupSequenceTest, OnlyTheFirstCopySavesSettings) {
    Copy& first = start(false, 1);
    first.sequence->Form_Activate();
    Copy& second = start(true, 2);
    second.sequence->Form_Activate();
    ASSERT_EQ(second.globals.InstanceNumber, 2);

    EXPECT_FALSE(second.sequence->Form_Unload(1));
    EXPECT_EQ(std::count(second.calls.begin(), second.calls.end(), "settings"), 0);
    EXPECT_FALSE(first.sequence->Form_Unload(1));
    EXPECT_EQ(std::count(first.calls.begin(), first.calls.end(), "settings"), 1);
}

TEST_F(StartupSequenceTest, ACopyThatNeverActivatedLeavesSectionAndFoldersAlone) {
    store.SaveSetting("LogInfo", "0", "1");
    store.SaveSetting("LogInfo", "1", "Other|1/1/2026|8:00:00 AM|77");
    backupLogsIn(logFolder + "/77");
    Copy& c = start(false, 500);

    EXPECT_FALSE(c.sequence->Form_Unload(0));
    EXPECT_TRUE(c.ui.boxes.empty());
    EXPECT_TRUE(c.calls.empty());
    EXPECT_EQ(store.GetSetting("LogInfo", "0", ""), "1");
    EXPECT_TRUE(fs::exists(logFolder + "/77/TLog.bak"));
}

TEST_F(StartupSequenceTest, ACopyStartingAloneAfterACrashIsNumberOneAgain) {
    start(false, 100).sequence->Form_Activate();
    backupLogsIn(logFolder + "/100");
    // The crash: no shut-down; the system drops what the copy held.
    copies.back().reset();

    // The window offers the leftovers and is closed without Done.
    Copy& next = start(false, 200);
    next.sequence->Form_Activate();
    ASSERT_EQ(next.recoveryLines.size(), 1u);
    EXPECT_EQ(next.globals.InstanceNumber, 1);
    EXPECT_TRUE(next.ui.boxes.empty());
    EXPECT_EQ(store.GetAllSettings("LogInfo"),
              (SettingsStore::Pairs{{"0", "1"}, {"1", "Default|1/14/2026|9:05:01 AM|200"}}));
    EXPECT_TRUE(fs::exists(logFolder + "/100/TLog.bak"));
    EXPECT_FALSE(next.sequence->Form_Unload(1));
    EXPECT_EQ(std::count(next.calls.begin(), next.calls.end(), "settings"), 1);

    // The logs are still offered, now under their folder's number.
    Copy& third = start(false, 300);
    third.sequence->Form_Activate();
    EXPECT_EQ(third.recoveryLines, std::vector<std::string>{"  Unknown Log File 100"});
    EXPECT_EQ(third.globals.InstanceNumber, 1);
}
