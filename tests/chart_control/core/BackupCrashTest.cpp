// The backup set after a crash at every single file step of the backup
// calls and of a save, and after a failure of each step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/BackupRun.h"
#include "../../common/FakeFileSystem.h"
#include "core/files/BackupLog.h"
#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"
#include "core/files/LogRebuild.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"

using namespace pelomar::core;
using pelomar::test::BackupRun;
using pelomar::test::FakeFileSystem;

namespace {

const std::string kFolder = "/log";
const std::string kOut = "/out/run.chl";

// The process ends here.
struct Killed {};

// Counts the steps that change files; the step numbered `stopAt` (from 0)
// does not happen: the process is killed before it, or the step fails once.
class StoppingFileSystem : public FakeFileSystem {
public:
    enum class Mode { Kill, Fail };
    int stopAt = -1;
    Mode mode = Mode::Kill;
    int steps = 0;

    int32_t writeFile(const std::string& p, const uint8_t* d, size_t n, bool flush) override {
        if (const int32_t e = step()) return e;
        return FakeFileSystem::writeFile(p, d, n, flush);
    }
    int32_t writeTemporary(const std::string& t, std::span<const ByteView> pieces,
                           TemporaryFile& created) override {
        if (const int32_t e = step()) return e;
        const int saved = stopAt;  // the inner write is part of this step
        stopAt = -1;
        const int32_t e = FakeFileSystem::writeTemporary(t, pieces, created);
        stopAt = saved;
        return e;
    }
    int32_t appendFile(const std::string& p, const uint8_t* d, size_t n, bool flush) override {
        if (const int32_t e = step()) return e;
        return FakeFileSystem::appendFile(p, d, n, flush);
    }
    int32_t truncateFile(const std::string& p, uint64_t n) override {
        if (const int32_t e = step()) return e;
        return FakeFileSystem::truncateFile(p, n);
    }
    int32_t renameFile(const std::string& f, const std::string& t) override {
        if (const int32_t e = step()) return e;
        return FakeFileSystem::renameFile(f, t);
    }
    int32_t removeFile(const std::string& p) override {
        if (const int32_t e = step()) return e;
        return FakeFileSystem::removeFile(p);
    }
    int32_t removeUnheld(const std::string& p) override {
        if (const int32_t e = step()) return e;
        return FakeFileSystem::removeUnheld(p);
    }

private:
    int32_t step() {
        if (steps++ != stopAt) return 0;
        if (mode == Mode::Kill) throw Killed{};
        return err::kDeviceIoError;
    }
};

constexpr int kCalls = 14;
// Generations of three calls: every fourth call rotates.
constexpr double kLimitHours = 3.5 / 3600;

// Runs the calls until the end or the kill; returns the last call that
// returned 0 with its stores written.
int runCalls(StoppingFileSystem& fs, const BackupRun& run) {
    ChartModel model;
    BackupLog log(fs);
    int confirmed = 0;
    try {
        for (int call = 1; call <= kCalls; ++call) {
            run.fill(model, call);
            if (log.BackUpLog2(model, kFolder, 1, run.intervalMs(), kLimitHours) == 0) confirmed = call;
        }
        // After a failure, one more call writes what the stores kept.
        if (fs.mode == StoppingFileSystem::Mode::Fail && confirmed < kCalls &&
            log.BackUpLog2(model, kFolder, 1, run.intervalMs(), kLimitHours) == 0) {
            confirmed = kCalls;
        }
    } catch (const Killed&) {
    }
    return confirmed;
}

int16_t rebuild(FakeFileSystem& fs, DataFileContent& out) {
    ChartModel model;
    const int16_t r = rebuildLog(model, fs, kFolder, kOut, [&](const std::string& name, int64_t records) {
        return replaceFile(fs, name, chartFileBytes(model, records)) == 0;
    });
    if (r == 0) EXPECT_EQ(decodeDataFile(fs.files.at(kOut), out).status, ReadStatus::Read);
    return r;
}

int stepsOfAWholeRun(const BackupRun& run) {
    StoppingFileSystem fs;
    fs.folders.insert(kFolder);
    EXPECT_EQ(runCalls(fs, run), kCalls);
    return fs.steps;
}

}  // namespace

