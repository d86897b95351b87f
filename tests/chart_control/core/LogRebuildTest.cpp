#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/FakeFileSystem.h"
#include "../support/TestFiles.h"
#include "core/BinaryIO.h"
#include "core/ChartModel.h"
#include "core/DataFile.h"
#include "core/LogRebuild.h"
#include "core/PosixFileSystem.h"
#include "core/RecordCodec.h"
#include "core/RuntimeErrors.h"
#include "core/SafeFile.h"

extern char** environ;

using namespace pelomar::core;
using pelomar::test::FakeFileSystem;
using pelomar::test::golden;

namespace {

const std::string kFolder = "/log";
const std::string kOut = "/out/run.chl";
std::string at(const char* name) { return kFolder + "/" + name; }

std::vector<uint8_t> pointFile(const std::vector<PointRec>& points) {
    ByteWriter w;
    for (const PointRec& p : points) putPoint(w, p);
    return w.bytes();
}
std::vector<uint8_t> labelFile(const std::vector<LabelRec>& labels) {
    ByteWriter w;
    for (const LabelRec& l : labels) putLabel(w, l);
    return w.bytes();
}
std::vector<uint8_t> methodFile(const std::vector<MethodRec>& methods) {
    ByteWriter w;
    for (const MethodRec& m : methods) putMethod(w, m);
    return w.bytes();
}
std::vector<uint8_t> tlog(double minutes) {
    ByteWriter w;
    w.putDouble(minutes);
    return w.bytes();
}

template <typename FS>
int16_t rebuild(FS& fs, ChartModel& model, const std::string& folder, const std::string& out) {
    return rebuildLog(model, fs, folder, out, [&](const std::string& name, int64_t records) {
        return replaceFile(fs, name, chartFileBytes(model, records)) == 0;
    });
}

struct Rebuild {
    FakeFileSystem fs;
    ChartModel model;
    int16_t run() { return rebuild(fs, model, kFolder, kOut); }
    DataFileContent output() {
        DataFileContent c;
        EXPECT_EQ(decodeDataFile(fs.files.at(kOut), c).status, ReadStatus::Read);
        return c;
    }
    // Only the .bak files remain, the stores are empty.
    void expectCleanedUp() {
        for (const auto& [path, bytes] : fs.files) {
            EXPECT_EQ(path.find(".tmp"), std::string::npos) << path;
        }
        EXPECT_EQ(model.NumPoints(), 0);
        EXPECT_EQ(model.labels().count(), 0);
        EXPECT_EQ(model.methods().count(), 0);
    }
};

}  // namespace

TEST(LogRebuild, JoinsBothGenerationsAndAppliesTheOffset) {
    Rebuild r;
    r.fs.files[at("DLog1.bak")] = pointFile({{0.125f, 1}, {0.25f, 2}, {0.375f, 3}});
    r.fs.files[at("DLog2.bak")] = pointFile({{0.5f, 4}, {0.625f, 5}});
    r.fs.files[at("ELog1.bak")] = labelFile({{"E", 0xFF, 20, 1500}});
    r.fs.files[at("MLog2.bak")] = methodFile({{"Step 2\r\n", 1445.5f}});
    r.fs.files[at("TLog.bak")] = tlog(1440.0);
    const auto before = r.fs.files;
    ASSERT_EQ(r.run(), 0);
    EXPECT_EQ(r.fs.files.at(kOut), golden("rebuilt.chl"));
    EXPECT_EQ(r.model.XEnd(), r.model.IndexToTime(4));
    r.fs.files.erase(kOut);
    EXPECT_EQ(r.fs.files, before);  // the backup set is only read
    r.expectCleanedUp();
}

