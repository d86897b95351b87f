#pragma once

#include <cstdint>
#include <string>

#include "BackupRotation.h"
#include "FileSystem.h"

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
class BackupLog {
public:
    explicit BackupLog(FileSystem& fs) : fs_(fs) {}

    // In the control's folder, with the control-wide rotation state.
    int16_t BackUpLog(ChartModel& model, int32_t backUpIntervalmSec, double limitTimeHour);
    void ClearLog(ChartModel& model);
    bool IsLogFileExist(const ChartModel& model);

    // In `logPath`, with the rotation state of `instanceNumber`. An empty
    // folder or an instance below 1 touches no file: 76 and 9 for the
    // backup call, nothing for the clear.
    int16_t BackUpLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber,
                       int32_t backUpIntervalmSec, double limitTimeHour);
    void ClearLog2(ChartModel& model, const std::string& logPath, int16_t instanceNumber);
    bool IsLogFileExist2(const std::string& logPath);

    BackupRotation& rotation() noexcept { return rotation_; }

private:
    void rotate(ChartModel& model, const std::string& folder, RotationState& state,
                int32_t intervalMs, double limitHours);
    int32_t appendStores(ChartModel& model);
    void clearFolder(const std::string& folder);

    FileSystem& fs_;
    BackupRotation rotation_;
    // Leading elements of each store already on disk after a failed call.
    int32_t pointsOnDisk_ = 0, labelsOnDisk_ = 0, methodsOnDisk_ = 0;
};

// Deletes the six working copies of a rebuild; failures are ignored.
void KillTmpLogs(FileSystem& fs, const std::string& folder);
// Copies `src` over `dst` when `src` exists: true when it did. A failing copy
// is reported in `error`.
bool CopyFileIfExist(FileSystem& fs, const std::string& src, const std::string& dst, int32_t& error);

}  // namespace pelomar::core
