#include "BackupLog.h"

#include <cstdint>
#include <vector>

#include "BackupLogPaths.h"
#include "BinaryIO.h"
#include "ChartModel.h"
#include "RecordCodec.h"
#include "common/RuntimeErrors.h"
#include "SafeFile.h"

namespace pelomar::core {

namespace {

constexpr double kHoursPerMs = 2.7777777777777776E-7;
constexpr double kMinutesPerMs = 1.6666666666666667E-5;

constexpr const char* kGeneration1[] = {"MLog1.bak", "ELog1.bak", "DLog1.bak"};
constexpr const char* kGeneration2[] = {"MLog2.bak", "ELog2.bak", "DLog2.bak"};
constexpr const char* kTmpLogs[] = {"MLog1.tmp", "ELog1.tmp", "DLog1.tmp",
                                    "MLog2.tmp", "ELog2.tmp", "DLog2.tmp"};

// How to put a file back as it was before this call's append.
struct Undo {
    std::string path;
    bool existed = false;
    uint64_t size = 0;
};

}  // namespace

void KillTmpLogs(FileSystem& fs, const std::string& folder) {
    for (const char* name : kTmpLogs) (void)fs.removeFile(backupFilePath(folder, name));
}

bool CopyFileIfExist(FileSystem& fs, const std::string& src, const std::string& dst, int32_t& error) {
    error = err::kNone;
    if (!fs.exists(src)) return false;
    error = copyFile(fs, src, dst);
    return true;
}

void BackupLog::rotate(ChartModel& model, const std::string& folder, RotationState& state,
                       int32_t intervalMs, double limitHours) {
    if (state.BackUpCount < INT32_MAX) ++state.BackUpCount;
    const int64_t elapsedMs = int64_t{state.BackUpCount} * intervalMs;
    if (!(static_cast<double>(elapsedMs) * kHoursPerMs > limitHours)) return;

    if (!state.SecondGeneration) {
        state.SecondGeneration = true;
        model.backupTargets() = BackupLogTargets::generation(folder, 2, false);
    } else {
        state.LogTimeOffset += static_cast<double>(int64_t{state.BackUpCount - 1} * intervalMs) * kMinutesPerMs;
        ByteWriter w;
        w.putDouble(state.LogTimeOffset);
        (void)replaceFile(fs_, backupFilePath(folder, "TLog.bak"), w.bytes());
        // Generation 2 is renamed over generation 1 in one step, so there is a
        // whole generation 1 at every moment. A kind that got no records in
        // the generation has no generation-2 file; its old generation 1 goes.
        // A rename that fails keeps both files: nothing is lost.
        for (int k = 0; k < 3; ++k) {
            const std::string gen1 = backupFilePath(folder, kGeneration1[k]);
            const std::string gen2 = backupFilePath(folder, kGeneration2[k]);
            if (fs_.exists(gen2)) {
                (void)fs_.renameFile(gen2, gen1);
            } else {
                (void)fs_.removeFile(gen1);
            }
        }
    }
    state.BackUpCount = 1;
}

int32_t BackupLog::appendStores(ChartModel& model) {
    const BackupLogTargets targets = model.backupTargets();
    std::vector<Undo> undo;
    int32_t* onDisk[3] = {&pointsOnDisk_, &labelsOnDisk_, &methodsOnDisk_};
    int32_t written[3] = {0, 0, 0};

    auto append = [&](int kind, const std::string& path, int32_t count, auto put) -> int32_t {
        int32_t& skip = *onDisk[kind];
        if (skip > count) skip = 0;  // the store was emptied since
        written[kind] = count;
        if (count <= skip) return err::kNone;
        ByteWriter w;
        for (int32_t i = skip; i < count; ++i) put(w, i);
        Undo u{path, false, 0};
        u.existed = fs_.fileSize(path, u.size) == err::kNone;
        undo.push_back(u);
        return fs_.appendFile(path, w.bytes().data(), w.size(), true);
    };

    int32_t e = append(0, targets.DLogPath, model.points().count(),
                       [&](ByteWriter& w, int32_t i) { putPoint(w, model.points().at(i)); });
    if (e == err::kNone) {
        e = append(1, targets.ELogPath, model.labels().count(),
                   [&](ByteWriter& w, int32_t i) { putLabel(w, model.labels().at(i)); });
    }
    if (e == err::kNone) {
        e = append(2, targets.MLogPath, model.methods().count(),
                   [&](ByteWriter& w, int32_t i) { putMethod(w, model.methods().at(i)); });
    }
    if (e == err::kNone) {
        pointsOnDisk_ = labelsOnDisk_ = methodsOnDisk_ = 0;
        return err::kNone;
    }

    // Undo this call's appends; one that cannot be undone counts as written.
    for (size_t k = 0; k < undo.size(); ++k) {
        const Undo& u = undo[k];
        const int32_t undone = u.existed ? fs_.truncateFile(u.path, u.size) : fs_.removeFile(u.path);
        const bool failedAppend = k + 1 == undo.size();
        if (undone != err::kNone && !failedAppend) {
            for (int kind = 0; kind < 3; ++kind) {
                const std::string& p = kind == 0 ? targets.DLogPath : kind == 1 ? targets.ELogPath : targets.MLogPath;
                if (p == u.path) *onDisk[kind] = written[kind];
            }
        }
    }
    return e;
}

int16_t BackupLog::BackUpLog(ChartModel& model, int32_t backUpIntervalmSec, double limitTimeHour) {
    rotate(model, model.controlFolder(), rotation_.controlWide(), backUpIntervalmSec, limitTimeHour);
    const int32_t e = appendStores(model);
    if (e == err::kNone) model.ClearData();
    return static_cast<int16_t>(e);
}

int16_t BackupLog::BackUpLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber,
                              int32_t backUpIntervalmSec, double limitTimeHour) {
    if (logPath.empty()) return static_cast<int16_t>(err::kPathNotFound);
    if (instanceNumber < 1) return static_cast<int16_t>(err::kSubscriptOutOfRange);
    rotation_.ensureInstance(instanceNumber);
    if (model.backupTargets().AtControlFolder) {
        model.backupTargets() = BackupLogTargets::generation(logPath, 1, false);
    }
    rotate(model, logPath, *rotation_.instance(instanceNumber), backUpIntervalmSec, limitTimeHour);
    const int32_t e = appendStores(model);
    if (e == err::kNone) model.ClearData();
    return static_cast<int16_t>(e);
}