TEST(LogRebuild, OutcomesOfTheBackupSets) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, std::vector<uint8_t>>> files;
        int16_t result;
        std::vector<float> labelTimes;  // of a written log
        int32_t points;
    } cases[] = {
        {"generation 1 points only", {{"DLog1.bak", pointFile({{1, 1}, {2, 2}})}}, 0, {}, 2},
        {"no generation 1 points",
         {{"MLog1.bak", methodFile({{"m", 1}})}, {"ELog1.bak", labelFile({{"S", 1, 1, 1}})},
          {"DLog2.bak", pointFile({{1, 1}})}},
         kLogNotSaved, {}, -1},
        {"generation 2 without TLog keeps the times",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"DLog2.bak", pointFile({{2, 2}})},
          {"ELog1.bak", labelFile({{"S", 1, 1, 3}})}, {"ELog2.bak", labelFile({{"E", 1, 1, 1500}})}},
         0, {3, 1500}, 2},
        {"TLog 0 changes nothing",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"ELog1.bak", labelFile({{"S", 1, 1, 3}})}, {"TLog.bak", tlog(0)}},
         0, {3}, 1},
        {"TLog moves labels earlier",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"ELog1.bak", labelFile({{"S", 1, 1, 1500}})},
          {"TLog.bak", tlog(1440)}},
         0, {60}, 1},
        {"label file stops at an empty text",
         {{"DLog1.bak", pointFile({{1, 1}})},
          {"ELog1.bak", labelFile({{"S", 1, 1, 1}, {"", 1, 1, 2}, {"E", 1, 1, 3}})}},
         0, {1}, 1},
        {"empty generation 1 point file", {{"DLog1.bak", {}}}, err::kSubscriptOutOfRange, {}, -1},
        {"empty generation 2 point file joins nothing",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"DLog2.bak", {}}}, 0, {}, 1},
        {"cut last record counts as a half, to even",
         {{"DLog1.bak", std::vector<uint8_t>(12, 0)}}, 0, {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rebuild r;
        for (const auto& [name, bytes] : c.files) r.fs.files[at(name)] = bytes;
        EXPECT_EQ(r.run(), c.result);
        r.expectCleanedUp();
        if (c.points < 0) {
            EXPECT_EQ(r.fs.files.count(kOut), 0u);
            continue;
        }
        const DataFileContent out = r.output();
        EXPECT_EQ(out.header.NumPoints, c.points);
        EXPECT_EQ(out.header.PointUBound, c.points);
        EXPECT_EQ(out.points.size(), static_cast<size_t>(c.points));
        std::vector<float> times;
        for (int32_t i = 0; i < out.header.LabelCount; ++i) times.push_back(out.labels[static_cast<size_t>(i)].XPos);
        EXPECT_EQ(times, c.labelTimes);
    }
}

TEST(LogRebuild, MethodFileWhoseSecondRecordIsEmptyGivesOneMethod) {
    Rebuild r;
    r.fs.files[at("DLog1.bak")] = pointFile({{1, 1}});
    r.fs.files[at("MLog1.bak")] = methodFile({{"a\r\n", 1}, {"", 2}, {"b\r\n", 3}});
    ASSERT_EQ(r.run(), 0);
    EXPECT_EQ(r.output().header.MethodCount, 1);
}

