#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/registry/DataRecoveryLogic.h"
#include "core/registry/LogInfoRecord.h"
#include "fakes/FakeChart.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeUi.h"
#include "fakes/FaultyFolders.h"

namespace fs = std::filesystem;
using namespace tavrin;
using namespace tavrin::test;

namespace {

const std::string kWarning =
    "Not all Log files have been recovered!  Log files that have not been recovered will be permanently lost.\r\n"
    "(Select 'Cancel' to recover additional Log files.)";

// Leftover logs of dead copies in a temporary program folder, and the
// recovery window over them. The Save Log command is scripted: it records
// the folder and name it was run for and saves unless told to fail.
class DataRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "recovery.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = fs::absolute(pattern);
        program = (root / "tavrin-ms").string();
        logFolder = program + "/Log";
    }
    void TearDown() override { fs::remove_all(root); }

    void leftover(const std::string& folder) {
        fs::create_directories(logFolder + "/" + folder);
        std::ofstream(logFolder + "/" + folder + "/TLog.bak") << "x";
        std::ofstream(logFolder + "/" + folder + "/DLog1.bak") << "x";
    }
    void record(const std::string& number, const std::string& value) { store.SaveSetting("LogInfo", number, value); }

    DataRecoveryLogic& open() {
        registry = std::make_unique<InstanceRegistry>(InstanceRegistry::Services{store, folders, ui, logChart},
                                                      globals, program, false);
        registry->TakeLogInfoSnapshot();
        recovery = std::make_unique<DataRecoveryLogic>(DataRecoveryLogic::Services{globals, ui, *registry, [this] {
            globals.LogSaved = true;
            saves.push_back({globals.LogPath, globals.LogName});
            if (failSaves) globals.LogSaved = false;
        }});
        recovery->onUnload = [this] { ++unloads; };
        shown = false;
        recovery->OfferRecovery([this] { shown = true; });
        return *recovery;
    }

    struct Save {
        std::string path, name;
        bool operator==(const Save&) const = default;
    };

    fs::path root;
    std::string program, logFolder;
    FakeSettingsStore store;
    FaultyFolders folders;
    FakeUi ui;
    FakeChart logChart;
    modGlobas globals;
    std::unique_ptr<InstanceRegistry> registry;
    std::unique_ptr<DataRecoveryLogic> recovery;
    std::vector<Save> saves;
    bool failSaves = false;
    bool shown = false;
    int unloads = 0;
};

}  // namespace

TEST_F(DataRecoveryTest, NoLeftoverLogsDeletesEverythingUnseen) {
    fs::create_directories(logFolder + "/12");  // no backup log in it
    record("0", "1");
    DataRecoveryLogic& r = open();
    EXPECT_FALSE(shown);
    EXPECT_TRUE(r.Unloaded);
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_TRUE(!fs::exists(logFolder) || fs::is_empty(logFolder));
    EXPECT_TRUE(store.GetAllSettings("LogInfo").empty());
}

TEST_F(DataRecoveryTest, OnlyLogSavedDeletesAllLogsAtOnceWithoutAWarning) {
    record("0", "1");
    record("1", "Line 1|1/14/2026|9:05:01 AM|100");
    leftover("100");
    DataRecoveryLogic& r = open();
    EXPECT_TRUE(shown);
    EXPECT_EQ(ui.beeps, 1);
    ASSERT_EQ(r.lstLogFiles.size(), 1u);
    EXPECT_EQ(r.lstLogFiles[0].text, FormatLogInfoLine("Line 1|1/14/2026|9:05:01 AM|100"));
    EXPECT_FALSE(r.cmdRecoverButtonEnabled);

    r.lstLogFiles_ItemCheck(0, true);
    EXPECT_TRUE(r.cmdRecoverButtonEnabled);
    r.cmdRecoverButton_Click();
    EXPECT_EQ(saves, (std::vector<Save>{{logFolder + "/100", "Line 1"}}));
    EXPECT_TRUE(r.lstLogFiles.empty());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(fs::exists(logFolder + "/100"));
    EXPECT_TRUE(store.GetAllSettings("LogInfo").empty());
}

TEST_F(DataRecoveryTest, CancelledSaveKeepsTheLineUnticked) {
    record("1", "Line 1|1/14/2026|9:05:01 AM|100");
    leftover("100");
    DataRecoveryLogic& r = open();
    failSaves = true;
    r.lstLogFiles_ItemCheck(0, true);
    r.cmdRecoverButton_Click();
    ASSERT_EQ(r.lstLogFiles.size(), 1u);
    EXPECT_FALSE(r.lstLogFiles[0].checked);
    EXPECT_EQ(r.lstLogFiles[0].itemData, 0);
    EXPECT_FALSE(r.cmdRecoverButtonEnabled);
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(fs::exists(logFolder + "/100/TLog.bak"));
    r.lstLogFiles_ItemCheck(0, true);
    r.lstLogFiles_ItemCheck(0, false);
    EXPECT_FALSE(r.cmdRecoverButtonEnabled);
}

