#include <gtest/gtest.h>

#include <vector>

#include "core/ErrorCodes.h"
#include "core/dialogs/ExportLogic.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeDialogChart.h"
#include "fakes/FakeFileDialog.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct ExportRig {
    explicit ExportRig(float duration, float from = 0, float to = 10, char separator = '.')
        : setup({chart, files, cursor, [this](int16_t e) { errors.push_back(e); }}, from, to, separator) {
        chart.duration = duration;
        setup.InitExport();
    }
    FakeDialogChart chart;
    FakeFileDialog files;
    FakeBusyCursor cursor;
    std::vector<int16_t> errors;
    ExportLogic setup;
};

int16_t rateIndex(const char* text) {
    for (size_t i = 0; i < ExportLogic::kRates.size(); ++i)
        if (std::string(ExportLogic::kRates[i]) == text) return static_cast<int16_t>(i);
    return -1;
}

}  // namespace

TEST(ExportLogic, LoadShowsBothRangesAndCountsAllDataAtOnePointPerSecond) {
    ExportRig rig(12.5f, 2.0f, 20.0f);
    EXPECT_EQ(rig.setup.cmbSamlingRateListIndex, 10);
    EXPECT_EQ(rig.setup.ExpSamplingRate, 1.0f);
    EXPECT_EQ(rig.setup.DataRegion, 1);
    EXPECT_EQ(rig.setup.optDataRegionCaption[0], "Selected Data     (Time:  2.00  to  12.50  minutes) ");
    EXPECT_EQ(rig.setup.optDataRegionCaption[1], "All Data               (Time:  0.00  to  12.50  minutes) ");
    EXPECT_EQ(rig.setup.ExpNumPoints, 750);
    EXPECT_EQ(rig.setup.lblNumPoints, "750  data points");
    EXPECT_EQ(rig.setup.lblTotal, "750  Data Points)");
}

TEST(ExportLogic, CaptionsCarryTheUsersDecimalSymbol) {
    ExportRig rig(1.25f, 0.5f, 1.0f, ',');
    EXPECT_EQ(rig.setup.optDataRegionCaption[0], "Selected Data     (Time:  0,50  to  1,00  minutes) ");
    EXPECT_EQ(rig.setup.optDataRegionCaption[1], "All Data               (Time:  0.00  to  1,25  minutes) ");
    // The rate entries keep their texts and still read as numbers.
    rig.setup.cmbSamlingRate_Click(rateIndex("0.025"));
    EXPECT_EQ(rig.setup.ExpSamplingRate, 0.025f);
}

TEST(ExportLogic, RowCountRoundsHalvesToEven) {
    struct Case {
        float duration, from, to;
        int16_t region;
        const char* rate;
        int32_t rows;
    } cases[] = {
        {10.0f, 0, 0, 1, "1", 600},       // 600.5
        {0.5f, 0, 0, 1, "0.5", 16},       // 15.5
        {10.0f, 0, 0, 1, "0.0333", 20},   // 19.98 + 0.5
        {0.0f, 0, 0, 1, "5", 0},          // empty chart
        {0.0f, 0, 0, 1, "0.01", 0},
        {10.0f, 10.0f, 12.0f, 0, "1", 0}, // start at the end of the data
        {10.0f, 4.0f, 6.0f, 0, "2", 240},
        {10.0f, 4.0f, 30.0f, 0, "1", 360},  // view beyond the data: cut to 10
    };
    for (const Case& c : cases) {
        ExportRig rig(c.duration, c.from, c.to);
        rig.setup.cmbSamlingRate_Click(rateIndex(c.rate));
        rig.setup.optDataRegion_Click(c.region);
        EXPECT_EQ(rig.setup.ExpNumPoints, c.rows) << c.duration << " " << c.from << " " << c.to << " " << c.rate;
    }
}

TEST(ExportLogic, ViewBeyondTheDataIsCutToTheDuration) {
    ExportRig rig(8.0f, 9.0f, 19.0f);
    EXPECT_EQ(rig.setup.SelectedFrom, 8.0f);
    EXPECT_EQ(rig.setup.SelectedTo, 8.0f);
    EXPECT_EQ(rig.setup.optDataRegionCaption[0], "Selected Data     (Time:  8.00  to  8.00  minutes) ");
    rig.setup.optDataRegion_Click(0);
    EXPECT_EQ(rig.setup.ExpNumPoints, 0);
    rig.setup.optDataRegion_Click(1);
    EXPECT_EQ(rig.setup.ExpNumPoints, 480);
}

