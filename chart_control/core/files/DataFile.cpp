#include "DataFile.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

#include "BinaryIO.h"
#include "core/model/ChartModel.h"
#include "RecordCodec.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

namespace {

constexpr size_t kReservedBytes = 84;
constexpr uint8_t kVersionBytes[4] = {0xCD, 0xCC, 0x8C, 0x3F};
constexpr size_t kMaxText = 0xFFFF;

size_t textSize(const std::string& s) { return 2 + std::min(s.size(), kMaxText); }

void putHeader(ByteWriter& w, const DataFileHeader& h) {
    w.putSingle(h.Version);
    w.putSingle(h.XStart);
    w.putSingle(h.XEnd);
    w.putSingle(h.Y1Start);
    w.putSingle(h.Y1End);
    w.putSingle(h.Y2Start);
    w.putSingle(h.Y2End);
    w.putLong(h.MethodCount);
    w.putLong(h.MethodUBound);
    w.putLong(h.LabelCount);
    w.putLong(h.LabelUBound);
    w.putLong(h.NumPoints);
    w.putLong(h.PointUBound);
    w.bytes().insert(w.bytes().end(), kReservedBytes, 0);
}

DataFileHeader getHeader(ByteReader& r) {
    DataFileHeader h;
    h.Version = r.getSingle();
    h.XStart = r.getSingle();
    h.XEnd = r.getSingle();
    h.Y1Start = r.getSingle();
    h.Y1End = r.getSingle();
    h.Y2Start = r.getSingle();
    h.Y2End = r.getSingle();
    h.MethodCount = r.getLong();
    h.MethodUBound = r.getLong();
    h.LabelCount = r.getLong();
    h.LabelUBound = r.getLong();
    h.NumPoints = r.getLong();
    h.PointUBound = r.getLong();
    (void)r.getBytes(kReservedBytes);
    return h;
}

// The first `records` elements: those held straight from the store, those
// beyond empty.
void putPoints(EncodedDataFile& file, const GrowableStore<PointRec>& points, int64_t records) {
    static_assert(sizeof(PointRec) == 8 && offsetof(PointRec, Y2) == 4, "a point is two Singles, as on disk");
    static_assert(std::endian::native == std::endian::little, "a Single is stored as it is on disk");
    if (records <= 0) return;
    const size_t held = std::min(points.held(), static_cast<size_t>(records));
    file.points = ByteView(reinterpret_cast<const uint8_t*>(&points.at(0)), held * sizeof(PointRec));
    file.emptyPoints.assign((static_cast<size_t>(records) - held) * sizeof(PointRec), 0);
}

int32_t checkArray(int32_t count, int32_t ubound, int32_t ceiling) {
    if (count < 0 || ubound < 0 || count > ubound) return err::kSubscriptOutOfRange;
    if (ubound > ceiling) return err::kOutOfMemory;
    return err::kNone;
}

// Reads up to `elements` records while the file has bytes left; the rest of
// the array reads as empty through the store.
template <typename T, typename Get>
std::vector<T> readRecords(ByteReader& r, int64_t elements, Get get) {
    std::vector<T> items;
    for (int64_t i = 0; i < elements && r.remaining() > 0; ++i) items.push_back(get(r));
    return items;
}

// The entries first..last whose XPos lies in [start, end], moved to start at 0.
template <typename T>
GrowableStore<T> selectByTime(const GrowableStore<T>& store, float start, float end) {
    const int32_t count = store.count();
    int32_t first = -1, last = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (store.at(i).XPos >= start) {
            first = i;
            break;
        }
    }
    if (first >= 0) {
        for (int32_t i = count - 1; i >= first; --i) {
            if (store.at(i).XPos <= end) {
                last = i;
                break;
            }
        }
    }
    const int32_t m = (first >= 0 && last >= first) ? last - first + 1 : 0;
    std::vector<T> items(static_cast<size_t>(m) + 1);
    for (int32_t k = 0; k < m; ++k) {
        items[static_cast<size_t>(k)] = store.at(first + k);
        items[static_cast<size_t>(k)].XPos = store.at(first + k).XPos - start;
    }
    GrowableStore<T> selected(1, std::numeric_limits<size_t>::max());
    selected.assign(std::move(items), m, m);
    return selected;
}

}  // namespace

std::vector<uint8_t> EncodedDataFile::bytes() const {
    std::vector<uint8_t> out;
    out.reserve(head.size() + points.size() + emptyPoints.size());
    for (const ByteView& piece : pieces()) out.insert(out.end(), piece.begin(), piece.end());
    return out;
}

EncodedDataFile encodeDataFile(const DataFileHeader& header, const std::string& notes,
                               const GrowableStore<MethodRec>& methods, const GrowableStore<LabelRec>& labels,
                               const GrowableStore<PointRec>& points, int64_t pointRecords) {
    const int32_t methodElements = methods.upperBound() + 1;
    const int32_t labelElements = labels.upperBound() + 1;
    size_t size = kDataFileHeaderSize + textSize(notes);
    for (int32_t i = 0; i < methodElements; ++i) size += 4 + textSize(methods.at(i).Method);
    for (int32_t i = 0; i < labelElements; ++i) size += 10 + textSize(labels.at(i).Label);

    ByteWriter w;
    w.bytes().reserve(size);
    putHeader(w, header);
    w.putText(notes);
    for (int32_t i = 0; i < methodElements; ++i) putMethod(w, methods.at(i));
    for (int32_t i = 0; i < labelElements; ++i) putLabel(w, labels.at(i));
    EncodedDataFile file;
    file.head = std::move(w.bytes());
    putPoints(file, points, pointRecords);
    return file;
}

