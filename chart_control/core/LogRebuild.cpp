#include "LogRebuild.h"

#include <algorithm>
#include <vector>

#include "BackupLog.h"
#include "BackupLogPaths.h"
#include "BinaryIO.h"
#include "ChartModel.h"
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

std::vector<uint8_t> readAll(FileSystem& fs, const std::string& path) {
    std::vector<uint8_t> bytes;
    check(fs.readFile(path, bytes));
    return bytes;
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

void ReadMethodLog(ChartModel& model, FileSystem& fs, const std::string& path) {
    readTextRecords(readAll(fs, path), getMethod, [&](const MethodRec& m) { (void)model.AddMethod(m.Method, m.XPos); });
}

void ReadEventLog(ChartModel& model, FileSystem& fs, const std::string& path, const LabelAdded& labelAdded) {
    readTextRecords(readAll(fs, path), getLabel, [&](const LabelRec& l) {
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

void ReadDataLog(ChartModel& model, FileSystem& fs, const std::string& path) {
    const std::vector<uint8_t> raw = readAll(fs, path);
    const int32_t n = pointRecordsOf(raw.size());
    if (n < 1) throw Stop{err::kSubscriptOutOfRange};  // an array 0 To -1
    ByteReader r(raw);
    std::vector<PointRec> points(static_cast<size_t>(n));
    for (PointRec& p : points) p = getPoint(r);
    model.points().assign(std::move(points), n, n);
}

// An empty source adds nothing; it is not a failure of the join. The working
// copy is deleted after the read, so it is not flushed.
void AppendDataLog(FileSystem& fs, const std::string& dest, const std::string& src) {
    std::vector<uint8_t> raw = readAll(fs, src);
    const int32_t n = pointRecordsOf(raw.size());
    if (n < 1) return;
    raw.resize(static_cast<size_t>(n) * 8);
    check(fs.appendFile(dest, raw.data(), raw.size(), false));
}

// Cuts a copy of generation 1 to whole point records, so that generation 2
// joins it on a record boundary.
void dropTornPoint(FileSystem& fs, const std::string& path) {
    uint64_t size = 0;
    check(fs.fileSize(path, size));
    if (size % 8 != 0) check(fs.truncateFile(path, size - size % 8));
}

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
    try {
        // A log file the user may not write is refused before any work.
        check(checkReplaceable(fs, fileName));
        // A rotation cut short is read as done; the backup files stay as
        // they are.
        const BackupSet set = readBackupSet(fs, folder);
        auto copy = [&](const std::string& bak, const char* tmp) {
            int32_t e = err::kNone;
            const bool copied = !bak.empty() && CopyFileIfExist(fs, bak, path(tmp), e);
            check(e);
            return copied;
        };
        const bool m1 = copy(set.Generation1[kMethodKind], "MLog1.tmp");
        const bool e1 = copy(set.Generation1[kLabelKind], "ELog1.tmp");
        const bool d1 = copy(set.Generation1[kPointKind], "DLog1.tmp");
        const bool m2 = copy(set.Generation2[kMethodKind], "MLog2.tmp");
        const bool e2 = copy(set.Generation2[kLabelKind], "ELog2.tmp");
        const bool d2 = copy(set.Generation2[kPointKind], "DLog2.tmp");

        if (m1) ReadMethodLog(model, fs, path("MLog1.tmp"));
        if (m2) ReadMethodLog(model, fs, path("MLog2.tmp"));
        if (e1) ReadEventLog(model, fs, path("ELog1.tmp"), labelAdded);
        if (e2) ReadEventLog(model, fs, path("ELog2.tmp"), labelAdded);

        if (d1) {
            if (d2) {
                dropTornPoint(fs, path("DLog1.tmp"));
                AppendDataLog(fs, path("DLog1.tmp"), path("DLog2.tmp"));
            }
            ReadDataLog(model, fs, path("DLog1.tmp"));
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
    KillTmpLogs(fs, folder);
    model.ClearData();
    return static_cast<int16_t>(result);
}

}  // namespace pelomar::core
