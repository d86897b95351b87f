#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "../../common/FakeFileSystem.h"
#include "../support/TestFiles.h"
#include "../../support/ScratchFolder.h"
#include "core/model/ChartModel.h"
#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "core/export/TextExport.h"
#include "common/RuntimeError.h"

using namespace pelomar::core;
using pelomar::RuntimeError;
using pelomar::test::FakeFileSystem;
using pelomar::test::golden;

namespace {

// The chart of tests/data/export/make_export_golden.py.
void fillFixture(ChartModel& m) {
    const float y1[] = {0.0f, 0.0125f, 0.05f, 0.1125f, 0.2f, 0.3125f, 0.45f, 0.6125f, 0.8f, 1.0125f, 1.25f, 1.1f, 0.95f};
    const float y2[] = {10.5f, 10.75f, 11.0f, 11.5f, 12.25f, 13.0f, 14.5f, 16.0f, 18.5f, 21.0f, 24.5f, 28.0f, 31.5f};
    for (size_t i = 0; i < std::size(y1); ++i) m.AddPoints(y1[i], y2[i]);
    m.AddLabel("S", 255, 60, 0.0f);
    m.AddLabel("10", 255, 60, 0.01f);
    m.AddLabel("m", 255, 60, 0.02f);
    m.AddLabel("E", 255, 60, 0.04f);
    m.AddLabel("M", 255, 60, 0.05f);
    m.AddMethod("Method 7: gradient\r\n\r\n", 0.0f);
    m.AddMethod("Wash 5 min\r\n", 0.03f);
    m.UpdateNotes(
        "Column 2 was flushed with buffer A before the run started at 25 \xb5S.\r\n"
        "\r\n"
        "   \r\n"
        "Sample_identifier_ABCDEFGHIJKLMNOPQRSTUVWXYZ_01 loaded\r\n"
        "OK");
}

TextExportArgs request(bool uv, bool cond, bool events, bool notes, bool methods, int16_t methodPos,
                       int32_t rows = 9) {
    TextExportArgs a;
    a.ExpUV = uv;
    a.ExpCond = cond;
    a.ExpEvents = events;
    a.ExpNotes = notes;
    a.ExpMethods = methods;
    a.MethodPos = methodPos;
    a.ExpFromTime = 0.005f;
    a.ExpToTime = 0.04f;
    a.ExpSamplingRate = 4;
    a.ExpNumPoints = rows;
    return a;
}

std::string goldenText(const std::string& name) {
    const std::vector<uint8_t> b = golden("export/" + name + ".txt");
    return std::string(b.begin(), b.end());
}

struct LayoutCase {
    const char* golden;
    TextExportArgs args;
    char separator;
    // written back
    int16_t methodPos;
    bool uv, cond, events;
};

}  // namespace

TEST(TextExport, LayoutsMatchTheirGoldenFiles) {
    ChartModel m;
    fillFixture(m);
    const LayoutCase cases[] = {
        {"all_before", request(true, true, true, true, true, 0), '.', 0, true, true, true},
        {"all_after", request(true, true, true, true, true, 1), '.', 1, true, true, true},
        {"all_column", request(true, true, true, true, true, 2), '.', 2, true, true, true},
        {"all_column_comma", request(true, true, true, true, true, 2), ',', 2, true, true, true},
        {"uv_only", request(true, false, false, false, false, 0), '.', -1, true, false, false},
        {"cond_events", request(false, true, true, false, false, 0), '.', -1, false, true, true},
        {"lists_only", request(true, true, true, true, true, 2, 0), '.', 2, false, false, true},
        {"nothing", request(false, false, false, false, false, 1), '.', -1, false, false, false},
        {"notes_only", request(false, false, false, true, false, 0), '.', -1, false, false, false},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.golden);
        TextExportArgs a = c.args;
        std::string out;
        ASSERT_EQ(buildTextExport(m, a, c.separator, out), 0);
        EXPECT_EQ(out, goldenText(c.golden));
        EXPECT_EQ(a.MethodPos, c.methodPos);
        EXPECT_EQ(a.ExpUV, c.uv);
        EXPECT_EQ(a.ExpCond, c.cond);
        EXPECT_EQ(a.ExpEvents, c.events);
        EXPECT_EQ(a.ExpNotes, c.args.ExpNotes);
    }
}

