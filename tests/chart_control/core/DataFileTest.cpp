#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../../common/FakeFileSystem.h"
#include "../support/TestFiles.h"
#include "../../support/ScratchFolder.h"
#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"
#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"

using namespace pelomar::core;
using pelomar::test::FakeFileSystem;
using pelomar::test::golden;

namespace {

// The chart of tests/data/fixture.chd.
void fillFixture(ChartModel& m) {
    m.AddPoints(0.5f, 10);
    m.AddPoints(0.25f, 12.5f);
    m.AddPoints(-0.125f, 15);
    m.AddLabel("S", 255, 60, 2.5f);
    m.AddMethod("Gradient 1\r\n", 0.75f);
    m.UpdateNotes("Run A\r\nbuffer B");
}

// The chart of tests/data/selection_tie.chd: 200 points and a view from
// 0.25 min (a tie of the index rounding) to 0.5 min.
void fillSelection(ChartModel& m) {
    for (int i = 0; i < 200; ++i) m.AddPoints(static_cast<float>(i / 100.0), static_cast<float>(i));
    m.AddLabel("x", 1, 1, 0.1f);
    m.AddLabel("S", 255, 60, 0.25f);
    m.AddLabel("7", 0xFF00, 100, 0.5f);
    m.AddLabel("y", 1, 1, 0.6f);
    m.AddMethod("Pre", 0.2f);
    m.AddMethod("Wash", 0.3f);
    m.AddMethod("Post", 0.75f);
    m.UpdateNotes("Run A\r\nbuffer B");
    ViewWindow& v = m.view();
    v.XStart = 0.25f;
    v.XEnd = 0.5f;
    v.Y1Start = 0;
    v.Y1End = 1;
    v.Y2Start = 0;
    v.Y2End = 100;
}

std::vector<uint8_t> selectionOf(const ChartModel& m) {
    std::vector<uint8_t> out;
    EXPECT_EQ(selectionFileBytes(m, out), 0);
    return out;
}

int32_t longAt(const std::vector<uint8_t>& b, size_t offset) {
    int32_t v;
    std::memcpy(&v, b.data() + offset, 4);
    return v;
}

void putLongAt(std::vector<uint8_t>& b, size_t offset, int32_t v) { std::memcpy(b.data() + offset, &v, 4); }

ReadResult decode(const std::vector<uint8_t>& bytes, DataFileContent& c) { return decodeDataFile(bytes, c); }

}  // namespace

