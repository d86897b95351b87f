#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "../../common/FakeFileSystem.h"
#include "../support/TestFiles.h"
#include "../../support/ScratchFolder.h"
#include "core/files/BackupLog.h"
#include "core/model/ChartModel.h"
#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

using namespace pelomar::core;
using pelomar::test::FakeFileSystem;

namespace {

const std::string kFolder = "/log";
std::string at(const char* name) { return kFolder + "/" + name; }

// Y1 of each point record of a point file.
std::vector<float> pointsOf(const FakeFileSystem& fs, const char* name) {
    std::vector<float> out;
    auto it = fs.files.find(at(name));
    if (it == fs.files.end()) return out;
    for (size_t i = 0; i + 8 <= it->second.size(); i += 8) {
        float y1;
        std::memcpy(&y1, it->second.data() + i, 4);
        out.push_back(y1);
    }
    return out;
}

std::vector<uint8_t> pointFile1() { return {0, 0, 0x80, 0x3F, 0, 0, 0, 0}; }  // (1, 0)

double tlogOf(const FakeFileSystem& fs) {
    const std::vector<uint8_t>& b = fs.files.at(at("TLog.bak"));
    EXPECT_EQ(b.size(), 8u);
    double v;
    std::memcpy(&v, b.data(), 8);
    return v;
}

struct Backup {
    Backup() { fs.folders.insert(kFolder); }
    FakeFileSystem fs;
    ChartModel model;
    BackupLog log{fs};
    int16_t call(int32_t intervalMs = 20000, double limitHours = 24, int16_t instance = 1) {
        return log.BackUpLog2(model, kFolder, instance, intervalMs, limitHours);
    }
};

}  // namespace

TEST(BackupLog, RecordsAreAppendedInTheirLayout) {
    Backup b;
    b.model.AddPoints(1.5f, 2);
    b.model.AddLabel("S", 255, 60, 2.5f);
    b.model.AddMethod("M1", 0.5f);
    ASSERT_EQ(b.call(), 0);
    EXPECT_EQ(b.fs.files.at(at("ELog1.bak")),
              (std::vector<uint8_t>{0x01, 0x00, 0x53, 0xFF, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x00, 0x00, 0x20, 0x40}));
    EXPECT_EQ(b.fs.files.at(at("DLog1.bak")),
              (std::vector<uint8_t>{0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x40}));
    EXPECT_EQ(b.fs.files.at(at("MLog1.bak")),
              (std::vector<uint8_t>{0x02, 0x00, 'M', '1', 0x00, 0x00, 0x00, 0x3F}));
    EXPECT_EQ(b.model.NumPoints(), 0);
    EXPECT_EQ(b.model.labels().count(), 0);
    EXPECT_EQ(b.model.methods().count(), 0);
    EXPECT_EQ(b.fs.count("append+flush "), 3u);  // each on disk before the call returns
}

TEST(BackupLog, CallWithEmptyStoresWritesNothingButCounts) {
    Backup b;
    for (int i = 0; i < 3; ++i) ASSERT_EQ(b.call(1000, 0.001), 0);
    EXPECT_TRUE(b.fs.calls.empty());
    EXPECT_EQ(b.log.rotation().instance(1)->BackUpCount, 3);
    ASSERT_EQ(b.call(1000, 0.001), 0);  // the fourth call rotates all the same
    EXPECT_TRUE(b.log.rotation().instance(1)->SecondGeneration);
    EXPECT_EQ(b.model.backupTargets().DLogPath, at("DLog2.bak"));
}

// Runs calls 1..last, adding one point whose Y1 is the call number before
// each call in `marked`.
void runSchedule(Backup& b, int last, const std::vector<int>& marked, int32_t intervalMs, double limitHours) {
    size_t next = 0;
    for (int call = 1; call <= last; ++call) {
        if (next < marked.size() && marked[next] == call) {
            b.model.AddPoints(static_cast<float>(call), 0);
            ++next;
        }
        ASSERT_EQ(b.call(intervalMs, limitHours), 0) << call;
    }
}

TEST(BackupLog, RotatesAtTheRecordersTwentySecondsAndDay) {
    struct Step {
        int lastCall;
        std::vector<float> gen1, gen2;
        double tlog;  // 0: no TLog yet
    } steps[] = {
        {4320, {4320}, {}, 0},
        {4321, {4320}, {4321}, 0},
        {8640, {4320}, {4321, 8640}, 0},
        {8641, {4321, 8640}, {8641}, 1440.0},
        {12961, {8641}, {12961}, 2880.0},
    };
    Backup b;
    int done = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.lastCall);
        for (int call = done + 1; call < s.lastCall; ++call) ASSERT_EQ(b.call(), 0);
        b.model.AddPoints(static_cast<float>(s.lastCall), 0);
        ASSERT_EQ(b.call(), 0);
        done = s.lastCall;
        EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), s.gen1);
        EXPECT_EQ(pointsOf(b.fs, "DLog2.bak"), s.gen2);
        if (s.tlog == 0) {
            EXPECT_EQ(b.fs.files.count(at("TLog.bak")), 0u);
        } else {
            EXPECT_EQ(tlogOf(b.fs), s.tlog);
        }
    }
    // TLog is replaced whole, by the record of the rotation once it is done.
    EXPECT_EQ(b.fs.count("rename " + at("TLog.bak.next") + " " + at("TLog.bak")), 2u);
    EXPECT_EQ(b.fs.files.count(at("TLog.bak.next")), 0u);
}