EncodedDataFile chartFile(const ChartModel& model, int64_t pointRecords) {
    const ChartProperties& p = model.properties();
    DataFileHeader h;
    h.XStart = p.XStart;
    h.XEnd = p.XEnd;
    h.Y1Start = p.Y1Start;
    h.Y1End = p.Y1End;
    h.Y2Start = p.Y2Start;
    h.Y2End = p.Y2End;
    h.MethodCount = model.methods().count();
    h.MethodUBound = model.methods().upperBound();
    h.LabelCount = model.labels().count();
    h.LabelUBound = model.labels().upperBound();
    h.NumPoints = model.points().count();
    h.PointUBound = model.points().upperBound();
    const int64_t records = pointRecords < 0 ? int64_t{h.PointUBound} + 1 : pointRecords;
    return encodeDataFile(h, model.GetNotes(), model.methods(), model.labels(), model.points(), records);
}

std::vector<uint8_t> chartFileBytes(const ChartModel& model, int64_t pointRecords) {
    return chartFile(model, pointRecords).bytes();
}

int32_t selectionFileBytes(const ChartModel& model, std::vector<uint8_t>& out) {
    const ViewWindow& v = model.view();
    const int32_t numPoints = model.NumPoints();
    int64_t i0 = 0, n = 0;
    try {
        i0 = model.TimeToIndex(v.XStart);
        if (i0 < numPoints) {
            int64_t i1 = model.TimeToIndex(v.XEnd);
            if (i1 > numPoints - 1) i1 = numPoints - 1;
            n = i1 - i0 + 1;
        }
    } catch (const RuntimeError& e) {
        return e.number();
    }
    // Only points that are copied need to exist: a view before time 0 that
    // selects none is saved empty.
    if (n < 0 || (n > 0 && i0 < 0)) return err::kSubscriptOutOfRange;

    std::vector<PointRec> pts(static_cast<size_t>(n) + 1);
    for (int64_t k = 0; k < n; ++k) pts[static_cast<size_t>(k)] = model.points().at(static_cast<int32_t>(i0 + k));
    GrowableStore<PointRec> points(1, std::numeric_limits<size_t>::max());
    points.assign(std::move(pts), static_cast<int32_t>(n), static_cast<int32_t>(n));
    const GrowableStore<MethodRec> methods = selectByTime(model.methods(), v.XStart, v.XEnd);
    const GrowableStore<LabelRec> labels = selectByTime(model.labels(), v.XStart, v.XEnd);

    DataFileHeader h;
    h.XStart = 0;
    h.XEnd = v.XEnd - v.XStart;
    h.Y1Start = v.Y1Start;
    h.Y1End = v.Y1End;
    h.Y2Start = v.Y2Start;
    h.Y2End = v.Y2End;
    h.MethodCount = h.MethodUBound = methods.count();
    h.LabelCount = h.LabelUBound = labels.count();
    h.NumPoints = h.PointUBound = points.count();
    out = encodeDataFile(h, model.GetNotes(), methods, labels, points, n + 1).bytes();
    return err::kNone;
}

ReadResult decodeDataFile(const std::vector<uint8_t>& bytes, DataFileContent& out) {
    if (bytes.size() < sizeof kVersionBytes || std::memcmp(bytes.data(), kVersionBytes, sizeof kVersionBytes) != 0) {
        return {ReadStatus::OlderVersion, err::kNone};
    }
    ByteReader r(bytes);
    DataFileContent c;
    c.header = getHeader(r);
    const DataFileHeader& h = c.header;
    for (const int32_t e : {checkArray(h.MethodCount, h.MethodUBound, kMaxMethodUBound),
                            checkArray(h.LabelCount, h.LabelUBound, kMaxLabelUBound),
                            checkArray(h.NumPoints, h.PointUBound, kMaxPointUBound)}) {
        if (e != err::kNone) return {ReadStatus::Failed, e};
    }
    c.notes = r.getText();
    c.methods = readRecords<MethodRec>(r, int64_t{h.MethodUBound} + 1, getMethod);
    c.labels = readRecords<LabelRec>(r, int64_t{h.LabelUBound} + 1, getLabel);
    const int64_t pointsInFile = std::min<int64_t>(int64_t{h.PointUBound} + 1, (r.remaining() + 7) / 8);
    c.points.resize(static_cast<size_t>(pointsInFile));
    for (PointRec& p : c.points) p = getPoint(r);
    out = std::move(c);
    return {ReadStatus::Read, err::kNone};
}

ReadResult readDataFile(FileSystem& fs, const std::string& path, DataFileContent& out) {
    std::vector<uint8_t> bytes;
    if (const int32_t e = fs.readFile(path, bytes)) return {ReadStatus::Failed, e};
    return decodeDataFile(bytes, out);
}

void commitDataFile(ChartModel& model, DataFileContent&& content) {
    const DataFileHeader& h = content.header;
    model.methods().assign(std::move(content.methods), h.MethodCount, h.MethodUBound);
    model.labels().assign(std::move(content.labels), h.LabelCount, h.LabelUBound);
    model.points().assign(std::move(content.points), h.NumPoints, h.PointUBound);
    model.notes().Notes = std::move(content.notes);
    ChartProperties& p = model.propertyFields();
    p.XStart = h.XStart;
    p.XEnd = h.XEnd;
    p.Y1Start = h.Y1Start;
    p.Y1End = h.Y1End;
    p.Y2Start = h.Y2Start;
    p.Y2End = h.Y2End;
    if (model.lastDrawn() > h.NumPoints) model.setLastDrawn(h.NumPoints);
}

}  // namespace pelomar::core
