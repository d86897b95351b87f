#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/registry/InstanceRegistry.h"
#include "core/registry/LogInfoRecord.h"
#include "common/RuntimeErrors.h"
#include "fakes/FakeChart.h"
#include "fakes/FakeLogFileList.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeUi.h"
#include "fakes/FaultyFolders.h"

namespace fs = std::filesystem;
using namespace tavrin;
using namespace tavrin::test;

namespace {

const std::string kOverwritten =
    "Existing Registry entry will be overwritten, improved functionality to come later!";

void touch(const fs::path& file) { std::ofstream(file) << "x"; }

// A folder as a copy's backup call leaves it.
void backupLogsIn(const fs::path& folder) {
    fs::create_directories(folder);
    touch(folder / "TLog.bak");
    touch(folder / "DLog1.bak");
}

// One copy of the program: its globals, its log chart and its registry, over
// the store and the folders that all copies share.
struct Copy {
    Copy(FakeSettingsStore& store, FaultyFolders& folders, const std::string& program, bool otherRunning)
        : registry({store, folders, ui, logChart}, globals, program, otherRunning) {}
    modGlobas globals;
    FakeUi ui;
    FakeChart logChart;
    InstanceRegistry registry;
};

class InstanceRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "registry.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = fs::absolute(pattern);
        program = (root / "data" / "tavrin-ms").string();
        logFolder = program + "/Log";
    }
    void TearDown() override { fs::remove_all(root); }

    // A copy started now; otherRunning as the start-up snapshot found it.
    Copy& start(bool otherRunning = false) {
        copies.push_back(std::make_unique<Copy>(store, folders, program, otherRunning));
        copies.back()->registry.TakeLogInfoSnapshot();
        return *copies.back();
    }
    Copy& startAndRegister(uint32_t window, bool otherRunning = false) {
        Copy& c = start(otherRunning);
        EXPECT_EQ(c.registry.RegisterInstance(window, "1/14/2026", "9:05:01 AM"), 0);
        return c;
    }
    std::string logInfo(const std::string& name, const std::string& missing = "<none>") const {
        return store.GetSetting("LogInfo", name, missing);
    }
    std::vector<std::string> boxTexts(const Copy& c) const {
        std::vector<std::string> texts;
        for (const auto& box : c.ui.boxes) texts.push_back(box.text);
        return texts;
    }

    fs::path root;
    std::string program, logFolder;
    FakeSettingsStore store;
    FaultyFolders folders;
    std::vector<std::unique_ptr<Copy>> copies;
};

TEST_F(InstanceRegistryTest, FirstStartRegistersNumberOneWithItsFolder) {
    Copy& c = start();
    EXPECT_FALSE(c.globals.LogInfoSettings.has_value());
    ASSERT_EQ(c.registry.RegisterInstance(4711, "1/14/2026", "9:05:01 AM"), 0);

    EXPECT_EQ(c.globals.InstanceNumber, 1);
    EXPECT_EQ(c.globals.LogFolderName, "4711");
    EXPECT_EQ(c.globals.LogPath, logFolder + "/4711/");
    EXPECT_TRUE(fs::is_directory(logFolder + "/4711"));
    EXPECT_EQ(store.GetAllSettings("LogInfo"),
              (SettingsStore::Pairs{{"0", "1"}, {"1", "Default|1/14/2026|9:05:01 AM|4711"}}));
    EXPECT_TRUE(c.ui.boxes.empty());

    c.globals.LogName = "Line 3";
    c.registry.UpdateRegistry();
    EXPECT_EQ(logInfo("1"), "Line 3|1/14/2026|9:05:01 AM|4711");
}

TEST_F(InstanceRegistryTest, TwoCopiesEndingNormallyLeaveOnlyTheLogFolder) {
    Copy& first = startAndRegister(100);
    Copy& second = startAndRegister(200, true);
    EXPECT_EQ(first.globals.InstanceNumber, 1);
    EXPECT_EQ(second.globals.InstanceNumber, 2);
    EXPECT_EQ(logInfo("0"), "2");
    backupLogsIn(logFolder + "/100");

    first.registry.UnregisterInstance();
    second.registry.UnregisterInstance();

    EXPECT_EQ(store.GetAllSettings("LogInfo"), (SettingsStore::Pairs{{"0", "0"}}));
    EXPECT_FALSE(fs::exists(logFolder + "/100"));
    EXPECT_FALSE(fs::exists(logFolder + "/200"));
    EXPECT_TRUE(fs::is_directory(logFolder));
    EXPECT_EQ(first.logChart.clearLog2Calls, std::vector<std::string>{logFolder + "/100/"});
    EXPECT_EQ(first.globals.LogPath, logFolder + "/100");
    EXPECT_TRUE(first.ui.boxes.empty());
    EXPECT_TRUE(second.ui.boxes.empty());
}