TEST(TextExport, WriteBacksForEmptyListsAndUnknownMethodPosition) {
    ChartModel m;
    fillFixture(m);
    std::string out;

    // No event in the range: the column and its header stay empty.
    TextExportArgs a = request(false, false, true, false, false, 0);
    a.ExpFromTime = 0.041f;
    a.ExpToTime = 0.045f;
    ASSERT_EQ(buildTextExport(m, a, '.', out), 0);
    EXPECT_FALSE(a.ExpEvents);
    EXPECT_EQ(out, "\t\t\t\t\t\r\n");

    // A position other than 0, 1 or 2 writes no methods and is left as it was.
    a = request(false, false, false, true, true, 3);
    ASSERT_EQ(buildTextExport(m, a, '.', out), 0);
    EXPECT_EQ(a.MethodPos, 3);
    EXPECT_EQ(out.find("Methods Information:"), std::string::npos);
    EXPECT_EQ(out.find("Method 7"), std::string::npos);

    // Methods asked for but none stored.
    ChartModel bare;
    bare.AddPoints(1, 2);
    a = request(false, false, false, false, true, 2);
    ASSERT_EQ(buildTextExport(bare, a, '.', out), 0);
    EXPECT_EQ(a.MethodPos, -1);
    EXPECT_EQ(out, "\t\t\t\t\t\r\n");
}

TEST(TextExport, EventsFillTheTopRowsOfALongTable) {
    ChartModel m;
    for (int i = 0; i < 2000; ++i) m.AddPoints(static_cast<float>(i), 0);
    m.AddLabel("S", 1, 1, 0.5f);
    m.AddLabel("7", 1, 1, 1.0f);
    m.AddLabel("E", 1, 1, 4.0f);
    TextExportArgs a;
    a.ExpUV = a.ExpEvents = true;
    a.ExpFromTime = 0;
    a.ExpToTime = 4.5f;
    a.ExpSamplingRate = 3;
    a.ExpNumPoints = 1000;
    std::string out;
    ASSERT_EQ(buildTextExport(m, a, '.', out), 0);
    std::vector<std::string> rows;
    for (size_t p = 0; p < out.size();) {
        const size_t e = out.find("\r\n", p);
        ASSERT_NE(e, std::string::npos);
        rows.push_back(out.substr(p, e - p));
        p = e + 2;
    }
    ASSERT_EQ(rows.size(), 1001u);
    EXPECT_EQ(rows[1], "0.000\t0.0000\t\tStart  0.50 min\t\t");
    EXPECT_EQ(rows[2], "0.006\t1.6667\t\tFraction  1.00 min\t\t");
    EXPECT_EQ(rows[3], "0.011\t3.3333\t\tEnd  4.00 min\t\t");
    EXPECT_EQ(rows[4], "0.017\t5.0000\t\t\t\t");
    EXPECT_EQ(rows[1000], "5.550\t1665.0000\t\t\t\t");
}

TEST(TextExport, EventRangeIncludesBothEnds) {
    ChartModel m;
    for (float x : {1.0f, 2.0f, 2.0f, 3.0f, 5.0f}) m.AddLabel("S", 0, 0, x);
    struct Case {
        float from, to;
        int32_t first, last;
    } cases[] = {
        {2.0f, 3.0f, 1, 3},  // an event at exactly the end is in, one before the start is not
        {0.0f, 10.0f, 0, 4},
        {1.5f, 1.9f, -1, 0},  // a gap between events
        {5.5f, 9.0f, -1, 0},  // after the last event
        {3.0f, 2.0f, -1, 0},  // end before start
        {5.0f, 5.0f, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << ".." << c.to);
        int32_t first = 99, last = -99;
        FindEventRange(m.labels(), c.from, c.to, last, first);
        EXPECT_EQ(first, c.first);
        if (c.first >= 0) {
            EXPECT_EQ(last, c.last);
        }
    }
    ChartModel none;
    int32_t first = 5, last = 7;
    FindEventRange(none.labels(), 0, 10, last, first);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(last, 7);
}

