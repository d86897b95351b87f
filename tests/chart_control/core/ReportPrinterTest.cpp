#include <gtest/gtest.h>

#include <cmath>

#include "DrawingFixture.h"
#include "core/report/ReportPrinter.h"
#include "common/Rounding.h"
#include "support/RecordingUiServices.h"

namespace pelomar::testing {
namespace {

using Op = RecordingSurface::Op;

// A chart drawn once on its recording picture, and a printer page of
// 800 x 1000 pixels at 96 dots an inch (12000 x 15000 twips).
struct Report : DrawingFixture {
    RecordingSurface printer{800, 1000};
    test::RecordingUiServices ui;
    core::ReportPrinter report{model, drawing, ui};

    Report() {
        model.setY1Color(0x0000FF);
        model.setY2Color(0x00FF00);
    }
    void print(bool chart, int32_t option, bool methods = false, bool notes = false) {
        redraw();
        report.PrintGraph(printer, pic, chart, methods, notes, option);
    }
    // Trace lines: within the view's edges, unlike the value axes' ticks.
    std::vector<RecordingSurface::Record> linesIn(OleColor c) const {
        std::vector<RecordingSurface::Record> out;
        const core::ViewWindow& v = model.view();
        for (const auto& r : printer.of(Op::Line))
            if (r.color == c && std::min(r.x1, r.x2) >= v.XStart && std::max(r.x1, r.x2) <= v.XEnd)
                out.push_back(r);
        return out;
    }
    std::vector<RecordingSurface::Record> boxesIn(OleColor c) const {
        std::vector<RecordingSurface::Record> out;
        for (const auto& r : printer.of(Op::Box))
            if (r.color == c) out.push_back(r);
        return out;
    }
};

TEST(ReportPrinter, TitleCentredThreeLinesDownInTheTitleFont) {
    Report r;
    r.model.setGraphTitle("Run 7");
    r.print(false, 0);
    const auto title = r.printer.of(Op::Print).at(0);
    EXPECT_EQ(title.text, "Run 7");
    EXPECT_EQ(title.font, "Times New Roman");
    EXPECT_EQ(title.fontSize, 12);
    EXPECT_TRUE(title.bold);
    // 18 pixels a line, 15 twips a pixel.
    EXPECT_DOUBLE_EQ(title.y1, 3 * 18 * 15.0);
    EXPECT_DOUBLE_EQ(title.x1, (12000 - 5 * 9 * 15.0) / 2);
    EXPECT_EQ(r.printer.records.back().op, Op::EndDoc);

    Report wide;
    wide.model.setGraphTitle(std::string(200, 'T'));
    wide.print(false, 0);
    EXPECT_DOUBLE_EQ(wide.printer.of(Op::Print).at(0).x1, 0);
}

TEST(ReportPrinter, TheTitleIsUtf8AndTheTextsAfterItAreCodePageAgain) {
    Report r;
    // "試料 Δ" as a file's name gives it: four characters in ten bytes.
    r.model.setGraphTitle("\xE8\xA9\xA6\xE6\x96\x99 \xCE\x94");
    r.model.UpdateNotes("Sp\xFClung");
    r.print(false, 0, false, true);
    const auto printed = r.printer.of(Op::Print);
    ASSERT_GE(printed.size(), 2u);
    EXPECT_EQ(printed[0].text, "\xE8\xA9\xA6\xE6\x96\x99 \xCE\x94");
    EXPECT_EQ(printed[0].encoding, core::TextEncoding::Utf8);
    EXPECT_DOUBLE_EQ(printed[0].x1, (12000 - 4 * 9 * 15.0) / 2);
    for (size_t i = 1; i < printed.size(); ++i) EXPECT_EQ(printed[i].encoding, core::TextEncoding::CodePage);
    EXPECT_EQ(r.printer.textEncoding(), core::TextEncoding::CodePage);

    // A title that fails to print leaves the page reading code-page texts.
    Report failing;
    failing.printer.failPrintWith = 482;
    failing.print(false, 0);
    EXPECT_EQ(failing.printer.textEncoding(), core::TextEncoding::CodePage);
}

TEST(ReportPrinter, ChartScaleAndUnitsFollowThePage) {
    Report r;
    r.setView(0, 10, 0, 2);
    r.add({0.5f, 0.6f});
    r.print(true, 7);
    const double u = 10 * 200 / 12000.0, v = 2 * 250 / 15000.0;
    EXPECT_DOUBLE_EQ(r.model.geometry().XUnit, u);
    EXPECT_DOUBLE_EQ(r.model.geometry().Y1Unit, v);
    EXPECT_DOUBLE_EQ(r.report.printerFontFactor(), 800 / 300.0);
    const auto frame = r.printer.of(Op::Box).at(0);
    EXPECT_DOUBLE_EQ(frame.x1, 0);
    EXPECT_DOUBLE_EQ(frame.x2, 10);
    // The conductivity caption's cell is the axis font (8) times the factor.
    const auto captions = r.printer.of(Op::PrintRotated);
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_EQ(captions[1].height, core::toLong(8 * 800 / 300.0));
    EXPECT_DOUBLE_EQ(captions[0].x1, 0 - 10 * u);
    // The screen's text metrics come back once the chart is done.
    EXPECT_DOUBLE_EQ(r.drawing.charWidth(), r.pic.textWidth("W"));
}

TEST(ReportPrinter, EventMarksOnlyPrintFrameTimeAxisAndMarks) {
    Report r;
    r.setView(0, 1, 0, 2);
    r.add({0.5f, 0.6f, 0.7f, 0.8f});
    r.model.AddLabel("S", 0x00FFFF, 50, 0.005f);
    r.print(true, 1);
    EXPECT_EQ(r.printer.of(Op::Box).size(), 1u);
    EXPECT_TRUE(r.printer.of(Op::PrintRotated).empty());
    EXPECT_TRUE(r.linesIn(0x0000FF).empty());
    const auto circles = r.printer.of(Op::Circle);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].fill, 0xFFFFFFu);
    EXPECT_EQ(r.printer.printed().back(), "S");
}

