#include "TextExport.h"

#include <cmath>
#include <limits>
#include <new>

#include "core/model/ChartModel.h"
#include "core/drawing/EventMarks.h"
#include "common/NumberFormat.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "TextLines.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

namespace {

constexpr char kTimeHeader[] = "Time [min.]:";
constexpr char kUVHeader[] = "UV [A.U.]:";
constexpr char kCondHeader[] = "Conductivity [mS/cm]:";
constexpr char kEventsHeader[] = "Events:";
constexpr char kMethodsHeader[] = "Methods Information:";
constexpr char kNotesHeader[] = "Notes:";
constexpr char kEmptyLine[] = "--------------------------------------------------";
constexpr char kLineEnd[] = "\r\n";
constexpr int16_t kNotesWidth = 40;

// A Double stored into a Single: beyond its range is an overflow.
float toSingle(double value) {
    if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
        throw RuntimeError(err::kOverflow);
    return static_cast<float>(value);
}

void appendRow(std::string& out, const std::string (&cells)[6]) {
    for (int c = 0; c < 6; ++c) {
        if (c > 0) out.push_back('\t');
        out += cells[c];
    }
    out += kLineEnd;
}

void WriteMethodsBlock(std::string& out, const std::string& AllMethods) {
    out += kMethodsHeader;
    out += kLineEnd;
    int32_t pos = 1;
    std::string line;
    bool more = true;
    for (;;) {
        GetNextLine(pos, AllMethods, line, more);
        if (!more) break;
        out += line.empty() ? kEmptyLine : line;
        out += kLineEnd;
    }
}

// One list column (methods or notes): the next line, an empty one shown as
// dashes; the column ends in the row where the reader reports the end.
template <typename Reader>
std::string nextListCell(bool& on, Reader&& read) {
    std::string line;
    bool more = false;
    read(line, more);
    if (!more) {
        on = false;
        return {};
    }
    return line.empty() ? std::string(kEmptyLine) : line;
}

int32_t build(const ChartModel& model, TextExportArgs& a, char sep, std::string& out) {
    std::string methods;
    if (a.ExpMethods) methods = model.GetAllMethods();
    if (methods.empty()) a.MethodPos = -1;
    bool methodsOn = a.MethodPos == 2;

    std::string header[6];
    bool valuesOn = false;
    std::vector<float> times, uv, cond;
    if (a.ExpUV || a.ExpCond) {
        if (a.ExpNumPoints <= 0) {
            a.ExpUV = false;
            a.ExpCond = false;
        } else {
            valuesOn = true;
            header[0] = kTimeHeader;
            MakeTimeGrid(times, a.ExpFromTime, a.ExpSamplingRate, a.ExpNumPoints, model.chartType());
            if (a.ExpUV) {
                header[1] = kUVHeader;
                InterpolateTrace(model, true, times, uv);
            }
            if (a.ExpCond) {
                header[2] = kCondHeader;
                InterpolateTrace(model, false, times, cond);
            }
        }
    }

    bool eventsOn = false;
    int32_t event = -1, lastEvent = -1;
    if (a.ExpEvents) {
        FindEventRange(model.labels(), a.ExpFromTime, a.ExpToTime, lastEvent, event);
        if (event < 0) {
            a.ExpEvents = false;
        } else {
            eventsOn = true;
            header[3] = kEventsHeader;
        }
    }
    if (methodsOn) header[4] = kMethodsHeader;
    const std::string& notes = model.GetNotes();
    bool notesOn = a.ExpNotes && !notes.empty();
    if (notesOn) header[5] = kNotesHeader;

    out.clear();
    if (a.MethodPos == 0) WriteMethodsBlock(out, methods);
    appendRow(out, header);

    int32_t row = 0;
    int32_t methodsPos = 1, notesPos = 1;
    while (valuesOn || eventsOn || methodsOn || notesOn) {
        std::string cells[6];
        if (valuesOn) {
            const size_t r = static_cast<size_t>(row);
            cells[0] = formatFixed(times[r], 3, sep);
            if (a.ExpUV) cells[1] = formatFixed(uv[r], 4, sep);
            if (a.ExpCond) cells[2] = formatFixed(cond[r], 2, sep);
            if (++row >= a.ExpNumPoints) valuesOn = false;
        }
        if (eventsOn) {
            cells[3] = FormatEventText(model.labels(), event, false, sep);
            if (++event > lastEvent) eventsOn = false;
        }
        if (methodsOn) {
            cells[4] = nextListCell(methodsOn, [&](std::string& line, bool& more) {
                GetNextLine(methodsPos, methods, line, more);
            });
        }
        if (notesOn) {
            cells[5] = nextListCell(notesOn, [&](std::string& line, bool& more) {
                GetNextNotesLine(notes, notesPos, kNotesWidth, line, more);
            });
        }
        appendRow(out, cells);
    }

    if (a.MethodPos == 1) WriteMethodsBlock(out, methods);
    return err::kNone;
}

}  // namespace

