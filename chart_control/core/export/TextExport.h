#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/ChartRecords.h"
#include "common/FileSystem.h"
#include "core/model/GrowableStore.h"
#include "pelomar/Enums.h"

namespace pelomar::core {

class ChartModel;

// What the export is asked for; the export writes back MethodPos (-1 when
// there is no methods text), ExpUV and ExpCond (False when there are no grid
// rows) and ExpEvents (False when no event lies in the range).
struct TextExportArgs {
    bool ExpUV = false;
    bool ExpCond = false;
    bool ExpEvents = false;
    bool ExpNotes = false;
    bool ExpMethods = false;
    int16_t MethodPos = 0;  // 0 block before the table, 1 after, 2 column
    float ExpFromTime = 0;
    float ExpToTime = 0;
    float ExpSamplingRate = 1;
    int32_t ExpNumPoints = 0;
};

// The grid row counter is a 16-bit integer that may just reach this.
inline constexpr int32_t kMaxExportRows = 32768;

// Count grid times from FromTime at Rate (per second for a strip chart, whose
// times are minutes; per X unit otherwise). Raises 11 for a rate of 0, 6 for
// more than kMaxExportRows rows or a step or time beyond a Single.
void MakeTimeGrid(std::vector<float>& Times, float FromTime, float Rate, int32_t Count, ChartTypeEnm type);

// The trace (Y1 or Y2) on the line between the points around each time; a
// time on a point gives its stored value. Raises 9 for a time whose point is
// not a recorded one (before the first or past the last), 6 for a time
// beyond the index range. Within the last sample interval the last value
// holds, since no later point was recorded.
void InterpolateTrace(const ChartModel& model, bool UseY1, const std::vector<float>& Times,
                      std::vector<float>& Values);

// First and last label of the range FromTime..ToTime (both ends included)
// in store order; FirstIdx -1 when none lies in it (LastIdx is then
// meaningless).
void FindEventRange(const GrowableStore<LabelRec>& labels, float FromTime, float ToTime, int32_t& LastIdx,
                    int32_t& FirstIdx);

// The file's bytes, CR LF line ends, code-page texts as stored. Returns 0 or
// the error number; `out` is complete only on 0.
int32_t buildTextExport(const ChartModel& model, TextExportArgs& args, char decimalSeparator, std::string& out);

// Builds the file and writes it whole: a failed export leaves an existing
// file as it was.
int32_t ExportTextData(const ChartModel& model, FileSystem& fs, const std::string& ExpFileName,
                       TextExportArgs& args, char decimalSeparator);

}  // namespace pelomar::core