TEST(ReportPrinter, OptionZeroPrintsNoChartButKeepsItsPlace) {
    Report r;
    r.add({0.5f, 0.6f});
    r.model.UpdateNotes("a note");
    r.print(true, 0, false, true);
    EXPECT_TRUE(r.printer.of(Op::Box).empty());
    const auto rule = r.printer.of(Op::Line).at(0);
    EXPECT_DOUBLE_EQ(rule.y1, 15000 / 1.7);
    EXPECT_EQ(r.printer.printed().back(), "a note");
}

TEST(ReportPrinter, MarkersBelowAQuarterMinuteOnly) {
    for (const float span : {0.2f, 0.25f}) {
        Report r;
        r.setView(0, span, 0, 2);
        for (int i = 0; i < 100; ++i) r.add({1.0f});
        r.print(true, 4);
        const auto markers = r.boxesIn(0x0000FF);
        if (span < 0.25f) {
            // Points 0 .. 60 (0.2 min) in view, each with a box.
            EXPECT_EQ(markers.size(), 61u) << span;
            // Half the width of "W" in the title font (9 pixels).
            EXPECT_NEAR(markers[0].x2 - markers[0].x1, 9 * r.printer.scaleWidth() / 800 / 2, 1e-6);
        } else {
            EXPECT_TRUE(markers.empty()) << span;
        }
    }
}

TEST(ReportPrinter, TraceLeavingTheTopStopsAtTheEdgeWithoutAMarker) {
    Report r;
    r.setView(0, 0.2f, 0, 2);
    r.add({1.0f, 1.0f, 1.0f, 3.0f, 1.0f, 1.0f, 1.0f});
    r.print(true, 4);
    const auto lines = r.linesIn(0x0000FF);
    // The segment from point 2 to point 3 ends at the top edge.
    bool toEdge = false;
    for (const auto& l : lines) {
        EXPECT_LE(l.y1, 2.0f);
        EXPECT_LE(l.y2, 2.0f);
        if (l.y2 == 2.0f) toEdge = true;
    }
    EXPECT_TRUE(toEdge);
    for (const auto& m : r.boxesIn(0x0000FF)) EXPECT_LT((m.y1 + m.y2) / 2, 1.5);
}

TEST(ReportPrinter, SegmentsBelowTheBandPrintNothing) {
    Report r;
    r.setView(0, 1, 0, 2);
    for (int i = 0; i < 20; ++i) r.add({-1.0f});
    r.print(true, 4);
    EXPECT_TRUE(r.linesIn(0x0000FF).empty());
}

TEST(ReportPrinter, StepThinsToFivePointsAPixelColumnRoundingHalfToEven) {
    // A printer 10 pixels wide: 42 x 5 x 10 = 2100 points in view give step 42.
    Report r;
    r.printer = RecordingSurface(10, 1000);
    r.setView(0, 7, 0, 2);
    for (int i = 0; i <= 2100; ++i) r.add({1.0f}, 250);
    r.print(true, 6);
    const auto uv = r.linesIn(0x0000FF);
    ASSERT_GE(uv.size(), 3u);
    EXPECT_FLOAT_EQ(static_cast<float>(uv[1].x2 - uv[1].x1), r.t(42));
    const auto cond = r.linesIn(0x00FF00);
    ASSERT_FALSE(cond.empty());
    for (const auto& l : cond) EXPECT_EQ(l.lineStyle, core::LineStyle::Dotted);
    for (const auto& l : uv) EXPECT_EQ(l.lineStyle, core::LineStyle::Solid);

    Report few;
    few.setView(0, 1, 0, 2);
    for (int i = 0; i < 100; ++i) few.add({1.0f});
    few.print(true, 4);
    EXPECT_FLOAT_EQ(static_cast<float>(few.linesIn(0x0000FF)[1].x1), few.t(1));
    EXPECT_EQ(few.ui.busy, (std::vector<bool>{true, false}));
}

TEST(ReportPrinter, FewerThanTwoPointsInViewPrintFrameAndAxesOnly) {
    Report r;
    r.setView(0, 1, 0, 2);
    r.add({1.0f});
    r.print(true, 7);
    EXPECT_EQ(r.printer.of(Op::Box).size(), 1u);
    EXPECT_EQ(r.printer.of(Op::PrintRotated).size(), 2u);
    EXPECT_TRUE(r.linesIn(0x0000FF).empty());
}

TEST(ReportPrinter, AFailingPrinterStillEndsTheDocument) {
    Report r;
    r.setView(0, 1, 0, 2);
    r.add({1.0f, 1.1f, 1.2f});
    r.model.UpdateNotes("n");
    r.printer.failPrintWith = 57;
    r.redraw();
    EXPECT_NO_THROW(r.report.PrintGraph(r.printer, r.pic, true, true, true, 7));
    EXPECT_EQ(r.printer.records.back().op, Op::EndDoc);
    EXPECT_FALSE(r.printer.of(Op::Box).empty());
}

}  // namespace
}  // namespace pelomar::testing