void MakeTimeGrid(std::vector<float>& Times, float FromTime, float Rate, int32_t Count, ChartTypeEnm type) {
    const double perStep = TimeScale::pointsPerUnit(Rate, type);
    if (perStep == 0) throw RuntimeError(err::kDivisionByZero);
    const float step = toSingle(1.0 / perStep);
    if (Count > kMaxExportRows) throw RuntimeError(err::kOverflow);
    Times.assign(Count > 0 ? static_cast<size_t>(Count) : 0, 0.0f);
    for (int32_t i = 0; i < Count; ++i)
        Times[static_cast<size_t>(i)] = toSingle(static_cast<double>(FromTime) + i * static_cast<double>(step));
}

void InterpolateTrace(const ChartModel& model, bool UseY1, const std::vector<float>& Times,
                      std::vector<float>& Values) {
    const GrowableStore<PointRec>& points = model.points();
    const int32_t count = points.count();
    auto value = [&](int32_t i) { return UseY1 ? points.at(i).Y1 : points.at(i).Y2; };
    Values.assign(Times.size(), 0.0f);
    for (size_t k = 0; k < Times.size(); ++k) {
        const float t = Times[k];
        const int32_t i = model.TimeToIndex(t);
        // Slots past the last point hold no recorded value: a grid there
        // would export made-up zeros.
        if (i < 0 || i >= count) throw RuntimeError(err::kSubscriptOutOfRange);
        const float ya = value(i);
        const float ta = model.IndexToTime(i);
        if (t == ta || i + 1 >= count) {
            Values[k] = ya;
        } else {
            Values[k] = InterpolateY(ta, ya, model.IndexToTime(i + 1), value(i + 1), t);
        }
    }
}

void FindEventRange(const GrowableStore<LabelRec>& labels, float FromTime, float ToTime, int32_t& LastIdx,
                    int32_t& FirstIdx) {
    const int32_t n = labels.count();
    if (n <= 0) {
        FirstIdx = -1;
        return;
    }
    int32_t first = 0;
    while (first < n && !(labels.at(first).XPos >= FromTime)) ++first;
    if (first == n) first = n - 1;
    int32_t after = first;
    while (after < n && !(labels.at(after).XPos > ToTime)) ++after;
    LastIdx = after - 1;
    const float x = labels.at(first).XPos;
    FirstIdx = (FromTime <= x && x <= ToTime) ? first : -1;
}

int32_t buildTextExport(const ChartModel& model, TextExportArgs& args, char decimalSeparator, std::string& out) {
    try {
        return build(model, args, decimalSeparator, out);
    } catch (const RuntimeError& e) {
        return e.number();
    } catch (const std::bad_alloc&) {
        return err::kOutOfMemory;
    } catch (const std::length_error&) {
        return err::kOutOfMemory;
    }
}

int32_t ExportTextData(const ChartModel& model, FileSystem& fs, const std::string& ExpFileName,
                       TextExportArgs& args, char decimalSeparator) {
    std::string text;
    if (const int32_t e = buildTextExport(model, args, decimalSeparator, text)) return e;
    try {
        return replaceFile(fs, ExpFileName, std::vector<uint8_t>(text.begin(), text.end()));
    } catch (const std::bad_alloc&) {
        return err::kOutOfMemory;
    }
}

}  // namespace pelomar::core
