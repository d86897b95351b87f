#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/ChartRecords.h"
#include "common/FileSystem.h"
#include "core/model/GrowableStore.h"

namespace pelomar::core {

class ChartModel;

inline constexpr size_t kDataFileHeaderSize = 136;
inline constexpr float kDataFileVersion = 1.1f;

// The largest upper bounds a file may declare. A 48-hour run at 5 points a
// second is 864 000 points, and the longest backup generations the recorder
// can count (two of 596 hours) rebuild to 21.5 million; 2^26 points (155
// days, a 537 MB file) is beyond any run and still a size that can be held.
// Labels and methods come at most a few a minute; 2^20 of each is far beyond.
inline constexpr int32_t kMaxPointUBound = 1 << 26;
inline constexpr int32_t kMaxLabelUBound = 1 << 20;
inline constexpr int32_t kMaxMethodUBound = 1 << 20;

struct DataFileHeader {
    float Version = kDataFileVersion;
    float XStart = 0, XEnd = 0, Y1Start = 0, Y1End = 0, Y2Start = 0, Y2End = 0;
    int32_t MethodCount = 0, MethodUBound = 0;
    int32_t LabelCount = 0, LabelUBound = 0;
    int32_t NumPoints = 0, PointUBound = 0;
};

// A data file ready to be written: header, notes, then elements 0..upper
// bound of methods and labels in `head`, then `pointRecords` point elements:
// those the store holds straight from the store (a point is two Singles, as
// on disk), then empty ones. `points` points into the store, which must
// outlive it unchanged.
struct EncodedDataFile {
    std::vector<uint8_t> head;
    ByteView points;
    std::vector<uint8_t> emptyPoints;

    std::array<ByteView, 3> pieces() const { return {ByteView(head), points, ByteView(emptyPoints)}; }
    // The pieces joined.
    std::vector<uint8_t> bytes() const;
};

EncodedDataFile encodeDataFile(const DataFileHeader& header, const std::string& notes,
                               const GrowableStore<MethodRec>& methods, const GrowableStore<LabelRec>& labels,
                               const GrowableStore<PointRec>& points, int64_t pointRecords);

// The whole chart as SaveToFile writes it. `pointRecords` < 0 writes the
// point array up to its upper bound.
EncodedDataFile chartFile(const ChartModel& model, int64_t pointRecords = -1);
std::vector<uint8_t> chartFileBytes(const ChartModel& model, int64_t pointRecords = -1);

// The view window shifted to time 0, as SaveSelectedToFile writes it.
// Returns 0 or the error number (6 for a time beyond the index range, 9 for
// a view that copies points below the first one or ends before it starts).
int32_t selectionFileBytes(const ChartModel& model, std::vector<uint8_t>& out);

// What a file holds: only the elements present in the file, the header's
// counts and bounds beside them.
struct DataFileContent {
    DataFileHeader header;
    std::string notes;
    std::vector<MethodRec> methods;
    std::vector<LabelRec> labels;
    std::vector<PointRec> points;
};

enum class ReadStatus { Read, OlderVersion, Failed };

struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    int32_t error = 0;  // for Failed
};

// Checks the header before anything is sized by it: negative figures and
// counts above their bounds are error 9, bounds above the ceilings error 7.
// A file cut short inside its records is not an error.
ReadResult decodeDataFile(const std::vector<uint8_t>& bytes, DataFileContent& out);
ReadResult readDataFile(FileSystem& fs, const std::string& path, DataFileContent& out);

// Replaces the model's stores, counts and ranges by what was read.
void commitDataFile(ChartModel& model, DataFileContent&& content);

}  // namespace pelomar::core