TEST(DataFile, WritesTheGoldenLayouts) {
    struct Case {
        const char* file;
        std::function<std::vector<uint8_t>()> write;
    } cases[] = {
        {"empty.chd", [] { ChartModel m; return chartFileBytes(m); }},
        {"fixture.chd", [] { ChartModel m; fillFixture(m); return chartFileBytes(m); }},
        {"selection_tie.chd", [] { ChartModel m; fillSelection(m); return selectionOf(m); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<uint8_t> expected = golden(c.file);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(c.write(), expected);
    }
    EXPECT_EQ(golden("empty.chd").size(), 164u);
}

TEST(DataFile, ReadingAGoldenFileGivesBackTheChartAndItsBytes) {
    for (const char* file : {"empty.chd", "fixture.chd", "selection_tie.chd"}) {
        SCOPED_TRACE(file);
        DataFileContent c;
        ASSERT_EQ(decode(golden(file), c).status, ReadStatus::Read);
        ChartModel m;
        commitDataFile(m, std::move(c));
        EXPECT_EQ(chartFileBytes(m), golden(file));
    }
    DataFileContent c;
    ASSERT_EQ(decode(golden("fixture.chd"), c).status, ReadStatus::Read);
    ChartModel m;
    commitDataFile(m, std::move(c));
    EXPECT_EQ(m.NumPoints(), 3);
    EXPECT_EQ(m.points().upperBound(), 30001);
    EXPECT_EQ(m.points().at(2).Y1, -0.125f);
    EXPECT_EQ(m.labels().at(0).Label, "S");
    EXPECT_EQ(m.labels().at(0).Offset, 60);
    EXPECT_EQ(m.GetAllMethods(), "Gradient 1\r\n");
    EXPECT_EQ(m.GetNotes(), "Run A\r\nbuffer B");
    EXPECT_EQ(m.Y1Start(), -0.2f);
}

TEST(DataFile, PointAddedToAnOpenedLogGrowsFromItsDeclaredBound) {
    // The log declares bound 5 over 5 records: element 5 exists, reading zero,
    // and takes the next point; the count 6 then passes the bound.
    DataFileContent c;
    ASSERT_EQ(decode(golden("rebuilt.chl"), c).status, ReadStatus::Read);
    ChartModel m;
    commitDataFile(m, std::move(c));
    ASSERT_EQ(m.AddPoints(7, 8), 0);
    EXPECT_EQ(m.points().at(5).Y1, 7);
    const std::vector<uint8_t> b = chartFileBytes(m);
    EXPECT_EQ(longAt(b, 44), 6);
    EXPECT_EQ(longAt(b, 48), 30006);
}

TEST(DataFile, TwoPointChartWritesEveryElementUpToTheBound) {
    ChartModel m;
    m.AddPoints(1, 2);
    m.AddPoints(3, 4);
    const std::vector<uint8_t> b = chartFileBytes(m);
    EXPECT_EQ(longAt(b, 44), 2);
    EXPECT_EQ(longAt(b, 48), 30001);
    EXPECT_EQ(b.size(), 136u + 2 + 6 + 12 + 30002u * 8);
}

TEST(DataFile, SelectionAfterTheLastPointHoldsOneZeroPoint) {
    ChartModel m;
    fillFixture(m);
    m.view().XStart = 5;
    m.view().XEnd = 6;
    const std::vector<uint8_t> b = selectionOf(m);
    EXPECT_EQ(longAt(b, 44), 0);
    EXPECT_EQ(longAt(b, 48), 0);
    EXPECT_EQ(longAt(b, 36), 0);  // the label at 2.5 min lies before the view
    EXPECT_EQ(b.size(), 136u + 2 + 15 + 6 + 12 + 8);
    EXPECT_EQ(std::vector<uint8_t>(b.end() - 8, b.end()), std::vector<uint8_t>(8, 0));
}

TEST(DataFile, SelectionEndingBeforeItStartsIsRefused) {
    ChartModel m;
    fillSelection(m);
    m.view().XStart = 0.5f;
    m.view().XEnd = 0.2f;
    std::vector<uint8_t> out;
    EXPECT_EQ(selectionFileBytes(m, out), err::kSubscriptOutOfRange);
}

TEST(DataFile, SelectionBeforeTimeZeroFailsOnlyWhenItCopiesPoints) {
    // -0.01 min is index -3 (the Single is a little above -0.01); -0.012 min
    // is -4, so n = 0.
    const struct {
        float xStart, xEnd;
        int32_t error;
    } cases[] = {
        {-0.01f, -0.012f, err::kNone},
        {-0.01f, 0.1f, err::kSubscriptOutOfRange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xEnd);
        ChartModel m;
        fillSelection(m);
        m.view().XStart = c.xStart;
        m.view().XEnd = c.xEnd;
        std::vector<uint8_t> out;
        ASSERT_EQ(selectionFileBytes(m, out), c.error);
        if (c.error != err::kNone) continue;
        EXPECT_EQ(longAt(out, 44), 0);
        EXPECT_EQ(longAt(out, 48), 0);
        EXPECT_EQ(std::vector<uint8_t>(out.end() - 8, out.end()), std::vector<uint8_t>(8, 0));
    }
}

TEST(DataFile, OnlyTheExactVersionBytesAreRead) {
    std::vector<uint8_t> b = golden("fixture.chd");
    DataFileContent c;
    for (size_t i = 0; i < 4; ++i) {
        std::vector<uint8_t> other = b;
        other[i] ^= 1;
        EXPECT_EQ(decode(other, c).status, ReadStatus::OlderVersion) << i;
    }
    EXPECT_EQ(decode({0xCD, 0xCC, 0x8C}, c).status, ReadStatus::OlderVersion);
    EXPECT_EQ(decode({}, c).status, ReadStatus::OlderVersion);
}

TEST(DataFile, HeaderFiguresNoRunCanHaveAreRefused) {
    struct Case {
        size_t offset;
        int32_t value;
        int32_t error;
    } cases[] = {
        {28, -1, err::kSubscriptOutOfRange},            // method count
        {32, -1, err::kSubscriptOutOfRange},            // method bound
        {36, 27, err::kSubscriptOutOfRange},            // label count above its bound 26
        {44, 30002, err::kSubscriptOutOfRange},         // point count above its bound
        {48, -5, err::kSubscriptOutOfRange},            // point bound
        {48, kMaxPointUBound + 1, err::kOutOfMemory},   // point bound beyond any run
        {40, kMaxLabelUBound + 1, err::kOutOfMemory},
        {32, kMaxMethodUBound + 1, err::kOutOfMemory},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.offset);
        std::vector<uint8_t> b = golden("fixture.chd");
        putLongAt(b, k.offset, k.value);
        DataFileContent c;
        const ReadResult r = decode(b, c);
        EXPECT_EQ(r.status, ReadStatus::Failed);
        EXPECT_EQ(r.error, k.error);
    }
    // At the ceiling itself a file still opens (its records are simply short).
    std::vector<uint8_t> b = golden("fixture.chd");
    putLongAt(b, 48, kMaxPointUBound);
    DataFileContent c;
    EXPECT_EQ(decode(b, c).status, ReadStatus::Read);
    EXPECT_LE(c.points.size(), 30002u);
}

TEST(DataFile, FileCutInsideItsPointsReadsTheRestAsZero) {
    std::vector<uint8_t> b = golden("fixture.chd");
    const size_t pointsStart = b.size() - 30002 * 8;
    b.resize(pointsStart + 8 + 4);  // the second point loses its Y2
    DataFileContent c;
    ASSERT_EQ(decode(b, c).status, ReadStatus::Read);
    ChartModel m;
    commitDataFile(m, std::move(c));
    EXPECT_EQ(m.NumPoints(), 3);
    EXPECT_EQ(m.points().at(0).Y2, 10);
    EXPECT_EQ(m.points().at(1).Y1, 0.25f);
    EXPECT_EQ(m.points().at(1).Y2, 0);
    EXPECT_EQ(m.points().at(2).Y1, 0);
    // Saved again it has its whole length.
    EXPECT_EQ(chartFileBytes(m).size(), golden("fixture.chd").size());
}

TEST(DataFile, TextLongerThanItsLengthFieldIsCut) {
    ChartModel m;
    m.UpdateNotes(std::string(70000, 'n'));
    const std::vector<uint8_t> b = chartFileBytes(m);
    EXPECT_EQ(b[136], 0xFF);
    EXPECT_EQ(b[137], 0xFF);
    EXPECT_EQ(b.size(), 164u + 65535);
    DataFileContent c;
    ASSERT_EQ(decode(b, c).status, ReadStatus::Read);
    EXPECT_EQ(c.notes.size(), 65535u);
    EXPECT_EQ(c.header.NumPoints, 0);
}

TEST(DataFile, MissingFileIsFileNotFoundAndStaysMissing) {
    PosixFileSystem fs;
    const ScratchFolder scratch;
    const std::string path = scratch / "none.chd";
    DataFileContent c;
    const ReadResult r = readDataFile(fs, path, c);
    EXPECT_EQ(r.status, ReadStatus::Failed);
    EXPECT_EQ(r.error, err::kFileNotFound);
    EXPECT_EQ(errorText(r.error), "File not found");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(DataFile, SaveReplacesALongerFileWhole) {
    PosixFileSystem fs;
    const ScratchFolder scratch;
    const std::string path = scratch / "run.chd";
    pelomar::test::writeBytes(path, std::vector<uint8_t>(5000, 0xAA));
    ChartModel m;
    ASSERT_EQ(replaceFile(fs, path, chartFileBytes(m)), 0);
    EXPECT_EQ(pelomar::test::readBytes(path), golden("empty.chd"));
    EXPECT_TRUE(pelomar::test::temporariesOf(path).empty());
}

TEST(DataFile, FailedSaveLeavesTheOldFileAndNoTemporary) {
    const std::string path = "/d/run.chd";
    const std::vector<uint8_t> old(300, 7);
    ChartModel m;
    fillFixture(m);
    struct Case {
        const char* what;
        std::function<void(FakeFileSystem&)> fail;
        int32_t error;
    } cases[] = {
        {"rename", [&](FakeFileSystem& fs) { fs.failRenamesTo(path, err::kPermissionDenied); },
         err::kPermissionDenied},
        {"torn write", [&](FakeFileSystem& fs) { fs.failWritesOf(fs.nextTemporary(path), err::kDiskFull); },
         err::kDiskFull},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        FakeFileSystem fs;
        fs.files[path] = old;
        k.fail(fs);
        EXPECT_EQ(replaceFile(fs, path, chartFileBytes(m)), k.error);
        EXPECT_EQ(fs.files.at(path), old);
        EXPECT_EQ(fs.files.size(), 1u);
    }
}
