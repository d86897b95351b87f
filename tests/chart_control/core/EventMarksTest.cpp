#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "DrawingFixture.h"
#include "core/drawing/EventMarks.h"
#include "common/RuntimeError.h"

using namespace pelomar;
using namespace pelomar::core;
using pelomar::testing::DrawingFixture;
using Op = pelomar::testing::RecordingSurface::Op;

TEST(EventMarks, StartLabelOnTheDefaultView) {
    DrawingFixture f;
    f.redraw();
    f.pic.records.clear();
    f.model.AddLabel("S", 0xFFFF00, 50, 1.0f);
    f.drawing.DrawEventMarks(f.pic, 0, false);

    const auto lines = f.pic.of(Op::Line);
    ASSERT_EQ(lines.size(), 1u);
    const float top = static_cast<float>(50 / 200.0 * static_cast<double>(2.0f - (-0.2f)) - 0.2f);  // the span is a Single difference
    EXPECT_FLOAT_EQ(top, 0.35f);
    EXPECT_DOUBLE_EQ(lines[0].x1, 1.0);
    EXPECT_DOUBLE_EQ(lines[0].y1, static_cast<double>(-0.2f));
    EXPECT_DOUBLE_EQ(lines[0].y2, static_cast<double>(top));
    EXPECT_EQ(lines[0].color, 0u);

    const auto circles = f.pic.of(Op::Circle);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].fill, 0xFFFF00u);
    EXPECT_EQ(circles[0].fillStyle, FillStyle::Solid);
    EXPECT_EQ(circles[0].font, "Small Fonts");
    EXPECT_TRUE(circles[0].bold);
    EXPECT_DOUBLE_EQ(circles[0].x2, f.pic.textWidth("o"));

    const auto prints = f.pic.of(Op::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, "S");
    EXPECT_DOUBLE_EQ(prints[0].x1, 1.0 - f.pic.textWidth("S") / 2);
    EXPECT_DOUBLE_EQ(prints[0].y1, top - f.pic.textHeight("S") / 2);

    // left behind: white, transparent fill, not bold, still Small Fonts 6
    EXPECT_EQ(f.pic.fillColor(), 0xFFFFFFu);
    EXPECT_EQ(f.pic.fillStyle(), FillStyle::Transparent);
    EXPECT_FALSE(f.pic.fontBold());
    EXPECT_EQ(f.pic.fontName(), "Small Fonts");
    EXPECT_EQ(f.pic.fontSize(), 6);
}

TEST(EventMarks, HeightFollowsTheOffsetAndMayLeaveTheFrame) {
    const ViewWindow v;  // -0.2 .. 2
    struct Case {
        int16_t offset;
        float y;
    };
    for (const Case c : {Case{0, -0.2f}, Case{200, 2.0f}, Case{250, 2.55f}, Case{-10, -0.31f}}) {
        LabelRec l;
        l.Offset = c.offset;
        EXPECT_FLOAT_EQ(eventMarkHeight(l, v), c.y) << c.offset;
    }
}

TEST(EventMarks, ViewBoundsAreInclusive) {
    DrawingFixture f;
    f.redraw();
    f.pic.records.clear();
    const float lo = f.model.view().XStart, hi = f.model.view().XEnd;
    for (float x : {lo, hi, std::nextafter(lo, -1.0f), std::nextafter(hi, 20.0f), NAN})
        f.model.AddLabel("M", 0xFF, 20, x);
    f.drawing.DrawEventMarks(f.pic, 0, false);
    const auto circles = f.pic.of(Op::Circle);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].x1, lo);
    EXPECT_EQ(circles[1].x1, hi);
}

TEST(EventMarks, FromIndexDrawsOnlyTheNewLabel) {
    DrawingFixture f;
    f.redraw();
    for (int i = 0; i < 6; ++i) f.model.AddLabel(std::to_string(i), 0xFF, 20, static_cast<float>(1 + i));
    f.pic.records.clear();
    f.drawing.DrawEventMarks(f.pic, 5, false);
    EXPECT_EQ(f.pic.printed(), std::vector<std::string>{"5"});
    f.pic.records.clear();
    f.drawing.DrawEventMarks(f.pic, 6, false);  // past the last: only the state is reset
    EXPECT_TRUE(f.pic.records.empty());
    EXPECT_EQ(f.pic.fillStyle(), FillStyle::Transparent);
}

TEST(EventMarks, PrinterCirclesAreWhiteAndTheSizeOfAW) {
    DrawingFixture f;
    f.redraw();
    f.model.AddLabel("E", 0x0000FF, 60, 2.0f);
    f.model.AddLabel("", 0x00FF00, 60, 3.0f);
    f.pic.records.clear();
    f.drawing.DrawEventMarks(f.pic, 0, true);
    const auto circles = f.pic.of(Op::Circle);
    ASSERT_EQ(circles.size(), 2u);
    for (const auto& c : circles) {
        EXPECT_EQ(c.fill, 0xFFFFFFu);
        EXPECT_DOUBLE_EQ(c.x2, f.pic.textWidth("W"));
    }
    EXPECT_EQ(f.pic.printed(), (std::vector<std::string>{"E", ""}));  // an empty label: no letter
}

TEST(EventMarks, NoLabelsLeaveFontAndFillAlone) {
    DrawingFixture f;
    f.redraw();
    f.pic.records.clear();
    f.drawing.DrawEventMarks(f.pic, 0, false);
    EXPECT_TRUE(f.pic.records.empty());
    EXPECT_EQ(f.pic.fontName(), "Arial");
    EXPECT_EQ(f.pic.fontSize(), 8);
}

TEST(EventText, NamesByTheWholeTextInExactCase) {
    GrowableStore<LabelRec> labels(25, 1000);
    const std::pair<const char*, const char*> cases[] = {
        {"M", "Mark"},     {"S", "Start"},        {"E", "End"},         {"P", "Pause"},
        {"H", "Hold"},     {"C", "Continue"},     {"F", "Flowrate"},    {"7", "Fraction"},
        {"s", "Fraction"}, {"Start", "Fraction"}, {"", "Fraction"},     {"MM", "Fraction"},
    };
    for (const auto& [code, name] : cases)
        labels.add([&](LabelRec& l) { l = {code, 0, 10, 1.5f}; });
    for (int32_t i = 0; i < labels.count(); ++i)
        EXPECT_EQ(FormatEventText(labels, i, false, '.'), std::string(cases[i].second) + "  1.50 min");
}

TEST(EventText, OneOrTwoLinesWithTheUsersSeparator) {
    GrowableStore<LabelRec> labels(25, 1000);
    labels.add([](LabelRec& l) { l = {"S", 0, 50, 12.345f}; });
    labels.add([](LabelRec& l) { l = {"3", 0, 50, 0.015625f}; });
    EXPECT_EQ(FormatEventText(labels, 0, false, '.'), "Start  12.35 min");
    EXPECT_EQ(FormatEventText(labels, 0, true, ','), "Start\r  12,35 min");
    EXPECT_EQ(FormatEventText(labels, 1, true, ','), "Fraction\r  0,02 min");

    for (int32_t bad : {-1, 2}) {
        try {
            FormatEventText(labels, bad, false, '.');
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
}
