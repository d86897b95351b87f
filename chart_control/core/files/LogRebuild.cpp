#include "LogRebuild.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "BackupLog.h"
#include "core/model/BackupLogPaths.h"
#include "BinaryIO.h"
#include "core/model/ChartModel.h"
#include "RecordCodec.h"
#include "common/SafeFile.h"
#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

namespace {

// A failing step of the rebuild: ends it with its error number.
struct Stop {
    int32_t error;
};

void check(int32_t e) {
    if (e != err::kNone) throw Stop{e};
}

// The working copies this rebuild holds: another copy of the program that
// rebuilds the same folder leaves them alone until they are let go.
class CopyHolds {
public:
    explicit CopyHolds(FileSystem& fs) : fs_(fs) {}
    void hold(const std::string& copy) {
        std::unique_ptr<FileHold> h;
        check(fs_.holdFile(copy, h));
        holds_.push_back(std::move(h));
    }
    void letGo() { holds_.clear(); }

private:
    FileSystem& fs_;
    std::vector<std::unique_ptr<FileHold>> holds_;
};

// A backup file and its working copy. The copy is written from the bytes
// read, and the rebuild goes on from those bytes rather than reading back the
// copy it has just written, which a rebuild of the same folder in another
// copy of the program may write over meanwhile.
struct WorkingCopy {
    bool made = false;
    std::vector<uint8_t> bytes;
};

// As CopyFileIfExist, keeping what it read.
WorkingCopy copyIfExist(FileSystem& fs, CopyHolds& holds, const std::string& bak, const std::string& tmp) {
    WorkingCopy c;
    if (bak.empty() || !fs.exists(bak)) return c;
    check(fs.readFile(bak, c.bytes));
    holds.hold(tmp);
    check(fs.writeFile(tmp, c.bytes.data(), c.bytes.size(), false));
    c.made = true;
    return c;
}

// Every whole record to the end of the file: an empty text is a record like
// any other, and a last record cut short by a crash is no record.
template <typename Get, typename Add>
void readTextRecords(const std::vector<uint8_t>& bytes, Get get, Add add) {
    ByteReader r(bytes);
    while (r.remaining() > 0) {
        auto rec = get(r);
        if (r.truncated()) break;
        add(rec);
    }
}

void ReadMethodLog(ChartModel& model, const std::vector<uint8_t>& bytes) {
    readTextRecords(bytes, getMethod, [&](const MethodRec& m) { (void)model.AddMethod(m.Method, m.XPos); });
}

void ReadEventLog(ChartModel& model, const std::vector<uint8_t>& bytes, const LabelAdded& labelAdded) {
    readTextRecords(bytes, getLabel, [&](const LabelRec& l) {
        (void)model.AddLabel(l.Label, l.Color, l.Offset, l.XPos);
        if (labelAdded) labelAdded(model.labels().count() - 1);
    });
}

// Whole records in a point file; a last record cut short by a crash is not
// one (its missing bytes would read as a made-up zero point).
int32_t pointRecordsOf(size_t bytes) {
    const size_t n = bytes / 8;
    if (n > static_cast<size_t>(INT32_MAX)) throw Stop{err::kOutOfMemory};
    return static_cast<int32_t>(n);
}

// The two point files and their working copies. Their bytes are read
// straight into the array that becomes the point store, generation 2 from
// the end of generation 1's whole records, and each copy is written from
// there: the points are never copied in memory. The sizes are taken before
// the first copy; nothing else writes the folder during a rebuild.
class PointCopies {
public:
    PointCopies(FileSystem& fs, CopyHolds& holds, const std::string& one, const std::string& two)
        : fs_(fs), holds_(holds), one_(one), two_(two), oneSize_(sizeOf(one)), twoSize_(sizeOf(two)) {
        const uint64_t first = oneSize_.value_or(0), second = twoSize_.value_or(0);
        const uint64_t records = std::max((first + 7) / 8, first / 8 + (second + 7) / 8);
        if (records > static_cast<uint64_t>(INT32_MAX)) throw Stop{err::kOutOfMemory};
        points_.resize(static_cast<size_t>(records));
    }

    bool hasOne() const { return oneMade_; }

    // As CopyFileIfExist of generation 1, then of generation 2.
    void copyOne(const std::string& tmp) { oneMade_ = copy(one_, tmp, 0, oneSize_, oneBytes_); }
    void copyTwo(const std::string& tmp) {
        twoMade_ = copy(two_, tmp, static_cast<size_t>(pointRecordsOf(oneBytes_)) * 8, twoSize_, twoBytes_);
    }

    // Joins generation 2 to the copy of generation 1 on disk: the copy is cut
    // to whole point records first, so that generation 2 joins it on a record
    // boundary. An empty source adds nothing; it is not a failure of the
    // join. The copy is deleted after the read, so it is not flushed.
    void AppendDataLog(const std::string& dest) {
        if (!twoMade_) return;
        const int32_t first = pointRecordsOf(oneBytes_);
        if (oneBytes_ % 8 != 0) check(fs_.truncateFile(dest, static_cast<uint64_t>(first) * 8));
        const int32_t second = pointRecordsOf(twoBytes_);
        if (second < 1) return;
        check(fs_.appendFile(dest, bytes() + static_cast<size_t>(first) * 8, static_cast<size_t>(second) * 8, false));
    }

