#include "LogRebuild.h"

#include <algorithm>
#include <vector>

#include "BackupLog.h"
#include "BackupLogPaths.h"
#include "BinaryIO.h"
#include "ChartModel.h"
#include "RecordCodec.h"
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

// Records until one with an empty text (reading past the end gives one);
// the first record is added whatever it holds.
template <typename Get, typename Add>
void readTextRecords(const std::vector<uint8_t>& bytes, Get get, Add add) {
    ByteReader r(bytes);
    auto rec = get(r);
    while (true) {
        add(rec);
        rec = get(r);
        if (rec.textEmpty()) break;
    }
}

struct MethodItem {
    MethodRec rec;
    bool textEmpty() const { return rec.Method.empty(); }
};
struct LabelItem {
    LabelRec rec;
    bool textEmpty() const { return rec.Label.empty(); }
};

void ReadMethodLog(ChartModel& model, FileSystem& fs, const std::string& path) {
    readTextRecords(
        readAll(fs, path), [](ByteReader& r) { return MethodItem{getMethod(r)}; },
        [&](const MethodItem& m) { (void)model.AddMethod(m.rec.Method, m.rec.XPos); });
}

void ReadEventLog(ChartModel& model, FileSystem& fs, const std::string& path, const LabelAdded& labelAdded) {
    readTextRecords(
        readAll(fs, path), [](ByteReader& r) { return LabelItem{getLabel(r)}; },
        [&](const LabelItem& l) {
            (void)model.AddLabel(l.rec.Label, l.rec.Color, l.rec.Offset, l.rec.XPos);
            if (labelAdded) labelAdded(model.labels().count() - 1);
        });
}

// Records in a point file: its length / 8, a half to even; a partial last
// record reads as zeros beyond the end.
int32_t pointRecordsOf(size_t bytes) { return toLong(static_cast<double>(bytes) / 8.0); }

std::vector<uint8_t> pointBytes(std::vector<uint8_t> bytes, int32_t n) {
    bytes.resize(static_cast<size_t>(n) * 8, 0);
    return bytes;
}

void ReadDataLog(ChartModel& model, FileSystem& fs, const std::string& path) {
    const std::vector<uint8_t> raw = readAll(fs, path);
    const int32_t n = pointRecordsOf(raw.size());
    if (n < 1) throw Stop{err::kSubscriptOutOfRange};  // an array 0 To -1
    const std::vector<uint8_t> bytes = pointBytes(raw, n);
    ByteReader r(bytes);
    std::vector<PointRec> points(static_cast<size_t>(n));
    for (PointRec& p : points) p = getPoint(r);
    model.points().assign(std::move(points), n, n);
}

// An empty source adds nothing; it is not a failure of the join. The working
// copy is deleted after the read, so it is not flushed.
void AppendDataLog(FileSystem& fs, const std::string& dest, const std::string& src) {
    const std::vector<uint8_t> raw = readAll(fs, src);
    const int32_t n = pointRecordsOf(raw.size());
    if (n < 1) return;
    const std::vector<uint8_t> bytes = pointBytes(raw, n);
    check(fs.appendFile(dest, bytes.data(), bytes.size(), false));
}

}  // namespace

bool ApplyLogTimeOffset(ChartModel& model, FileSystem& fs, const std::string& folder) {
    const std::string tlog = backupFilePath(folder, "TLog.bak");
    if (!fs.exists(tlog)) return true;
    std::vector<uint8_t> bytes;
    if (fs.readFile(tlog, bytes) != err::kNone) return false;
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
        int32_t e = err::kNone;
        const bool m1 = CopyFileIfExist(fs, path("MLog1.bak"), path("MLog1.tmp"), e);
        check(e);
        const bool e1 = CopyFileIfExist(fs, path("ELog1.bak"), path("ELog1.tmp"), e);
        check(e);
        const bool d1 = CopyFileIfExist(fs, path("DLog1.bak"), path("DLog1.tmp"), e);
        check(e);
        const bool m2 = CopyFileIfExist(fs, path("MLog2.bak"), path("MLog2.tmp"), e);
        check(e);
        const bool e2 = CopyFileIfExist(fs, path("ELog2.bak"), path("ELog2.tmp"), e);
        check(e);
        const bool d2 = CopyFileIfExist(fs, path("DLog2.bak"), path("DLog2.tmp"), e);
        check(e);

        if (m1) ReadMethodLog(model, fs, path("MLog1.tmp"));
        if (m2) ReadMethodLog(model, fs, path("MLog2.tmp"));
        if (e1) ReadEventLog(model, fs, path("ELog1.tmp"), labelAdded);
        if (e2) ReadEventLog(model, fs, path("ELog2.tmp"), labelAdded);

        if (d1) {
            if (d2) AppendDataLog(fs, path("DLog1.tmp"), path("DLog2.tmp"));
            ReadDataLog(model, fs, path("DLog1.tmp"));
            KillTmpLogs(fs, folder);
            model.propertyFields().XEnd = model.GetDuration();
            bool ok = ApplyLogTimeOffset(model, fs, folder);
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