TEST(BackupLog, RotatesOnAFastSchedule) {
    // 1 s calls, 3.6 s generations: 3 calls fill one, the 4th rotates.
    Backup b;
    runSchedule(b, 10, {1, 2, 3, 4, 6, 7, 10}, 1000, 0.001);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{7}));
    EXPECT_EQ(pointsOf(b.fs, "DLog2.bak"), (std::vector<float>{10}));
    EXPECT_DOUBLE_EQ(tlogOf(b.fs), 0.1);  // two generations of 3 s, in minutes
}

TEST(BackupLog, EachInstanceKeepsItsOwnRotation) {
    Backup b;
    ASSERT_EQ(b.call(1000, 0.001, 3), 0);
    EXPECT_EQ(b.log.rotation().upperBound(), 3);
    ASSERT_EQ(b.call(1000, 0.001, 2), 0);
    EXPECT_EQ(b.log.rotation().upperBound(), 3);
    ASSERT_EQ(b.call(1000, 0.001, 5), 0);
    EXPECT_EQ(b.log.rotation().upperBound(), 5);
    EXPECT_EQ(b.log.rotation().instance(3)->BackUpCount, 1);
    EXPECT_EQ(b.log.rotation().instance(2)->BackUpCount, 1);
    EXPECT_EQ(b.log.rotation().instance(4)->BackUpCount, 0);
    EXPECT_EQ(b.log.rotation().instance(6), nullptr);
}

TEST(BackupLog, DiskFullOnTheSecondAppendLeavesNoFragmentAndNoDuplicate) {
    Backup b;
    b.model.AddPoints(1, 0);
    ASSERT_EQ(b.call(), 0);
    b.model.AddPoints(2, 0);
    b.model.AddPoints(3, 0);
    b.model.AddLabel("S", 255, 60, 0.1f);
    b.model.AddMethod("M", 0.1f);
    b.fs.failAppend(2, err::kDiskFull, 5);
    EXPECT_EQ(b.call(), err::kDiskFull);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1}));
    EXPECT_EQ(b.fs.files.count(at("ELog1.bak")), 0u);  // created by the failed append, removed again
    EXPECT_EQ(b.fs.files.count(at("MLog1.bak")), 0u);
    EXPECT_EQ(b.model.NumPoints(), 2);  // kept for the next call
    EXPECT_EQ(b.model.labels().count(), 1);

    ASSERT_EQ(b.call(), 0);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(b.fs.files.at(at("ELog1.bak")).size(), 13u);
    EXPECT_EQ(b.fs.files.at(at("MLog1.bak")).size(), 7u);
}

TEST(BackupLog, ShortWriteIsCutBack) {
    Backup b;
    b.model.AddPoints(1, 0);
    ASSERT_EQ(b.call(), 0);
    b.model.AddPoints(2, 0);
    b.fs.failAppend(1, err::kDiskFull, 3);
    EXPECT_EQ(b.call(), err::kDiskFull);
    EXPECT_EQ(b.fs.files.at(at("DLog1.bak")).size(), 8u);
    ASSERT_EQ(b.call(), 0);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1, 2}));
}

TEST(BackupLog, AppendThatCannotBeUndoneIsNotWrittenAgain) {
    Backup b;
    b.model.AddPoints(1, 0);
    b.model.AddLabel("S", 255, 60, 0.1f);
    b.fs.files[at("DLog1.bak")];  // exists, empty: the undo is a truncate
    b.fs.failAppend(2, err::kDiskFull);
    b.fs.failTruncates(err::kDeviceIoError);
    EXPECT_EQ(b.call(), err::kDiskFull);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1}));
    b.model.AddPoints(2, 0);
    b.fs.failTruncates(0);
    ASSERT_EQ(b.call(), 0);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1, 2}));
    EXPECT_EQ(b.fs.files.at(at("ELog1.bak")).size(), 13u);
}