TEST_F(DataRecoveryTest, DoneWarnsWhileLinesRemainAndOkDeletesTheRest) {
    record("0", "2");
    record("1", "Line 1|1/14/2026|9:05:01 AM|100");
    record("2", "Line 2|1/14/2026|9:07:00 AM|200");
    leftover("100");
    leftover("200");
    DataRecoveryLogic& r = open();
    ASSERT_EQ(r.lstLogFiles.size(), 2u);
    r.lstLogFiles_ItemCheck(1, true);
    r.cmdRecoverButton_Click();
    EXPECT_EQ(saves, (std::vector<Save>{{logFolder + "/200", "Line 2"}}));
    ASSERT_EQ(r.lstLogFiles.size(), 1u);
    EXPECT_EQ(r.lstLogFiles[0].text, FormatLogInfoLine("Line 1|1/14/2026|9:05:01 AM|100"));

    ui.answer = UiServices::Answer::Cancel;
    r.cmdDoneButton_Click();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, kWarning);
    EXPECT_EQ(ui.boxes[0].title, "Tavrin MS - Warning!");
    EXPECT_EQ(ui.boxes[0].buttons, UiServices::Buttons::OkCancel);
    EXPECT_EQ(ui.boxes[0].icon, UiServices::Icon::Exclamation);
    EXPECT_EQ(ui.boxes[0].defaultAnswer, UiServices::Answer::Cancel);
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(fs::exists(logFolder + "/100/TLog.bak"));

    ui.answer = UiServices::Answer::Ok;
    r.cmdDoneButton_Click();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(!fs::exists(logFolder) || fs::is_empty(logFolder));
    EXPECT_TRUE(store.GetAllSettings("LogInfo").empty());
}

TEST_F(DataRecoveryTest, ACopyStartedWhileTheWindowIsOpenKeepsItsLogsAndRecord) {
    record("0", "1");
    record("1", "Line 1|1/14/2026|9:05:01 AM|100");
    leftover("100");
    fs::create_directories(logFolder + "/150");  // a dead copy's, without backups
    DataRecoveryLogic& r = open();
    ASSERT_EQ(r.lstLogFiles.size(), 1u);

    // It sees this copy running, so it neither lists nor wipes, and counts
    // past the dead copy's number.
    modGlobas otherGlobals;
    FakeUi otherUi;
    FakeChart otherChart;
    InstanceRegistry other({store, folders, otherUi, otherChart}, otherGlobals, program, true);
    other.TakeLogInfoSnapshot();
    ASSERT_EQ(other.RegisterInstance(555, "1/15/2026", "8:00:00 AM"), 0);
    ASSERT_EQ(otherGlobals.InstanceNumber, 2);
    leftover("555");

    ui.answer = UiServices::Answer::Ok;
    r.cmdDoneButton_Click();
    EXPECT_FALSE(fs::exists(logFolder + "/100"));
    EXPECT_FALSE(fs::exists(logFolder + "/150"));
    EXPECT_TRUE(fs::exists(logFolder + "/555/TLog.bak"));
    EXPECT_EQ(store.GetAllSettings("LogInfo"),
              (SettingsStore::Pairs{{"0", "2"}, {"2", "Default|1/15/2026|8:00:00 AM|555"}}));

    // This copy then registers under a number of its own.
    ASSERT_EQ(registry->RegisterInstance(600, "1/15/2026", "8:00:05 AM"), 0);
    EXPECT_EQ(globals.InstanceNumber, 3);
    EXPECT_TRUE(otherUi.boxes.empty());
    EXPECT_EQ(ui.boxes.size(), 1u);  // the warning only
}

TEST_F(DataRecoveryTest, UnregisteredFolderIsOfferedUnderItsNumberWithoutALogInfoSection) {
    leftover("417");
    DataRecoveryLogic& r = open();
    ASSERT_EQ(r.lstLogFiles.size(), 1u);
    EXPECT_EQ(r.lstLogFiles[0].text, "  Unknown Log File 417");
    r.lstLogFiles_ItemCheck(0, true);
    r.cmdRecoverButton_Click();
    EXPECT_EQ(saves, (std::vector<Save>{{logFolder + "/417", "417"}}));
    EXPECT_EQ(unloads, 1);
}

TEST_F(DataRecoveryTest, SameLineTwiceSavesEachFolderOnce) {
    // Two dead copies under one name, started in the same second.
    record("1", "Line 1|1/14/2026|9:05:01 AM|100");
    record("2", "Line 1|1/14/2026|9:05:01 AM|101");
    leftover("100");
    leftover("101");
    DataRecoveryLogic& r = open();
    ASSERT_EQ(r.lstLogFiles.size(), 2u);
    r.lstLogFiles_ItemCheck(0, true);
    r.lstLogFiles_ItemCheck(1, true);
    r.cmdRecoverButton_Click();
    EXPECT_EQ(saves, (std::vector<Save>{{logFolder + "/100", "Line 1"}, {logFolder + "/101", "Line 1"}}));
    EXPECT_EQ(unloads, 1);
}
