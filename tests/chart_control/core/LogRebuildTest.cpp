#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>
#include <string>
#include <utility>
#include <vector>

#include "../support/BackupRun.h"
#include "../../common/FakeFileSystem.h"
#include "../support/TestFiles.h"
#include "../../support/ScratchFolder.h"
#include "core/files/BinaryIO.h"
#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"
#include "core/files/LogRebuild.h"
#include "common/PosixFileSystem.h"
#include "core/files/RecordCodec.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"

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
std::vector<uint8_t> cut(std::vector<uint8_t> bytes, size_t tail) {
    bytes.resize(bytes.size() - tail);
    return bytes;
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
        {"an empty label text is a record like any other",
         {{"DLog1.bak", pointFile({{1, 1}})},
          {"ELog1.bak", labelFile({{"S", 1, 1, 1}, {"", 1, 1, 2}, {"E", 1, 1, 3}})}},
         0, {1, 2, 3}, 1},
        {"empty generation 1 point file", {{"DLog1.bak", {}}}, err::kSubscriptOutOfRange, {}, -1},
        {"empty generation 2 point file joins nothing",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"DLog2.bak", {}}}, 0, {}, 1},
        {"empty label and method files give no records",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"ELog1.bak", {}}, {"MLog1.bak", {}}, {"ELog2.bak", {}}}, 0, {}, 1},
        {"a label cut short by a crash is no label",
         {{"DLog1.bak", pointFile({{1, 1}})}, {"ELog1.bak", cut(labelFile({{"S", 1, 1, 1}, {"E", 1, 1, 2}}), 3)},
          {"ELog2.bak", cut(labelFile({{"S", 1, 1, 3}}), 12)}},
         0, {1}, 1},
        {"a point record cut short is no point",
         {{"DLog1.bak", std::vector<uint8_t>(12, 0)}}, 0, {}, 1},
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

// An empty method text from the line is a method; the records after it are
// read all the same.
TEST(LogRebuild, MethodFileWhoseSecondRecordIsEmptyGivesAllMethods) {
    Rebuild r;
    r.fs.files[at("DLog1.bak")] = pointFile({{1, 1}});
    r.fs.files[at("MLog1.bak")] = methodFile({{"a\r\n", 1}, {"", 2}, {"b\r\n", 3}});
    ASSERT_EQ(r.run(), 0);
    const DataFileContent out = r.output();
    ASSERT_EQ(out.header.MethodCount, 3);
    EXPECT_EQ(out.methods[1].Method, "");
    EXPECT_EQ(out.methods[2].Method, "b\r\n");
    EXPECT_EQ(out.methods[2].XPos, 3);

    // No method from an empty file, none from a record cut short.
    Rebuild torn;
    torn.fs.files[at("DLog1.bak")] = pointFile({{1, 1}});
    torn.fs.files[at("MLog1.bak")] = {};
    torn.fs.files[at("MLog2.bak")] = cut(methodFile({{"a", 1}, {"bcd", 2}}), 5);
    ASSERT_EQ(torn.run(), 0);
    ASSERT_EQ(torn.output().header.MethodCount, 1);
    EXPECT_EQ(torn.output().methods[0].Method, "a");
}