TEST(BackupCrash, KillAfterAnyStepLeavesWholeCallsOnly) {
    const BackupRun run;
    const int total = stepsOfAWholeRun(run);
    ASSERT_GT(total, 40);
    for (int k = 0; k <= total; ++k) {
        SCOPED_TRACE("killed before step " + std::to_string(k));
        StoppingFileSystem fs;
        fs.folders.insert(kFolder);
        fs.stopAt = k;
        const int confirmed = runCalls(fs, run);
        fs.stopAt = -1;
        DataFileContent log;
        const int16_t r = rebuild(fs, log);
        if (r == kLogNotSaved && confirmed == 0) continue;  // nothing logged yet
        ASSERT_EQ(r, 0);
        run.check(log, confirmed);
        // The rebuild only reads: the backup set is as the kill left it.
        for (const auto& [path, bytes] : fs.files) EXPECT_EQ(path.find(".tmp"), std::string::npos) << path;
    }
}

TEST(BackupCrash, FailureOfAnyStepIsMadeGoodByTheNextCalls) {
    const BackupRun run;
    const int total = stepsOfAWholeRun(run);
    for (int k = 0; k < total; ++k) {
        SCOPED_TRACE("step " + std::to_string(k) + " failed");
        StoppingFileSystem fs;
        fs.folders.insert(kFolder);
        fs.stopAt = k;
        fs.mode = StoppingFileSystem::Mode::Fail;
        EXPECT_EQ(runCalls(fs, run), kCalls);
        fs.stopAt = -1;
        DataFileContent log;
        ASSERT_EQ(rebuild(fs, log), 0);
        run.check(log, kCalls);
        // Whatever the failure interrupted is finished: no rotation record
        // and no temporary file stays.
        for (const auto& [path, bytes] : fs.files) {
            EXPECT_EQ(path.find(".next"), std::string::npos) << path;
            EXPECT_EQ(path.find(".new"), std::string::npos) << path;
        }
    }
}

// A rotation cut short before its last step, the process gone: the rebuild
// reads the rotation as done, and the next call of a backup chart finishes it
// with the same result.
TEST(BackupCrash, RebuildAndNextCallAgreeOnAHalfDoneRotation) {
    const BackupRun run;
    const int total = stepsOfAWholeRun(run);
    int halfDone = 0;
    for (int k = 0; k <= total; ++k) {
        StoppingFileSystem fs;
        fs.folders.insert(kFolder);
        fs.stopAt = k;
        (void)runCalls(fs, run);
        fs.stopAt = -1;
        if (fs.files.count(kFolder + "/TLog.bak.next") == 0) continue;
        ++halfDone;
        SCOPED_TRACE("killed before step " + std::to_string(k));
        DataFileContent before;
        ASSERT_EQ(rebuild(fs, before), 0);
        const std::vector<uint8_t> logBefore = fs.files.at(kOut);
        fs.stopAt = -1;
        ASSERT_EQ(finishRotation(fs, kFolder), 0);
        EXPECT_EQ(fs.files.count(kFolder + "/TLog.bak.next"), 0u);
        DataFileContent after;
        ASSERT_EQ(rebuild(fs, after), 0);
        EXPECT_EQ(fs.files.at(kOut), logBefore);
    }
    EXPECT_GE(halfDone, 8);  // every step of every rotation after the first
}

TEST(BackupCrash, SaveKilledAtAnyStepLeavesTheOldOrTheNewFile) {
    const std::string target = "/out/run.chd";
    const std::vector<uint8_t> oldBytes(300, 1), newBytes(200, 2);
    for (int k = 0;; ++k) {
        SCOPED_TRACE("killed before step " + std::to_string(k));
        StoppingFileSystem fs;
        fs.files[target] = oldBytes;
        fs.files["/out/.run.chd.abcdef.new"] = {9};  // left by an earlier crash
        fs.files["/out/run.chd.new"] = {7};          // the user's own file
        fs.stopAt = k;
        bool done = false;
        try {
            done = replaceFile(fs, target, newBytes) == 0;
        } catch (const Killed&) {
        }
        const std::vector<uint8_t>& now = fs.files.at(target);
        EXPECT_TRUE(now == oldBytes || now == newBytes);
        EXPECT_EQ(fs.files.at("/out/run.chd.new"), std::vector<uint8_t>{7});
        // The next save that succeeds leaves no temporary file.
        fs.stopAt = -1;
        ASSERT_EQ(replaceFile(fs, target, newBytes), 0);
        EXPECT_EQ(fs.files.size(), 2u);
        EXPECT_EQ(fs.files.at(target), newBytes);
        if (done) break;
    }
}