TEST(BackupLog, FailedRenameAtRotationLosesNothing) {
    Backup b;
    runSchedule(b, 6, {1, 4}, 1000, 0.001);  // generation 1 holds 1, generation 2 holds 4
    b.fs.failRenamesTo(at("DLog1.bak"), err::kPermissionDenied);
    b.model.AddPoints(7, 0);
    ASSERT_EQ(b.call(1000, 0.001), 0);  // rotation; stage A failures are not reported
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1}));
    EXPECT_EQ(pointsOf(b.fs, "DLog2.bak"), (std::vector<float>{4, 7}));
}

TEST(BackupLog, KindWithoutGenerationTwoFileLosesItsOldGenerationOne) {
    Backup b;
    b.model.AddLabel("S", 255, 60, 0);
    runSchedule(b, 7, {1, 4}, 1000, 0.001);
    EXPECT_EQ(b.fs.files.count(at("ELog1.bak")), 0u);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{4}));
}

TEST(BackupLog, NoFolderOrNoInstanceTouchesNoFile) {
    struct Case {
        std::string folder;
        int16_t instance;
        int16_t result;
    } cases[] = {{"", 1, err::kPathNotFound}, {kFolder, 0, err::kSubscriptOutOfRange},
                 {kFolder, -1, err::kSubscriptOutOfRange}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + " " + std::to_string(c.instance));
        Backup b;
        b.model.AddPoints(1, 0);
        EXPECT_EQ(b.log.BackUpLog2(b.model, c.folder, c.instance, 20000, 24), c.result);
        b.log.ClearLog2(b.model, c.folder, c.instance);
        EXPECT_TRUE(b.fs.calls.empty());
        EXPECT_EQ(b.model.NumPoints(), 1);
    }
    Backup b;
    EXPECT_FALSE(b.log.IsLogFileExist2(""));
    EXPECT_TRUE(b.fs.calls.empty());
}

// Arguments the rotation cannot count with (every call would rotate and the
// backup keep one call) and folders that cannot be used touch no file.
TEST(BackupLog, UnusableArgumentsAndFoldersAreRefusedTouchingNoFile) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::string folder;
        int32_t intervalMs;
        double limitHours;
        int16_t result;
    } cases[] = {
        {"limit 0", kFolder, 20000, 0, err::kInvalidProcedureCall},
        {"negative limit", kFolder, 20000, -24, err::kInvalidProcedureCall},
        {"limit not a number", kFolder, 20000, nan, err::kInvalidProcedureCall},
        {"limit shorter than one interval", kFolder, 20000, 19.0 / 3600, err::kInvalidProcedureCall},
        {"interval 0", kFolder, 0, 24, err::kInvalidProcedureCall},
        {"negative interval", kFolder, -20000, 24, err::kInvalidProcedureCall},
        {"the root", "/", 20000, 24, err::kPathNotFound},
        {"a folder resolving to the root", "/log/..", 20000, 24, err::kPathNotFound},
        {"a folder that does not exist", "/missing", 20000, 24, err::kPathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Backup b;
        b.model.AddPoints(1, 0);
        EXPECT_EQ(b.log.BackUpLog2(b.model, c.folder, 1, c.intervalMs, c.limitHours), c.result);
        EXPECT_TRUE(b.fs.calls.empty());
        EXPECT_EQ(b.model.NumPoints(), 1);
        EXPECT_EQ(b.log.rotation().upperBound(), 0);
    }
    // One interval is the shortest generation there is.
    Backup b;
    b.model.AddPoints(1, 0);
    EXPECT_EQ(b.call(20000, 20.0 / 3600), 0);

    // The clear never deletes in the root.
    Backup root;
    root.fs.files["/TLog.bak"] = {1};
    root.fs.files["/DLog1.bak"] = {1};
    root.log.ClearLog2(root.model, "/", 1);
    root.log.ClearLog2(root.model, "/log/../", 1);
    EXPECT_EQ(root.fs.files.size(), 2u);
}

TEST(BackupLog, PlainMembersNeverUseTheRoot) {
    ChartModel model;
    for (const char* folder : {"", "/", "//", "/tmp/..", "/./"}) {
        SCOPED_TRACE(folder);
        try {
            model.setControlFolder(folder);
            ADD_FAILURE() << "accepted";
        } catch (const pelomar::RuntimeError& e) {
            EXPECT_EQ(e.number(), err::kInvalidProcedureCall);
        }
        EXPECT_NE(model.controlFolder(), folder);
    }
    // A control folder that does not exist: 76, as for the per-folder calls.
    FakeFileSystem fs;
    BackupLog log(fs);
    model.setControlFolder("/nowhere");
    model.AddPoints(1, 0);
    EXPECT_EQ(log.BackUpLog(model, 20000, 24), err::kPathNotFound);
    EXPECT_EQ(log.BackUpLog(model, 20000, 0), err::kInvalidProcedureCall);
    EXPECT_TRUE(fs.calls.empty());
    EXPECT_EQ(model.NumPoints(), 1);
}