// A rotation cut short after its record was put in place: the rebuild reads
// it as done, whichever of its renames were made.
TEST(LogRebuild, RotationCutShortIsReadAsDone) {
    // Before the rotation: generation 1 holds calls at 0..1 min, generation
    // 2 at 1..2 min (no methods in it), the offset was 0; the rotation will
    // make generation 2 the first, starting at 1 min.
    auto record = [](double offset, uint8_t renamed) {
        std::vector<uint8_t> r = tlog(offset);
        r.push_back(renamed);
        return r;
    };
    const uint8_t renamed = 0b110;  // labels and points; no method file in generation 2
    for (int done = 0; done <= 3; ++done) {
        SCOPED_TRACE(std::to_string(done) + " steps of the rotation done");
        Rebuild r;
        r.fs.files[at("MLog1.bak")] = methodFile({{"old", 0.5f}});
        r.fs.files[at("ELog1.bak")] = labelFile({{"S", 1, 1, 0.5f}});
        r.fs.files[at("DLog1.bak")] = pointFile({{1, 1}});
        r.fs.files[at("ELog2.bak")] = labelFile({{"E", 1, 1, 1.5f}});
        r.fs.files[at("DLog2.bak")] = pointFile({{2, 2}, {3, 3}});
        r.fs.files[at("TLog.bak.next")] = record(1.0, renamed);
        if (done >= 1) r.fs.files.erase(at("MLog1.bak"));
        if (done >= 2) r.fs.renameFile(at("ELog2.bak"), at("ELog1.bak"));
        if (done >= 3) r.fs.renameFile(at("DLog2.bak"), at("DLog1.bak"));
        ASSERT_EQ(r.run(), 0);
        const DataFileContent out = r.output();
        ASSERT_EQ(out.header.NumPoints, 2);
        EXPECT_EQ(out.points[0].Y1, 2);
        ASSERT_EQ(out.header.LabelCount, 1);
        EXPECT_EQ(out.labels[0].Label, "E");
        EXPECT_FLOAT_EQ(out.labels[0].XPos, 0.5f);
        EXPECT_EQ(out.header.MethodCount, 0);
    }
    // Renames done, the record cut to the offset: only the last rename is due.
    Rebuild r;
    r.fs.files[at("DLog1.bak")] = pointFile({{2, 2}});
    r.fs.files[at("ELog1.bak")] = labelFile({{"E", 1, 1, 1.5f}});
    r.fs.files[at("TLog.bak")] = tlog(0.25);
    r.fs.files[at("TLog.bak.next")] = tlog(1.0);
    ASSERT_EQ(r.run(), 0);
    EXPECT_FLOAT_EQ(r.output().labels[0].XPos, 0.5f);
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
        {"point copy fails", [](FakeFileSystem& fs) { fs.failReadsOf(at("DLog2.bak"), err::kDeviceIoError); },
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

// Both generations cut short inside a point record, as a crash leaves them:
// the log holds the whole records of each, generation 2 joined on a record
// boundary, and the working copies are byte copies of the .bak files until
// the join cuts the first. The same on disk, where the points go to the log
// straight from the store.
TEST(LogRebuild, TornPointFilesJoinOnARecordBoundaryInMemoryAndOnDisk) {
    const std::vector<PointRec> one = {{0.125f, 1}, {0.25f, 2}, {0.375f, 3}};
    const std::vector<PointRec> two = {{0.5f, 4}, {0.625f, 5}};
    const std::vector<uint8_t> d1 = cut(pointFile({one[0], one[1], one[2], {9, 9}}), 3);
    const std::vector<uint8_t> d2 = cut(pointFile({two[0], two[1], {8, 8}}), 1);
    const std::vector<uint8_t> labels = labelFile({{"S", 0xFF, 20, 0.5f}});

    Rebuild r;
    r.fs.files[at("DLog1.bak")] = d1;
    r.fs.files[at("DLog2.bak")] = d2;
    r.fs.files[at("ELog1.bak")] = labels;
    std::vector<std::string> copies;
    ASSERT_EQ(r.run(), 0);
    for (const std::string& call : r.fs.calls)
        if (call.find(".tmp") != std::string::npos && call.rfind("remove", 0) != 0) copies.push_back(call);
    EXPECT_EQ(copies, (std::vector<std::string>{"write /log/ELog1.tmp", "write /log/DLog1.tmp",
                                                "write /log/DLog2.tmp", "truncate /log/DLog1.tmp",
                                                "append /log/DLog1.tmp"}));
    const DataFileContent out = r.output();
    ASSERT_EQ(out.header.NumPoints, 5);
    for (size_t i = 0; i < 5; ++i) {
        const PointRec expected = i < 3 ? one[i] : two[i - 3];
        EXPECT_EQ(out.points[i].Y1, expected.Y1) << i;
        EXPECT_EQ(out.points[i].Y2, expected.Y2) << i;
    }
    r.expectCleanedUp();

    const ScratchFolder scratch;
    const std::filesystem::path dir = scratch / "torn";
    std::filesystem::create_directory(dir);
    pelomar::test::writeBytes((dir / "DLog1.bak").string(), d1);
    pelomar::test::writeBytes((dir / "DLog2.bak").string(), d2);
    pelomar::test::writeBytes((dir / "ELog1.bak").string(), labels);
    PosixFileSystem disk;
    ChartModel model;
    const std::string log = (dir / "run.chl").string();
    ASSERT_EQ(rebuildLog(model, disk, dir.string(), log,
                         [&](const std::string& name, int64_t records) {
                             const EncodedDataFile file = chartFile(model, records);
                             return replaceFile(disk, name, file.pieces()) == 0;
                         }),
              0);
    EXPECT_EQ(pelomar::test::readBytes(log), r.fs.files.at(kOut));
    EXPECT_EQ(pelomar::test::readBytes((dir / "DLog1.bak").string()), d1) << "the backups are only read";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 4) << "no working copy is left";
}

// A file system that, at its first truncate, lets a whole rebuild of the same
// folder in another copy of the program run: this rebuild is then between
// making its working copies and joining them.
class RebuildMeetsAnother : public PosixFileSystem {
public:
    std::function<void()> meanwhile;
    int32_t truncateFile(const std::string& path, uint64_t size) override {
        if (meanwhile) std::exchange(meanwhile, nullptr)();
        return PosixFileSystem::truncateFile(path, size);
    }
};

TEST(LogRebuild, TwoCopiesRebuildingOneFolderLeaveEachOthersWorkingCopies) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = scratch / "shared";
    std::filesystem::create_directory(dir);
    const std::vector<uint8_t> d1 = cut(pointFile({{0.125f, 1}, {0.25f, 2}, {9, 9}}), 3);  // torn: joined by a cut
    pelomar::test::writeBytes((dir / "DLog1.bak").string(), d1);
    pelomar::test::writeBytes((dir / "DLog2.bak").string(), pointFile({{0.5f, 4}}));
    pelomar::test::writeBytes((dir / "ELog1.bak").string(), labelFile({{"S", 0xFF, 20, 0.25f}}));
    auto run = [&](FileSystem& fs, const std::string& out) {
        ChartModel model;
        return rebuildLog(model, fs, dir.string(), out, [&](const std::string& name, int64_t records) {
            return replaceFile(fs, name, chartFileBytes(model, records)) == 0;
        });
    };
    RebuildMeetsAnother first;
    int16_t other = -1;
    first.meanwhile = [&] {
        PosixFileSystem second;
        other = run(second, (dir / "other.chl").string());
        EXPECT_TRUE(std::filesystem::exists(dir / "DLog1.tmp")) << "the other copy removed a held working copy";
    };
    EXPECT_EQ(run(first, (dir / "run.chl").string()), 0);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(pelomar::test::readBytes((dir / "run.chl").string()),
              pelomar::test::readBytes((dir / "other.chl").string()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 5) << "no working copy is left";
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
    const ScratchFolder scratch;
    const std::filesystem::path dir = scratch / "killed";
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

namespace {

// The backup loop helper on `folder` with generations of `generation`
// calls, killed `delay` after it confirmed call `after`; returns the last
// call it confirmed.
int killBackupLoop(const std::string& folder, int generation, int after, std::chrono::microseconds delay) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string helper = BACKUP_LOOP_HELPER;
    const std::string gen = std::to_string(generation);
    char* argv[] = {const_cast<char*>(helper.c_str()), const_cast<char*>(folder.c_str()),
                    const_cast<char*>(gen.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, helper.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return -1;
    }
    std::string text;
    char buf[4096];
    ssize_t n = 0;
    auto lastConfirmed = [&] {
        if (text.size() < 2) return 0;
        const size_t last = text.rfind('\n', text.size() - 2);
        return std::stoi(text.substr(last == std::string::npos ? 0 : last + 1));
    };
    // Complete lines only: the helper writes each in one write.
    while (lastConfirmed() < after && (n = ::read(out[0], buf, sizeof buf)) > 0) {
        text.append(buf, static_cast<size_t>(n));
    }
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    while ((n = ::read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    ::close(out[0]);
    if (!WIFSIGNALED(status)) return -1;
    return lastConfirmed();
}

}  // namespace

// Kills at random moments of a loop whose generations are one to three
// calls long, so that many land inside a rotation: the rebuilt log holds
// whole calls only, each once and in order, every confirmed call of the kept
// generations, and every label and method at the time of its call's first
// point.
TEST(LogRebuild, KillsAtRandomMomentsLeaveWholeCallsOnly) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    pelomar::test::BackupRun run;
    run.points = 50;
    constexpr int kRuns = 100;
    int insideRotation = 0, afterRotations = 0;
    const ScratchFolder scratch;
    for (int i = 0; i < kRuns; ++i) {
        const int generation = 1 + i % 3;
        const std::filesystem::path dir = scratch / ("kill" + std::to_string(i));
        std::filesystem::create_directory(dir);
        // Some calls in, then anywhere within about one call (a few ms with
        // its flushed appends and renames).
        const int after = std::uniform_int_distribution<int>(0, 4 * generation + 2)(random);
        const auto delay = std::chrono::microseconds(std::uniform_int_distribution<int>(0, 5000)(random));
        const int confirmed = killBackupLoop(dir.string(), generation, after, delay);
        SCOPED_TRACE("run " + std::to_string(i) + ", generations of " + std::to_string(generation) +
                     ", confirmed " + std::to_string(confirmed));
        ASSERT_GE(confirmed, 0) << "helper did not run";
        if (std::filesystem::exists(dir / "TLog.bak.next")) ++insideRotation;
        if (confirmed > 2 * generation) ++afterRotations;

        PosixFileSystem fs;
        ChartModel model;
        const std::string log = (dir / "run.chl").string();
        const int16_t r = rebuild(fs, model, dir.string(), log);
        // Killed before its first point was written: no point file, or an
        // empty one (created, not yet written), which cannot be sized.
        if (confirmed == 0 && (r == kLogNotSaved || r == err::kSubscriptOutOfRange)) continue;
        ASSERT_EQ(r, 0);
        DataFileContent c;
        ASSERT_EQ(readDataFile(fs, log, c).status, ReadStatus::Read);
        run.check(c, confirmed);
        std::filesystem::remove_all(dir);
    }
    EXPECT_GT(afterRotations, kRuns / 4);
    std::printf("kills inside a rotation: %d of %d\n", insideRotation, kRuns);
}
