#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/FileSystem.h"

namespace pelomar::core {

class ChartModel;

// Result of a rebuild that found no generation-1 point file, could not apply
// the time offset or could not write the log file.
inline constexpr int16_t kLogNotSaved = -17;

// Writes the chart as a data file; `pointRecords` point elements follow the
// header. True on success.
using SaveChartFile = std::function<bool(const std::string& fileName, int64_t pointRecords)>;
// Called after each label is added, with its index (to draw its mark).
using LabelAdded = std::function<void(int32_t index)>;

// Turns the backup files of `folder` into one log file through the chart's
// stores: generation 1 then 2, labels and methods moved by the TLog offset.
// Returns 0, kLogNotSaved or the error number that stopped it (75 before
// anything is read when `fileName` is a file this process may not write;
// a rotation cut short is read as finished, see readBackupSet). The stores
// are empty and no working copy is left on every path.
int16_t rebuildLog(ChartModel& model, FileSystem& fs, const std::string& folder,
                   const std::string& fileName, const SaveChartFile& save,
                   const LabelAdded& labelAdded = {});

// Subtracts the TLog value of `folder`, when it is > 0, from every label and
// method position. False when TLog exists but cannot be read.
bool ApplyLogTimeOffset(ChartModel& model, FileSystem& fs, const std::string& folder);
// The same with the offset read from the first 8 bytes of `offsetFile`.
bool applyTimeOffsetFrom(ChartModel& model, FileSystem& fs, const std::string& offsetFile);

}  // namespace pelomar::core