TEST_F(InstanceRegistryTest, ThirdCopyAfterTheFirstEndedTakesOverNumberTwo) {
    Copy& first = startAndRegister(100);
    Copy& second = startAndRegister(200, true);
    first.registry.UnregisterInstance();
    EXPECT_EQ(logInfo("0"), "1");

    Copy& third = startAndRegister(300, true);
    EXPECT_EQ(third.globals.InstanceNumber, 2);
    EXPECT_EQ(boxTexts(third), std::vector<std::string>{kOverwritten});
    EXPECT_EQ(third.ui.boxes[0].title, "Tavrin MS");
    EXPECT_EQ(third.ui.boxes[0].buttons, UiServices::Buttons::Ok);
    EXPECT_EQ(logInfo("2"), "Default|1/14/2026|9:05:01 AM|300");

    // The second to end finds the shared record gone and leaves the counter.
    second.registry.UnregisterInstance();
    third.registry.UnregisterInstance();
    EXPECT_EQ(boxTexts(third),
              (std::vector<std::string>{kOverwritten,
                                        "Error in RemoveRegistryEntry!  5Invalid procedure call or argument"}));
    EXPECT_EQ(logInfo("0"), "1");
    EXPECT_FALSE(fs::exists(logFolder + "/200"));
    EXPECT_FALSE(fs::exists(logFolder + "/300"));
}

TEST_F(InstanceRegistryTest, ATakenFolderNameIsNeverShared) {
    // A dead copy's folder under the same number keeps its logs untouched.
    backupLogsIn(logFolder + "/500");
    Copy& c = startAndRegister(500, true);
    EXPECT_EQ(c.globals.LogFolderName, "501");
    EXPECT_EQ(c.globals.LogPath, logFolder + "/501/");
    EXPECT_EQ(logInfo("1"), "Default|1/14/2026|9:05:01 AM|501");

    c.registry.UnregisterInstance();
    EXPECT_TRUE(fs::exists(logFolder + "/500/DLog1.bak"));
    EXPECT_FALSE(fs::exists(logFolder + "/501"));

    // The largest number wraps round rather than overflowing the name.
    fs::create_directories(logFolder + "/4294967295");
    Copy& wrapped = startAndRegister(4294967295u, true);
    EXPECT_EQ(wrapped.globals.LogFolderName, "0");
}

TEST_F(InstanceRegistryTest, FolderThatCannotBeMadeIsReportedAndTheCopyStillRegisters) {
    folders.failCreate[logFolder + "/42"] = pelomar::core::err::kPermissionDenied;
    Copy& c = start();
    EXPECT_EQ(c.registry.RegisterInstance(42, "d", "t"), pelomar::core::err::kPermissionDenied);
    EXPECT_EQ(c.globals.LogPath, logFolder + "/42/");
    EXPECT_EQ(c.globals.InstanceNumber, 1);
    EXPECT_EQ(logInfo("1"), "Default|d|t|42");
}

TEST_F(InstanceRegistryTest, CounterAtTheLargestIntegerFailsBeforeWritingAnything) {
    store.SaveSetting("LogInfo", "0", "32767");
    Copy& c = start();
    c.registry.RegisterInstance(7, "d", "t");
    EXPECT_EQ(c.globals.InstanceNumber, 0);
    EXPECT_EQ(boxTexts(c), std::vector<std::string>{"Error in AddInstance!  6Overflow"});
    EXPECT_EQ(store.GetAllSettings("LogInfo"), (SettingsStore::Pairs{{"0", "32767"}}));

    // Unregistered, its shut-down touches neither record nor counter.
    c.registry.UnregisterInstance();
    EXPECT_EQ(store.GetAllSettings("LogInfo"), (SettingsStore::Pairs{{"0", "32767"}}));
    EXPECT_TRUE(c.logChart.clearLog2Calls.empty());
}

