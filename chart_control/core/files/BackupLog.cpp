#include "BackupLog.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/model/BackupLogPaths.h"
#include "BinaryIO.h"
#include "core/model/ChartModel.h"
#include "RecordCodec.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"

namespace pelomar::core {

namespace {

constexpr double kHoursPerMs = 2.7777777777777776E-7;
constexpr double kMinutesPerMs = 1.6666666666666667E-5;

constexpr const char* kGeneration1[] = {"MLog1.bak", "ELog1.bak", "DLog1.bak"};
constexpr const char* kGeneration2[] = {"MLog2.bak", "ELog2.bak", "DLog2.bak"};
constexpr const char* kTmpLogs[] = {"MLog1.tmp", "ELog1.tmp", "DLog1.tmp",
                                    "MLog2.tmp", "ELog2.tmp", "DLog2.tmp"};

// The record of a rotation under way: the new offset (8 bytes, TLog.bak's
// layout) and one byte that names the kinds whose generation-2 file is
// renamed (bit k for kind k); cut to the offset once the renames are done.
constexpr const char* kRotationRecord = "TLog.bak.next";
constexpr size_t kOffsetSize = 8;
constexpr size_t kPendingRecordSize = 9;
// What an interrupted replace of TLog.bak left behind in earlier versions.
constexpr const char* kOldTLogTemporary = "TLog.bak.new";

// How to put a file back as it was before this call's append.
struct Undo {
    std::string path;
    bool existed = false;
    uint64_t size = 0;
};

// The rotation record of `folder`: its bytes, or none when there is no
// record or one that no rotation wrote (the record is put in place whole).
bool readRotationRecord(FileSystem& fs, const std::string& folder, std::vector<uint8_t>& record) {
    const std::string path = backupFilePath(folder, kRotationRecord);
    if (!fs.exists(path) || fs.readFile(path, record) != err::kNone) return false;
    return record.size() == kOffsetSize || record.size() == kPendingRecordSize;
}

bool usableArguments(int32_t intervalMs, double limitHours) {
    if (intervalMs <= 0 || std::isnan(limitHours) || !(limitHours > 0)) return false;
    return limitHours >= static_cast<double>(intervalMs) * kHoursPerMs;
}

}  // namespace

BackupSet readBackupSet(FileSystem& fs, const std::string& folder) {
    BackupSet set;
    for (int k = 0; k < 3; ++k) {
        set.Generation1[k] = backupFilePath(folder, kGeneration1[k]);
        set.Generation2[k] = backupFilePath(folder, kGeneration2[k]);
    }
    set.OffsetFile = backupFilePath(folder, "TLog.bak");
    std::vector<uint8_t> record;
    if (!readRotationRecord(fs, folder, record)) return set;
    set.OffsetFile = backupFilePath(folder, kRotationRecord);
    if (record.size() == kPendingRecordSize) {
        for (int k = 0; k < 3; ++k) {
            if ((record[kOffsetSize] & (1u << k)) != 0) {
                // Renamed, or about to be: the last generation 2 is generation 1.
                if (fs.exists(set.Generation2[k])) set.Generation1[k] = set.Generation2[k];
                set.Generation2[k].clear();
            } else {
                // No generation 2 to rename: generation 1 is dropped.
                set.Generation1[k].clear();
            }
        }
    }
    return set;
}

int32_t finishRotation(FileSystem& fs, const std::string& folder) {
    const std::string recordPath = backupFilePath(folder, kRotationRecord);
    if (!fs.exists(recordPath)) return err::kNone;
    std::vector<uint8_t> record;
    if (!readRotationRecord(fs, folder, record)) {
        // Not written by a rotation: nothing to finish.
        return fs.removeFile(recordPath);
    }
    if (record.size() == kPendingRecordSize) {
        for (int k = 0; k < 3; ++k) {
            const std::string gen1 = backupFilePath(folder, kGeneration1[k]);
            const std::string gen2 = backupFilePath(folder, kGeneration2[k]);
            if ((record[kOffsetSize] & (1u << k)) != 0) {
                // Once renamed, generation 2 is gone: doing it again is a no-op.
                if (fs.exists(gen2)) {
                    if (const int32_t e = fs.renameFile(gen2, gen1)) return e;
                }
            } else if (fs.exists(gen1)) {
                if (const int32_t e = fs.removeFile(gen1)) return e;
            }
        }
        if (const int32_t e = fs.truncateFile(recordPath, kOffsetSize)) return e;
    }
    return fs.renameFile(recordPath, backupFilePath(folder, "TLog.bak"));
}

void KillTmpLogs(FileSystem& fs, const std::string& folder) {
    for (const char* name : kTmpLogs) (void)fs.removeUnheld(backupFilePath(folder, name));
}

bool CopyFileIfExist(FileSystem& fs, const std::string& src, const std::string& dst, int32_t& error) {
    error = err::kNone;
    if (!fs.exists(src)) return false;
    error = copyFile(fs, src, dst);
    return true;
}

int32_t BackupLog::startRotation(const std::string& folder, double offset) {
    ByteWriter w;
    w.putDouble(offset);
    uint8_t renamed = 0;
    for (int k = 0; k < 3; ++k) {
        if (fs_.exists(backupFilePath(folder, kGeneration2[k]))) renamed |= static_cast<uint8_t>(1u << k);
    }
    w.bytes().push_back(renamed);
    // Put in place whole: a record that is there is a rotation that began.
    const std::string recordPath = backupFilePath(folder, kRotationRecord);
    TemporaryFile tmp;
    const ByteView record(w.bytes());
    int32_t e = fs_.writeTemporary(recordPath, {&record, 1}, tmp);
    if (e == err::kNone) {
        e = fs_.renameFile(tmp.name, recordPath);
        if (e != err::kNone) (void)fs_.removeFile(tmp.name);
    }
    return e;
}

void BackupLog::rotate(ChartModel& model, const std::string& folder, RotationState& state, int32_t intervalMs,
                       double limitHours, bool rotationPending) {
    if (state.BackUpCount < INT32_MAX) ++state.BackUpCount;
    const int64_t elapsedMs = int64_t{state.BackUpCount} * intervalMs;
    if (!(static_cast<double>(elapsedMs) * kHoursPerMs > limitHours)) return;

    const double generationMinutes =
        static_cast<double>(int64_t{state.BackUpCount - 1} * intervalMs) * kMinutesPerMs;
    if (!state.SecondGeneration) {
        state.SecondGeneration = true;
        model.backupTargets() = BackupLogTargets::generation(folder, 2, false);
    } else {
        // One rotation at a time; one that cannot begin is tried again by
        // the next call, generation 2 meanwhile growing on.
        if (rotationPending) return;
        const double offset = state.LogTimeOffset + state.Generation1Minutes;
        if (startRotation(folder, offset) != err::kNone) return;
        state.LogTimeOffset = offset;
        // A step that fails leaves the rotation to the next call; the
        // appends meanwhile go where the rotation will put them.
        (void)finishRotation(fs_, folder);
    }
    state.Generation1Minutes = generationMinutes;
    state.BackUpCount = 1;
}

int32_t BackupLog::appendStores(ChartModel& model, const std::string& folder, const int32_t* limit,
                                bool& pointsToGeneration1) {
    BackupLogTargets targets = model.backupTargets();
    std::vector<uint8_t> record;
    pointsToGeneration1 = false;
    if (readRotationRecord(fs_, folder, record) && record.size() == kPendingRecordSize) {
        // A rotation still under way: append to the file that ends each kind
        // once it is done, never to a generation-2 file it will not rename.
        const BackupSet set = readBackupSet(fs_, folder);
        std::string* paths[3] = {&targets.MLogPath, &targets.ELogPath, &targets.DLogPath};
        for (int k = 0; k < 3; ++k) {
            *paths[k] = set.Generation2[k].empty() ? set.Generation1[k] : set.Generation2[k];
        }
        pointsToGeneration1 = set.Generation2[kPointKind].empty();
    }
    std::vector<Undo> undo;
    int32_t* onDisk[3] = {&pointsOnDisk_, &labelsOnDisk_, &methodsOnDisk_};
    int32_t written[3] = {0, 0, 0};

    auto append = [&](int kind, const std::string& path, int32_t count, auto put) -> int32_t {
        if (limit != nullptr && limit[kind] < count) count = limit[kind];
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
        for (int kind = 0; kind < 3; ++kind) *onDisk[kind] = written[kind];
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

int16_t BackupLog::backUp(ChartModel& model, const std::string& folder, RotationState& state, int32_t intervalMs,
                          double limitHours) {
    const bool rotationPending = finishRotation(fs_, folder) != err::kNone;
    bool pointsToGeneration1 = false;
    if (owed_[0] + owed_[1] + owed_[2] > 0) {
        // What earlier calls failed to write belongs to the generation they
        // ran in: it is written before this call may rotate.
        if (const int32_t e = appendStores(model, folder, owed_, pointsToGeneration1)) {
            if (state.BackUpCount < INT32_MAX) ++state.BackUpCount;
            return static_cast<int16_t>(e);
        }
    }
    rotate(model, folder, state, intervalMs, limitHours, rotationPending);
    const int32_t e = appendStores(model, folder, nullptr, pointsToGeneration1);
    if (pointsToGeneration1) {
        // This call's stretch of time went to the end of generation 1, so
        // the rotation that drops it moves the offset past it too.
        state.Generation1Minutes += static_cast<double>(intervalMs) * kMinutesPerMs;
        if (state.BackUpCount > 0) --state.BackUpCount;
    }
    if (e != err::kNone) {
        owed_[0] = model.points().count();
        owed_[1] = model.labels().count();
        owed_[2] = model.methods().count();
        return static_cast<int16_t>(e);
    }
    model.ClearData();
    pointsOnDisk_ = labelsOnDisk_ = methodsOnDisk_ = 0;
    owed_[0] = owed_[1] = owed_[2] = 0;
    const std::string oldTemporary = backupFilePath(folder, kOldTLogTemporary);
    if (fs_.exists(oldTemporary)) (void)fs_.removeFile(oldTemporary);
    removeLeftoverTemporaries(fs_, backupFilePath(folder, kRotationRecord));
    return 0;
}

int16_t BackupLog::BackUpLog(ChartModel& model, int32_t backUpIntervalmSec, double limitTimeHour) {
    if (!usableArguments(backUpIntervalmSec, limitTimeHour)) return static_cast<int16_t>(err::kInvalidProcedureCall);
    const std::string& folder = model.controlFolder();
    if (!isUsableLogFolder(folder) || fs_.kindOf(folder) != PathKind::Folder) {
        return static_cast<int16_t>(err::kPathNotFound);
    }
    return backUp(model, folder, rotation_.controlWide(), backUpIntervalmSec, limitTimeHour);
}

int16_t BackupLog::BackUpLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber,
                              int32_t backUpIntervalmSec, double limitTimeHour) {
    if (logPath.empty()) return static_cast<int16_t>(err::kPathNotFound);
    if (instanceNumber < 1) return static_cast<int16_t>(err::kSubscriptOutOfRange);
    if (!usableArguments(backUpIntervalmSec, limitTimeHour)) return static_cast<int16_t>(err::kInvalidProcedureCall);
    if (!isUsableLogFolder(logPath) || fs_.kindOf(logPath) != PathKind::Folder) {
        return static_cast<int16_t>(err::kPathNotFound);
    }
    rotation_.ensureInstance(instanceNumber);
    if (model.backupTargets().AtControlFolder) {
        model.backupTargets() = BackupLogTargets::generation(logPath, 1, false);
    }
    return backUp(model, logPath, *rotation_.instance(instanceNumber), backUpIntervalmSec, limitTimeHour);
}

void BackupLog::clearFolder(const std::string& folder) {
    // The point files go first: a clear cut short leaves no generation to
    // rebuild rather than labels without their points.
    for (const char* name : {"DLog1.bak", "DLog2.bak", "TLog.bak", "MLog1.bak", "ELog1.bak", "MLog2.bak",
                             "ELog2.bak", kRotationRecord, kOldTLogTemporary}) {
        (void)fs_.removeFile(backupFilePath(folder, name));
    }
    removeLeftoverTemporaries(fs_, backupFilePath(folder, kRotationRecord));
    KillTmpLogs(fs_, folder);
    pointsOnDisk_ = labelsOnDisk_ = methodsOnDisk_ = 0;
    owed_[0] = owed_[1] = owed_[2] = 0;
}

void BackupLog::ClearLog(ChartModel& model) {
    if (isUsableLogFolder(model.controlFolder())) clearFolder(model.controlFolder());
    rotation_.controlWide() = RotationState{};
    model.backupTargets() = BackupLogTargets::generation(model.controlFolder(), 1, true);
    model.ClearData();
}

void BackupLog::ClearLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber) {
    if (!isUsableLogFolder(logPath) || instanceNumber < 1) return;
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