// Temporary files of an interrupted rotation are never read and go with the
// next call that succeeds, and with the clear.
TEST(BackupLog, LeftoversOfAnInterruptedRotationAreRemoved) {
    for (bool byClear : {false, true}) {
        SCOPED_TRACE(byClear ? "clear" : "next call");
        Backup b;
        b.fs.files[at("TLog.bak.new")] = {1, 2, 3};              // left by an earlier version
        b.fs.files[at(".TLog.bak.next.Q1w2E3.new")] = {1, 2};     // a record being written
        b.fs.files[at("DLog1.bak")] = pointFile1();
        b.fs.files[at("notes.txt")] = {1};                        // not ours
        if (byClear) {
            b.log.ClearLog2(b.model, kFolder, 1);
        } else {
            b.model.AddPoints(2, 0);
            ASSERT_EQ(b.call(), 0);
        }
        EXPECT_EQ(b.fs.files.count(at("TLog.bak.new")), 0u);
        EXPECT_EQ(b.fs.files.count(at(".TLog.bak.next.Q1w2E3.new")), 0u);
        EXPECT_EQ(b.fs.files.count(at("notes.txt")), 1u);
        EXPECT_EQ(b.fs.files.count(at("DLog1.bak")), byClear ? 0u : 1u);
    }
}

TEST(BackupLog, OnlyGenerationOneCountsAsALog) {
    for (const char* name : {"MLog2.bak", "ELog2.bak", "DLog2.bak", "TLog.bak", "DLog1.tmp"}) {
        Backup b;
        b.fs.files[at(name)] = {1};
        EXPECT_FALSE(b.log.IsLogFileExist2(kFolder)) << name;
    }
    for (const char* name : {"MLog1.bak", "ELog1.bak", "DLog1.bak"}) {
        Backup b;
        b.fs.files[at(name)] = {1};
        EXPECT_TRUE(b.log.IsLogFileExist2(kFolder)) << name;
    }
}

TEST(BackupLog, ClearDeletesTheSetAndStartsOver) {
    Backup b;
    runSchedule(b, 7, {1, 4, 7}, 1000, 0.001);
    b.fs.files[at("DLog1.tmp")] = {1};
    b.model.AddPoints(9, 0);
    b.model.UpdateNotes("n");
    b.log.ClearLog2(b.model, kFolder, 1);
    EXPECT_TRUE(b.fs.files.empty());
    EXPECT_EQ(b.model.NumPoints(), 0);
    EXPECT_EQ(b.model.GetNotes(), "");
    EXPECT_EQ(b.log.rotation().instance(1)->BackUpCount, 0);
    EXPECT_FALSE(b.log.rotation().instance(1)->SecondGeneration);
    EXPECT_EQ(b.model.backupTargets().DLogPath, at("DLog1.bak"));

    b.model.AddPoints(1, 0);
    ASSERT_EQ(b.call(1000, 0.001), 0);
    EXPECT_EQ(pointsOf(b.fs, "DLog1.bak"), (std::vector<float>{1}));

    // A folder without files and an instance never used: nothing but the clear.
    Backup fresh;
    fresh.model.AddPoints(1, 0);
    fresh.log.ClearLog2(fresh.model, "/other", 7);
    EXPECT_EQ(fresh.model.NumPoints(), 0);
    EXPECT_EQ(fresh.model.backupTargets().DLogPath, "/other/DLog1.bak");
}

TEST(BackupLog, PlainMembersWorkInTheControlFolder) {
    FakeFileSystem fs;
    fs.folders.insert("/ctl");
    ChartModel model;
    model.setControlFolder("/ctl");
    BackupLog log(fs);
    model.AddPoints(1, 0);
    ASSERT_EQ(log.BackUpLog(model, 1000, 0.001), 0);
    EXPECT_TRUE(log.IsLogFileExist(model));
    EXPECT_EQ(fs.files.count("/ctl/DLog1.bak"), 1u);
    log.ClearLog(model);
    EXPECT_FALSE(log.IsLogFileExist(model));
    EXPECT_TRUE(model.backupTargets().AtControlFolder);
}

TEST(BackupLog, FolderWithTrailingSeparatorWorksTheSame) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = scratch / "inst1";
    std::filesystem::create_directory(dir);
    PosixFileSystem fs;
    ChartModel model;
    BackupLog log(fs);
    model.AddPoints(1, 2);
    ASSERT_EQ(log.BackUpLog2(model, dir.string() + "/", 1, 20000, 24), 0);
    EXPECT_EQ(std::filesystem::file_size(dir / "DLog1.bak"), 8u);
    EXPECT_TRUE(log.IsLogFileExist2(dir.string()));
    log.ClearLog2(model, dir.string(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}