TEST_F(InstanceRegistryTest, CounterTextIsReadForItsLeadingNumber) {
    struct Case {
        const char* counter;
        int16_t number;
    } cases[] = {{"3abc", 4}, {"junk", 1}, {"1.5", 2}, {"2.5", 4}, {"-4", 1}, {"-1", 1}};
    for (const Case& k : cases) {
        store.sections.clear();
        store.SaveSetting("LogInfo", "0", k.counter);
        Copy& c = start(true);
        c.registry.AddInstance();
        EXPECT_EQ(c.globals.InstanceNumber, k.number) << k.counter;
        EXPECT_EQ(logInfo("0"), std::to_string(k.number)) << k.counter;
    }
}

TEST_F(InstanceRegistryTest, StoreFailuresShowTheRoutinesMessage) {
    Copy& c = startAndRegister(1);
    store.failSave = pelomar::core::err::kPermissionDenied;
    c.registry.UpdateRegistry();
    c.registry.AddInstance();
    store.failSave = 0;
    store.failDelete = pelomar::core::err::kPathFileAccessError;
    c.registry.RemoveRegistryEntry();
    EXPECT_EQ(boxTexts(c), (std::vector<std::string>{"Error in UpdateRegistry!  70Permission denied",
                                                     "Error in AddInstance!  70Permission denied",
                                                     "Error in RemoveRegistryEntry!  75Path/File access error"}));
    // Nothing after the failing step ran.
    EXPECT_EQ(c.globals.InstanceNumber, 1);
    EXPECT_EQ(logInfo("0"), "1");
}

TEST_F(InstanceRegistryTest, UnregisteredCopyNeverWritesItsRecordOverTheCounter) {
    store.SaveSetting("LogInfo", "0", "2");
    Copy& c = start(true);
    c.registry.UpdateRegistry();
    c.registry.RemoveRegistryEntry();
    EXPECT_EQ(store.GetAllSettings("LogInfo"), (SettingsStore::Pairs{{"0", "2"}}));
}

TEST_F(InstanceRegistryTest, GetLogFolderPathIsTheFourthFieldUnderTheLogFolder) {
    Copy& c = start();
    EXPECT_EQ(c.registry.GetLogFolderPath("Default|1/2/2026|10:00|123"), logFolder + "/123");
    for (const char* hostile : {"a|b|c|..", "a|b|c|../../etc", "a|b|c|/tmp", "a|b|c|", "a|b|c|1/2", "Default"}) {
        EXPECT_EQ(c.registry.GetLogFolderPath(hostile), "") << hostile;
    }
}

// Leftovers of earlier runs: a crashed copy with its record, a folder no
// record names, a folder without backup logs.
class LeftoverLogsTest : public InstanceRegistryTest {
protected:
    void SetUp() override {
        InstanceRegistryTest::SetUp();
        store.SaveSetting("LogInfo", "0", "3");
        store.SaveSetting("LogInfo", "2", "Pump B|3/14/2024|12:00:00|777");
        store.SaveSetting("LogInfo", "1", "Column A|3/14/2024|11:59:00|555");
        store.SaveSetting("LogInfo", "3", "Empty|3/14/2024|12:01:00|999");
        backupLogsIn(logFolder + "/777");
        backupLogsIn(logFolder + "/555");
        fs::create_directories(logFolder + "/999");
        // Named only as a piece of a date, by no record's folder field.
        backupLogsIn(logFolder + "/2024");
        touch(logFolder + "/stray.txt");
    }
};

TEST_F(LeftoverLogsTest, ListsRegisteredLogsThenUnknownFolders) {
    Copy& c = start();
    FakeLogFileList list;
    c.registry.ListRegisteredLogs(list);
    c.registry.ListUnknownLogs(list);

    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.items[0], FormatLogInfoLine("Pump B|3/14/2024|12:00:00|777"));
    EXPECT_EQ(list.items[1], FormatLogInfoLine("Column A|3/14/2024|11:59:00|555"));
    EXPECT_EQ(list.items[2], "  Unknown Log File 2024");
    EXPECT_EQ(list.checks, std::vector<bool>(3, false));
    EXPECT_TRUE(c.globals.UnknownLogFound);
    EXPECT_EQ(c.globals.UnknownLogs, std::vector<std::string>{"2024"});
    // The last record looked at.
    EXPECT_EQ(c.globals.LogPath, logFolder + "/999");

    // A second listing starts over.
    FakeLogFileList again;
    c.registry.ListUnknownLogs(again);
    EXPECT_EQ(again.items, std::vector<std::string>{"  Unknown Log File 2024"});
    EXPECT_EQ(c.globals.UnknownLogs.size(), 1u);
}

