#pragma once

#include <cstdint>
#include <string>

#include "BackupRotation.h"
#include "common/FileSystem.h"

namespace pelomar::core {

class ChartModel;

// The backup members of one control: each call appends what the chart's
// stores hold to the current generation's files and empties the stores,
// rotating to a new generation when the hour limit is passed.
//
// Every append is flushed before a call returns 0. A call that fails cuts
// each file back to its length before the call and keeps the stores, so the
// next call writes them once; should the cut itself fail, the call remembers
// how much of each store is on disk and the next call appends only the rest.
//
// A rotation rolls forward: it first puts a record of the new offset and of
// the generation-2 files it will rename beside TLog.bak, then renames, and
// last moves the record over TLog.bak. A rotation cut short by a kill or a
// failure is finished by the next call, and read as finished by the log
// rebuild (readBackupSet), so the files always give the state before a
// rotation or the state after it.
class BackupLog {
public:
    explicit BackupLog(FileSystem& fs) : fs_(fs) {}

    // In the control's folder, with the control-wide rotation state; 76
    // when the control has no usable folder.
    int16_t BackUpLog(ChartModel& model, int32_t backUpIntervalmSec, double limitTimeHour);
    void ClearLog(ChartModel& model);
    bool IsLogFileExist(const ChartModel& model);

    // In `logPath`, with the rotation state of `instanceNumber`. A call that
    // cannot work touches no file: 76 for no folder, the root or a folder
    // that does not exist, 9 for an instance below 1, 5 for an interval of 0
    // or less or a limit that is not a number, 0 or less, or shorter than
    // one interval. The clear does nothing in such a folder.
    int16_t BackUpLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber,
                       int32_t backUpIntervalmSec, double limitTimeHour);
    void ClearLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber);
    bool IsLogFileExist2(const std::string& logPath);

    BackupRotation& rotation() noexcept { return rotation_; }

private:
    int16_t backUp(ChartModel& model, const std::string& folder, RotationState& state, int32_t intervalMs,
                   double limitHours);
    void rotate(ChartModel& model, const std::string& folder, RotationState& state, int32_t intervalMs,
                double limitHours, bool rotationPending);
    int32_t startRotation(const std::string& folder, double offset);
    // `pointsToGeneration1`: a rotation under way had the points appended
    // to the end of generation 1.
    // Appends the store elements not yet on disk, up to `limit` per kind
    // (points, labels, methods; null: all).
    int32_t appendStores(ChartModel& model, const std::string& folder, const int32_t* limit,
                         bool& pointsToGeneration1);
    void clearFolder(const std::string& folder);

    FileSystem& fs_;
    BackupRotation rotation_;
    // Leading elements of each store already on disk after a failed call.
    int32_t pointsOnDisk_ = 0, labelsOnDisk_ = 0, methodsOnDisk_ = 0;
    // Store elements of earlier calls that failed (points, labels, methods).
    int32_t owed_[3] = {0, 0, 0};
};

// Kinds of backup file, in the order of the names below.
inline constexpr int kMethodKind = 0, kLabelKind = 1, kPointKind = 2;

// What the files of a backup folder hold, a rotation cut short read as
// finished: per kind (methods, labels, points) the file of generation 1 and
// the one of generation 2 (empty: none; a named file may not exist), and the
// file whose first 8 bytes are the offset of generation 1.
struct BackupSet {
    std::string Generation1[3], Generation2[3];
    std::string OffsetFile;
};
BackupSet readBackupSet(FileSystem& fs, const std::string& folder);

// Finishes a rotation that was cut short; 0 when none is left pending.
int32_t finishRotation(FileSystem& fs, const std::string& folder);

// Deletes the six working copies of a rebuild, but for those a rebuild in
// another copy of the program still holds; failures are ignored.
void KillTmpLogs(FileSystem& fs, const std::string& folder);
// Copies `src` over `dst` when `src` exists: true when it did. A failing copy
// is reported in `error`.
bool CopyFileIfExist(FileSystem& fs, const std::string& src, const std::string& dst, int32_t& error);

}  // namespace pelomar::core