TEST(TextExport, GridTimeOnAPointGivesItsStoredValue) {
    ChartModel m;
    // Values that a line through two neighbours would not reproduce.
    const float y[] = {0.1f, 0.7f, 0.3f, 0.9f, 0.2f, 0.8f, 0.4f, 0.6f, 0.5f, 0.55f, 0.45f, 0.65f};
    for (float v : y) m.AddPoints(v, -v);
    std::vector<float> times, v1, v2;
    for (int32_t k = 0; k < 12; ++k) times.push_back(m.IndexToTime(k));
    InterpolateTrace(m, true, times, v1);
    InterpolateTrace(m, false, times, v2);
    for (size_t k = 0; k < 12; ++k) {
        EXPECT_EQ(v1[k], y[k]) << k;
        EXPECT_EQ(v2[k], -y[k]) << k;
    }
    // Halfway between two points: the straight line.
    InterpolateTrace(m, true, {static_cast<float>(0.5 / 300)}, v1);
    EXPECT_FLOAT_EQ(v1[0], 0.4f);
}

TEST(TextExport, GridOutsideTheRecordedPointsFails) {
    ChartModel m;
    for (int i = 0; i < 10; ++i) m.AddPoints(static_cast<float>(i), 0);
    std::vector<float> v;
    const float last = m.IndexToTime(9);
    // Within the last sample interval the last value holds.
    InterpolateTrace(m, true, {last, (last + m.IndexToTime(10)) / 2}, v);
    EXPECT_EQ(v, (std::vector<float>{9, 9}));
    auto errorAt = [&](float t) {
        try {
            InterpolateTrace(m, true, {t}, v);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorAt(m.IndexToTime(11)), err::kSubscriptOutOfRange);  // a spare slot holds no data
    EXPECT_EQ(errorAt(1.0f), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorAt(-0.01f), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorAt(std::numeric_limits<float>::quiet_NaN()), err::kOverflow);
    EXPECT_EQ(errorAt(1e30f), err::kOverflow);
}

TEST(TextExport, TimeGridStepsAndRowLimit) {
    std::vector<float> t;
    MakeTimeGrid(t, 1.0f, 2, 3, pelomar::ChartTypeEnm::Pelomar);
    const float step = static_cast<float>(1.0 / 120);
    EXPECT_EQ(t, (std::vector<float>{1.0f, static_cast<float>(1.0 + step), static_cast<float>(1.0 + 2.0 * step)}));
    MakeTimeGrid(t, 0, 2, 3, pelomar::ChartTypeEnm::LineProfile);
    EXPECT_EQ(t, (std::vector<float>{0, 0.5f, 1.0f}));

    MakeTimeGrid(t, 0, 5, kMaxExportRows, pelomar::ChartTypeEnm::Pelomar);
    EXPECT_EQ(t.size(), 32768u);
    auto errorOf = [&](float from, float rate, int32_t count) {
        try {
            MakeTimeGrid(t, from, rate, count, pelomar::ChartTypeEnm::Pelomar);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(0, 5, kMaxExportRows + 1), err::kOverflow);
    EXPECT_EQ(errorOf(0, 0, 10), err::kDivisionByZero);
    EXPECT_EQ(errorOf(0, 1e-45f, 10), err::kOverflow);  // a step beyond a Single
    EXPECT_EQ(errorOf(3.4e38f, 1e-38f, 10), err::kOverflow);  // a time beyond a Single
}

TEST(TextExport, FailuresBeforeTheFileLeaveItAlone) {
    ChartModel m;
    for (int i = 0; i < 33000; ++i) m.AddPoints(static_cast<float>(i), 1);
    struct Case {
        const char* what;
        float from, rate;
        int32_t rows;
        int32_t error;
    } cases[] = {
        {"rows just fit", 0, 5, 32768, 0},
        {"one row too many", 0, 5, 32769, err::kOverflow},
        {"rate of zero", 0, 0, 10, err::kDivisionByZero},
        {"negative start", -1, 5, 10, err::kSubscriptOutOfRange},
        {"past the run", 200, 5, 10, err::kSubscriptOutOfRange},
        {"runs off the end", 100, 5, 3001, err::kSubscriptOutOfRange},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFileSystem fs;
        fs.files["/x/out.txt"] = {'o', 'l', 'd'};
        TextExportArgs a;
        a.ExpCond = true;
        a.ExpFromTime = c.from;
        a.ExpToTime = 200;
        a.ExpSamplingRate = c.rate;
        a.ExpNumPoints = c.rows;
        EXPECT_EQ(ExportTextData(m, fs, "/x/out.txt", a, '.'), c.error);
        if (c.error != 0) {
            EXPECT_EQ(fs.text("/x/out.txt"), "old");
            EXPECT_EQ(fs.files.size(), 1u);
        } else {
            EXPECT_EQ(fs.text("/x/out.txt").substr(0, 12), "Time [min.]:");
        }
    }

    // Without value columns the row count is not used.
    ChartModel empty;
    FakeFileSystem fs;
    TextExportArgs a;
    a.ExpNumPoints = 1 << 30;
    a.ExpSamplingRate = 0;
    EXPECT_EQ(ExportTextData(empty, fs, "/x/out.txt", a, '.'), 0);
    EXPECT_EQ(fs.text("/x/out.txt"), "\t\t\t\t\t\r\n");

    // An empty chart has no point for any grid time.
    a.ExpUV = true;
    a.ExpSamplingRate = 1;
    a.ExpNumPoints = 1;
    EXPECT_EQ(ExportTextData(empty, fs, "/x/out.txt", a, '.'), err::kSubscriptOutOfRange);
}

TEST(TextExport, WriteFailuresReturnTheFileError) {
    ChartModel m;
    fillFixture(m);
    FakeFileSystem fs;
    fs.files["/x/out.txt"] = {'o', 'l', 'd'};
    fs.failWritesOf(fs.nextTemporary("/x/out.txt"), err::kDiskFull);
    TextExportArgs a = request(true, true, true, true, true, 0);
    EXPECT_EQ(ExportTextData(m, fs, "/x/out.txt", a, '.'), err::kDiskFull);
    EXPECT_EQ(fs.text("/x/out.txt"), "old");
    EXPECT_EQ(fs.files.size(), 1u);

    // On disk: a folder that does not exist.
    PosixFileSystem disk;
    const ScratchFolder scratch;
    const std::string missing = (scratch / "no-such-folder" / "out.txt").string();
    a = request(true, true, true, true, true, 0);
    EXPECT_EQ(ExportTextData(m, disk, missing, a, '.'), err::kPathNotFound);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(TextExport, WrittenFileHoldsTheBuiltBytes) {
    ChartModel m;
    fillFixture(m);
    PosixFileSystem disk;
    const ScratchFolder scratch;
    const std::string path = (scratch / "export.txt").string();
    pelomar::test::writeBytes(path, std::vector<uint8_t>(100000, 'x'));  // truncated, not kept
    TextExportArgs a = request(true, true, true, true, true, 1);
    ASSERT_EQ(ExportTextData(m, disk, path, a, '.'), 0);
    EXPECT_EQ(pelomar::test::readBytes(path), golden("export/all_after.txt"));
    EXPECT_TRUE(pelomar::test::temporariesOf(path).empty());
}