TEST_F(LeftoverLogsTest, NothingOutsideTheLogFolderIsLookedAtOrListed) {
    const fs::path outside = root / "outside";
    backupLogsIn(outside);
    fs::create_directory_symlink(outside, logFolder + "/31337");
    store.SaveSetting("LogInfo", "4", "Evil|d|t|../../../outside");
    backupLogsIn(program);  // ".." of the log folder

    Copy& c = start();
    FakeLogFileList list;
    c.registry.ListRegisteredLogs(list);
    c.registry.ListUnknownLogs(list);
    EXPECT_EQ(list.items.size(), 3u);
    for (const std::string& path : c.logChart.isLogFileExist2Calls) {
        EXPECT_EQ(path.rfind(logFolder + "/", 0), 0u) << path;
        EXPECT_EQ(path.find(".."), std::string::npos) << path;
        EXPECT_NE(path, logFolder + "/31337");
    }
}

TEST_F(LeftoverLogsTest, AnotherCopyRunningListsAndWipesNothing) {
    Copy& c = start(true);
    FakeLogFileList list;
    c.registry.ListRegisteredLogs(list);
    EXPECT_EQ(boxTexts(c), std::vector<std::string>{"Found Previous Instance!"});
    EXPECT_TRUE(list.items.empty());

    c.registry.DeleteAllLogs();
    EXPECT_TRUE(fs::exists(logFolder + "/777/DLog1.bak"));
    EXPECT_EQ(logInfo("0"), "3");
}

TEST_F(LeftoverLogsTest, DeleteAllLogsWipesFoldersAndSectionButNothingOutside) {
    const fs::path outside = root / "outside";
    backupLogsIn(outside);
    fs::create_directory_symlink(outside, logFolder + "/31337");
    // A folder whose file cannot go stays; the rest still goes.
    folders.failRemove[logFolder + "/555/TLog.bak"] = pelomar::core::err::kPermissionDenied;

    Copy& c = start();
    c.registry.DeleteAllLogs();

    EXPECT_FALSE(store.hasSection("LogInfo"));
    for (const char* gone : {"777", "999", "2024", "stray.txt", "31337", "555/DLog1.bak"}) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(logFolder + "/" + gone))) << gone;
    }
    EXPECT_TRUE(fs::exists(logFolder + "/555/TLog.bak"));
    EXPECT_TRUE(fs::exists(outside / "DLog1.bak"));
    EXPECT_TRUE(fs::exists(outside / "TLog.bak"));

    // The next copy starts counting again and makes the log folder anew.
    folders.failRemove.clear();
    fs::remove_all(logFolder);
    Copy& next = startAndRegister(8);
    EXPECT_EQ(next.globals.InstanceNumber, 1);
    EXPECT_TRUE(fs::is_directory(logFolder + "/8"));
}

TEST_F(InstanceRegistryTest, FirstStartListsNothingAndTheWipeKeepsTheAbsentSection) {
    Copy& c = start();
    FakeLogFileList list;
    c.registry.ListRegisteredLogs(list);
    c.registry.ListUnknownLogs(list);
    c.registry.DeleteAllLogs();
    EXPECT_TRUE(list.items.empty());
    EXPECT_FALSE(c.globals.UnknownLogFound);
    EXPECT_TRUE(c.ui.boxes.empty());
    EXPECT_FALSE(fs::exists(logFolder));
    // A section made after the snapshot is not this wipe's to delete.
    store.SaveSetting("LogInfo", "0", "1");
    c.registry.DeleteAllLogs();
    EXPECT_EQ(logInfo("0"), "1");
}