TEST(LogRebuild, FailuresLeaveNoLogNoCopiesAndEmptyStores) {
    struct Case {
        const char* what;
        void (*fail)(FakeFileSystem&);
        int16_t result;
    } cases[] = {
        {"TLog unreadable", [](FakeFileSystem& fs) { fs.failReadsOf(at("TLog.bak"), err::kPermissionDenied); },
         kLogNotSaved},
        {"log file not writable", [](FakeFileSystem& fs) { fs.failRenamesTo(kOut, err::kPathNotFound); },
         kLogNotSaved},
        {"copy fails", [](FakeFileSystem& fs) { fs.failReadsOf(at("ELog1.bak"), err::kDeviceIoError); },
         err::kDeviceIoError},
        {"join fails", [](FakeFileSystem& fs) { fs.failAppend(1, err::kDiskFull); }, err::kDiskFull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rebuild r;
        r.fs.files[at("DLog1.bak")] = pointFile({{1, 1}});
        r.fs.files[at("DLog2.bak")] = pointFile({{2, 2}});
        r.fs.files[at("ELog1.bak")] = labelFile({{"S", 1, 1, 1500}});
        r.fs.files[at("TLog.bak")] = tlog(1440);
        c.fail(r.fs);
        EXPECT_EQ(r.run(), c.result);
        EXPECT_EQ(r.fs.files.count(kOut), 0u);
        r.expectCleanedUp();
    }
    // A later rebuild on the same chart takes up nothing of the failed one.
    Rebuild r;
    r.fs.files[at("ELog1.bak")] = labelFile({{"S", 1, 1, 1}});
    ASSERT_EQ(r.run(), kLogNotSaved);
    r.fs.files[at("DLog1.bak")] = pointFile({{1, 1}});
    r.fs.files.erase(at("ELog1.bak"));
    ASSERT_EQ(r.run(), 0);
    EXPECT_EQ(r.output().header.LabelCount, 0);
}

TEST(LogRebuild, MillionPointLogHasItsCountAsBound) {
    Rebuild r;
    r.fs.files[at("DLog1.bak")] = std::vector<uint8_t>(8'000'000, 0);
    ASSERT_EQ(r.run(), 0);
    const std::vector<uint8_t>& b = r.fs.files.at(kOut);
    int32_t n, ubound;
    std::memcpy(&n, b.data() + 44, 4);
    std::memcpy(&ubound, b.data() + 48, 4);
    EXPECT_EQ(n, 1'000'000);
    EXPECT_EQ(ubound, 1'000'000);
    EXPECT_EQ(b.size(), 136u + 2 + 6 + 12 + 8'000'000u);  // exactly n point records
}

TEST(LogRebuild, NoFolderReadsAndWritesNothing) {
    Rebuild r;
    r.model.AddPoints(1, 2);
    r.model.AddLabel("S", 255, 60, 1);
    r.model.AddMethod("m", 1);
    EXPECT_EQ(rebuild(r.fs, r.model, "", kOut), kLogNotSaved);
    EXPECT_TRUE(r.fs.calls.empty());
    r.expectCleanedUp();  // as on the other paths that find no points
}

// A recorder killed in the middle of its backup calls: every point of every
// call that returned 0 is in the rebuilt log, in order.
TEST(LogRebuild, KilledBackupLoopKeepsEveryConfirmedCall) {
    const std::filesystem::path dir = pelomar::test::scratchFolder() / "killed";
    std::filesystem::create_directory(dir);
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string helper = BACKUP_LOOP_HELPER;
    const std::string folder = dir.string();
    char* argv[] = {const_cast<char*>(helper.c_str()), const_cast<char*>(folder.c_str()), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, helper.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    // Kill it past the first rotation, so that both generations are joined.
    std::string text;
    int confirmed = 0;
    char buf[256];
    while (confirmed < 250) {
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        ASSERT_GT(n, 0) << "helper ended early";
        text.append(buf, static_cast<size_t>(n));
        const size_t end = text.rfind('\n');
        if (end != std::string::npos) {
            const size_t start = text.rfind('\n', end - 1);
            confirmed = std::stoi(text.substr(start == std::string::npos ? 0 : start + 1));
        }
    }
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ssize_t n;
    while ((n = ::read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    ::close(out[0]);
    const size_t last = text.rfind('\n', text.size() - 2);
    confirmed = std::stoi(text.substr(last == std::string::npos ? 0 : last + 1));
    ASSERT_GE(confirmed, 250);
    ASSERT_LT(confirmed, 400);

    PosixFileSystem fs;
    ChartModel model;
    const std::string log = (dir / "run.chl").string();
    ASSERT_EQ(rebuild(fs, model, folder, log), 0);
    DataFileContent c;
    ASSERT_EQ(readDataFile(fs, log, c).status, ReadStatus::Read);
    ASSERT_GE(c.header.NumPoints, confirmed * 50);
    for (int k = 1; k <= confirmed; ++k) {
        for (int j = 0; j < 50; ++j) {
            const PointRec& p = c.points[static_cast<size_t>((k - 1) * 50 + j)];
            ASSERT_EQ(p.Y1, static_cast<float>(k)) << k << " " << j;
            ASSERT_EQ(p.Y2, static_cast<float>(j)) << k << " " << j;
        }
    }
}