    // The points of the joined copy become the store: generation 1's whole
    // records, then generation 2's when it was joined.
    void ReadDataLog(ChartModel& model) {
        const size_t joined = oneBytes_ / 8 * 8 + (twoMade_ ? twoBytes_ / 8 * 8 : 0);
        const int32_t n = pointRecordsOf(joined);
        if (n < 1) throw Stop{err::kSubscriptOutOfRange};  // an array 0 To -1
        points_.resize(static_cast<size_t>(n));
        model.points().assign(std::move(points_), n, n);
    }

private:
    // The size of a .bak file that exists.
    std::optional<uint64_t> sizeOf(const std::string& bak) {
        uint64_t size = 0;
        if (bak.empty() || fs_.fileSize(bak, size) != err::kNone) return std::nullopt;
        return size;
    }

    uint8_t* bytes() {
        static_assert(sizeof(PointRec) == 8 && offsetof(PointRec, Y2) == 4, "a point is two Singles, as on disk");
        static_assert(std::endian::native == std::endian::little, "a Single is stored as it is on disk");
        return reinterpret_cast<uint8_t*>(points_.data());
    }

    bool copy(const std::string& bak, const std::string& tmp, size_t at, std::optional<uint64_t> size, size_t& got) {
        got = 0;
        if (!size) return false;
        check(fs_.readFileInto(bak, {bytes() + at, static_cast<size_t>(*size)}, got));
        holds_.hold(tmp);
        check(fs_.writeFile(tmp, bytes() + at, got, false));
        return true;
    }

    FileSystem& fs_;
    CopyHolds& holds_;
    std::string one_, two_;
    std::optional<uint64_t> oneSize_, twoSize_;
    std::vector<PointRec> points_;
    bool oneMade_ = false, twoMade_ = false;
    size_t oneBytes_ = 0, twoBytes_ = 0;
};

}  // namespace

bool ApplyLogTimeOffset(ChartModel& model, FileSystem& fs, const std::string& folder) {
    return applyTimeOffsetFrom(model, fs, readBackupSet(fs, folder).OffsetFile);
}

bool applyTimeOffsetFrom(ChartModel& model, FileSystem& fs, const std::string& tlog) {
    if (!fs.exists(tlog)) return true;
    std::vector<uint8_t> bytes;
    if (fs.readFile(tlog, bytes) != err::kNone || bytes.size() < 8) return false;
    ByteReader r(bytes);
    const double t = r.getDouble();
    if (!(t > 0)) return true;
    for (int32_t i = 0; i < model.labels().count(); ++i) {
        if (LabelRec* l = model.labels().mutableAt(i)) l->XPos = static_cast<float>(l->XPos - t);
    }
    for (int32_t i = 0; i < model.methods().count(); ++i) {
        if (MethodRec* m = model.methods().mutableAt(i)) m->XPos = static_cast<float>(m->XPos - t);
    }
    return true;
}

int16_t rebuildLog(ChartModel& model, FileSystem& fs, const std::string& folder,
                   const std::string& fileName, const SaveChartFile& save, const LabelAdded& labelAdded) {
    if (folder.empty()) {  // nothing to read, and no root to litter
        model.ClearData();
        return kLogNotSaved;
    }
    auto path = [&](const char* name) { return backupFilePath(folder, name); };
    int32_t result = err::kNone;
    CopyHolds holds(fs);
    try {
        // A log file the user may not write is refused before any work.
        check(checkReplaceable(fs, fileName));
        // A rotation cut short is read as done; the backup files stay as
        // they are.
        const BackupSet set = readBackupSet(fs, folder);
        PointCopies points(fs, holds, set.Generation1[kPointKind], set.Generation2[kPointKind]);
        WorkingCopy m1 = copyIfExist(fs, holds, set.Generation1[kMethodKind], path("MLog1.tmp"));
        WorkingCopy e1 = copyIfExist(fs, holds, set.Generation1[kLabelKind], path("ELog1.tmp"));
        points.copyOne(path("DLog1.tmp"));
        WorkingCopy m2 = copyIfExist(fs, holds, set.Generation2[kMethodKind], path("MLog2.tmp"));
        WorkingCopy e2 = copyIfExist(fs, holds, set.Generation2[kLabelKind], path("ELog2.tmp"));
        points.copyTwo(path("DLog2.tmp"));

        if (m1.made) ReadMethodLog(model, m1.bytes);
        if (m2.made) ReadMethodLog(model, m2.bytes);
        if (e1.made) ReadEventLog(model, e1.bytes, labelAdded);
        if (e2.made) ReadEventLog(model, e2.bytes, labelAdded);
        for (WorkingCopy* c : {&m1, &m2, &e1, &e2}) std::vector<uint8_t>().swap(c->bytes);

        if (points.hasOne()) {
            points.AppendDataLog(path("DLog1.tmp"));
            points.ReadDataLog(model);
            holds.letGo();
            KillTmpLogs(fs, folder);
            model.propertyFields().XEnd = model.GetDuration();
            bool ok = applyTimeOffsetFrom(model, fs, set.OffsetFile);
            if (ok) ok = save(fileName, model.points().count());
            if (!ok) result = kLogNotSaved;
        } else {
            result = kLogNotSaved;
        }
    } catch (const Stop& stop) {
        result = stop.error;
    } catch (const RuntimeError& e) {
        result = e.number();
    }
    // Every path leaves the stores empty and no working copy behind, so a
    // later rebuild on this chart starts clean.
    holds.letGo();
    KillTmpLogs(fs, folder);
    model.ClearData();
    return static_cast<int16_t>(result);
}

}  // namespace pelomar::core