TEST_F(InstanceRegistryTest, RecordWithoutCounterIsStillListed) {
    store.SaveSetting("LogInfo", "1", "Solo|d|t|64");
    backupLogsIn(logFolder + "/64");
    Copy& c = start();
    FakeLogFileList list;
    c.registry.ListRegisteredLogs(list);
    c.registry.ListUnknownLogs(list);
    EXPECT_EQ(list.items, std::vector<std::string>{FormatLogInfoLine("Solo|d|t|64")});
}

// A copy running while another believes it started alone: its folder is
// locked from its making to its removal.
TEST_F(LeftoverLogsTest, ARunningCopysFolderAndRecordAreNeitherListedNorWiped) {
    Copy& running = startAndRegister(4242, true);
    ASSERT_EQ(running.globals.InstanceNumber, 4);
    backupLogsIn(logFolder + "/4242");

    Copy& alone = start();
    FakeLogFileList list;
    alone.registry.ListRegisteredLogs(list);
    alone.registry.ListUnknownLogs(list);
    EXPECT_EQ(list.items.size(), 3u);
    for (const std::string& line : list.items) EXPECT_EQ(line.find("Default"), std::string::npos) << line;
    EXPECT_EQ(alone.globals.UnknownLogs, std::vector<std::string>{"2024"});

    alone.registry.DeleteAllLogs();
    EXPECT_TRUE(fs::exists(logFolder + "/4242/DLog1.bak"));
    EXPECT_FALSE(fs::exists(logFolder + "/777"));
    EXPECT_EQ(store.GetAllSettings("LogInfo"),
              (SettingsStore::Pairs{{"0", "4"}, {"4", "Default|1/14/2026|9:05:01 AM|4242"}}));

    // Ended normally, it leaves nothing behind, its lock file included.
    running.registry.UnregisterInstance();
    EXPECT_FALSE(fs::exists(logFolder + "/4242"));
    EXPECT_TRUE(running.ui.boxes.empty());
}

TEST_F(InstanceRegistryTest, FolderLocksExcludeEachOtherWithinOneProcess) {
    const std::string folder = logFolder + "/7";
    fs::create_directories(folder);
    PosixRecorderFileSystem a, b;
    EXPECT_FALSE(a.folderLockHeld(folder));  // no lock file yet
    auto held = a.lockFolder(folder);
    ASSERT_NE(held, nullptr);
    EXPECT_TRUE(fs::exists(folder + "/" + RecorderFileSystem::kFolderLockName));
    EXPECT_TRUE(b.folderLockHeld(folder));
    EXPECT_TRUE(a.folderLockHeld(folder));
    EXPECT_EQ(b.lockFolder(folder), nullptr);
    // The trial of a free lock leaves it free.
    held.reset();
    EXPECT_FALSE(b.folderLockHeld(folder));
    EXPECT_NE(b.lockFolder(folder), nullptr);
    EXPECT_EQ(a.lockFolder(logFolder + "/missing"), nullptr);
    EXPECT_FALSE(a.folderLockHeld(logFolder + "/missing"));
}

TEST_F(InstanceRegistryTest, AnotherProcesssLockKeepsItsFolderUntilThatProcessDies) {
    const std::string folder = logFolder + "/31";
    backupLogsIn(folder);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PosixRecorderFileSystem disk;
        const auto lock = disk.lockFolder(folder);
        const char ok = lock ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        for (;;) pause();
    }
    close(ready[1]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);
    ASSERT_EQ(ok, 'y');

    Copy& first = start();
    first.registry.DeleteAllLogs();
    EXPECT_TRUE(fs::exists(folder + "/DLog1.bak"));

    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    Copy& second = start();
    FakeLogFileList list;
    second.registry.ListUnknownLogs(list);
    EXPECT_EQ(list.items, std::vector<std::string>{"  Unknown Log File 31"});
    second.registry.DeleteAllLogs();
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(InstanceRegistryTest, ANewFolderTakenByAWipeMeanwhileIsLeftToIt) {
    PosixRecorderFileSystem wipe;
    std::unique_ptr<RecorderFileSystem::FolderLock> wiping;
    folders.onCreated = [&](const std::string& path) {
        if (path == logFolder + "/60") wiping = wipe.lockFolder(path);
    };
    Copy& c = startAndRegister(60);
    ASSERT_NE(wiping, nullptr);
    EXPECT_EQ(c.globals.LogFolderName, "61");
    EXPECT_TRUE(wipe.folderLockHeld(logFolder + "/61"));
}

}  // namespace