TEST(ExportLogic, RangeThatEndsBeforeItStartsHasNoRows) {
    ExportRig rig(10.0f, 6.0f, 2.0f);
    rig.setup.optDataRegion_Click(0);
    EXPECT_EQ(rig.setup.ExpNumPoints, 0);
    EXPECT_EQ(rig.setup.lblNumPoints, "0  data points");
}

TEST(ExportLogic, RateTextsReadWithEitherDecimalPoint) {
    EXPECT_EQ(ExportLogic::RateValue("0.0333", '.'), 0.0333f);
    EXPECT_EQ(ExportLogic::RateValue("0.0333", ','), 0.0333f);
    EXPECT_EQ(ExportLogic::RateValue("0,0333", ','), 0.0333f);
    EXPECT_EQ(ExportLogic::RateValue("", '.'), 0.0f);
    EXPECT_EQ(ExportLogic::RateValue("abc", '.'), 0.0f);
}

TEST(ExportLogic, ExportNeedsOneContentBoxAndMethodPositionsFollowMethodList) {
    ExportRig rig(5.0f);
    bool* boxes[] = {&rig.setup.chkUV, &rig.setup.chkCond, &rig.setup.chkEvents, &rig.setup.chkNotes};
    for (bool* box : boxes) {
        *box = false;
        rig.setup.chkContent_Click();
    }
    EXPECT_TRUE(rig.setup.cmdExportEnabled);
    EXPECT_TRUE(rig.setup.optMethodPosEnabled);
    rig.setup.chkMethod = false;
    rig.setup.chkMethod_Click();
    EXPECT_FALSE(rig.setup.cmdExportEnabled);
    EXPECT_TRUE(rig.setup.FocusOnCancel);
    EXPECT_FALSE(rig.setup.optMethodPosEnabled);
    rig.setup.chkNotes = true;
    rig.setup.chkContent_Click();
    EXPECT_TRUE(rig.setup.cmdExportEnabled);
    EXPECT_FALSE(rig.setup.FocusOnCancel);
    EXPECT_FALSE(rig.setup.optMethodPosEnabled);
}

TEST(ExportLogic, ExportAsksForATextFileAndHandsTheChoicesToTheChart) {
    ExportRig rig(10.0f, 1.0f, 3.0f);
    rig.files.answer = "/tmp/run.txt";
    rig.setup.optDataRegion_Click(0);
    rig.setup.cmbSamlingRate_Click(rateIndex("0.5"));
    rig.setup.chkEvents = false;
    rig.setup.chkContent_Click();
    rig.setup.optMethodPos_Click(2);
    rig.setup.cmdExport_Click();

    ASSERT_EQ(rig.files.shown.size(), 1u);
    const FileDialog::Settings& s = rig.files.shown[0];
    EXPECT_EQ(s.DialogTitle, "Export Data Text File As...");
    EXPECT_EQ(s.Filter, "Text File(*.txt)|*.txt|All Files(*.*)|*.*");
    EXPECT_EQ(s.DefaultExt, "txt");
    EXPECT_EQ(s.FileName, "");
    EXPECT_EQ(s.Flags, 2054);
    ASSERT_EQ(rig.chart.exports.size(), 1u);
    const FakeDialogChart::Export& e = rig.chart.exports[0];
    EXPECT_EQ(e.name, "/tmp/run.txt");
    EXPECT_TRUE(e.uv && e.cond && !e.events && e.notes && e.methods);
    EXPECT_EQ(e.methodPos, 2);
    EXPECT_EQ(e.from, 1.0f);
    EXPECT_EQ(e.to, 3.0f);
    EXPECT_EQ(e.rate, 0.5f);
    EXPECT_EQ(e.rows, 60);
    EXPECT_EQ(rig.cursor.times, 1);
    EXPECT_FALSE(rig.cursor.busy);
    EXPECT_TRUE(rig.errors.empty());
    EXPECT_TRUE(rig.setup.Closed);
}

TEST(ExportLogic, CancelledFileDialogClosesWithoutExporting) {
    ExportRig rig(10.0f);
    rig.setup.cmdExport_Click();
    EXPECT_TRUE(rig.chart.exports.empty());
    EXPECT_TRUE(rig.errors.empty());
    EXPECT_EQ(rig.cursor.times, 0);
    EXPECT_TRUE(rig.setup.Closed);
}

TEST(ExportLogic, FailedExportReportsCannotExportAndCloses) {
    ExportRig rig(10.0f);
    rig.files.answer = "/tmp/run.txt";
    rig.chart.exportResult = 75;
    rig.setup.cmdExport_Click();
    EXPECT_EQ(rig.errors, std::vector<int16_t>{code::kExportFailed});
    EXPECT_FALSE(rig.cursor.busy);
    EXPECT_TRUE(rig.setup.Closed);
}