void BackupLog::clearFolder(const std::string& folder) {
    for (const char* name : {"TLog.bak", "MLog1.bak", "ELog1.bak", "DLog1.bak", "MLog2.bak", "ELog2.bak",
                             "DLog2.bak"}) {
        (void)fs_.removeFile(backupFilePath(folder, name));
    }
    (void)fs_.removeFile(temporaryNameFor(backupFilePath(folder, "TLog.bak")));
    KillTmpLogs(fs_, folder);
    pointsOnDisk_ = labelsOnDisk_ = methodsOnDisk_ = 0;
}

void BackupLog::ClearLog(ChartModel& model) {
    clearFolder(model.controlFolder());
    rotation_.controlWide() = RotationState{};
    model.backupTargets() = BackupLogTargets::generation(model.controlFolder(), 1, true);
    model.ClearData();
}

void BackupLog::ClearLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber) {
    if (logPath.empty() || instanceNumber < 1) return;
    clearFolder(logPath);
    if (RotationState* s = rotation_.instance(instanceNumber)) *s = RotationState{};
    model.backupTargets() = BackupLogTargets::generation(logPath, 1, false);
    model.ClearData();
}

bool BackupLog::IsLogFileExist(const ChartModel& model) { return IsLogFileExist2(model.controlFolder()); }

bool BackupLog::IsLogFileExist2(const std::string& logPath) {
    if (logPath.empty()) return false;
    for (const char* name : kGeneration1) {
        if (fs_.exists(backupFilePath(logPath, name))) return true;
    }
    return false;
}

}  // namespace pelomar::core
