#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/model/ChartModel.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

using namespace pelomar;
using namespace pelomar::core;

namespace {
int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

TEST(ChartModel, FreshInstanceReportsItsDefaults) {
    ChartModel m;
    m.initScaleFields();
    EXPECT_EQ(m.NumPoints(), 0);
    EXPECT_EQ(m.GetDuration(), 0);
    EXPECT_EQ(m.XStart(), 0);
    EXPECT_EQ(m.XEnd(), 10);
    EXPECT_EQ(m.Y1Start(), -0.2f);
    EXPECT_EQ(m.Y1End(), 2);
    EXPECT_EQ(m.Y2Start(), 0);
    EXPECT_EQ(m.Y2End(), 500);
    EXPECT_EQ(m.SamplingRate(), 5);
    EXPECT_EQ(m.GraphTitle(), "UnKnown");
    EXPECT_EQ(m.timeScale().PointsPerUnit, 300);
    EXPECT_EQ(m.view().XEnd, 10);
}

TEST(ChartModel, SamplingRateIgnoresUnusableValues) {
    ChartModel m;
    std::vector<std::string> changes;
    m.setPropertyChangedHandler([&](const char* n) { changes.emplace_back(n); });
    for (float r : {0.0f, -1.0f, NAN, INFINITY}) m.setSamplingRate(r);
    EXPECT_EQ(m.SamplingRate(), 5);
    EXPECT_EQ(m.timeScale().PointsPerUnit, 300);
    EXPECT_TRUE(changes.empty());

    ASSERT_EQ(m.AddPoints(0, 0), 0);
    ASSERT_EQ(m.AddPoints(0, 0), 0);
    m.setSamplingRate(10);
    EXPECT_EQ(changes, std::vector<std::string>{"SamplingRate"});
    EXPECT_EQ(m.timeScale().PointsPerUnit, 600);
    EXPECT_FLOAT_EQ(m.GetDuration(), 1.0f / 600);  // stored points take the new times
}

TEST(ChartModel, RangeLetsWriteTheViewAndNotify) {
    ChartModel m;
    std::vector<std::string> changes;
    m.setPropertyChangedHandler([&](const char* n) { changes.emplace_back(n); });
    m.setXStart(1);
    m.setXEnd(0.5f);  // start < end is not checked
    m.setY1Start(-1);
    m.setY1End(3);
    m.setY2Start(10);
    m.setY2End(20);
    const ViewWindow& v = m.view();
    EXPECT_EQ(v.XStart, 1);
    EXPECT_EQ(v.XEnd, 0.5f);
    EXPECT_EQ(v.Y1Start, -1);
    EXPECT_EQ(v.Y1End, 3);
    EXPECT_EQ(v.Y2Start, 10);
    EXPECT_EQ(v.Y2End, 20);
    EXPECT_EQ(changes, (std::vector<std::string>{"XStart", "XEnd", "Y1Start", "Y1End", "Y2Start", "Y2End"}));

    m.view().XEnd = 4;  // a zoom moves only the view
    EXPECT_EQ(m.XEnd(), 0.5f);
    m.resetViewToProperties();
    EXPECT_EQ(m.view().XEnd, 0.5f);
}

TEST(ChartModel, DesignAndRunTimeRules) {
    ChartModel run(false);
    EXPECT_EQ(errorOf([&] { run.ChartType(); }), 393);
    EXPECT_EQ(errorOf([&] { run.setChartType(ChartTypeEnm::LineProfile); }), 393);
    EXPECT_EQ(run.chartType(), ChartTypeEnm::Pelomar);

    ChartModel design(true);
    EXPECT_EQ(errorOf([&] { design.setNumPoints(5); }), 394);
    EXPECT_EQ(design.NumPoints(), 0);
    design.setChartType(ChartTypeEnm::LineProfile);
    EXPECT_EQ(design.ChartType(), ChartTypeEnm::LineProfile);
    EXPECT_EQ(design.timeScale().PointsPerUnit, 5);
    EXPECT_EQ(design.timeScale().MinutesPerPoint, 0.2);  // the whole scale follows
}

TEST(ChartModel, NumPointsLetAtRunTimeNeverLetsReadersPastTheStore) {
    ChartModel m;
    EXPECT_EQ(errorOf([&] { m.setNumPoints(-1); }), err::kInvalidPropertyValue);
    EXPECT_EQ(m.NumPoints(), 0);
    m.setNumPoints(100);
    EXPECT_EQ(m.NumPoints(), 100);
    EXPECT_GE(m.points().upperBound(), 100);
    EXPECT_EQ(m.GetValueAtTime(m.IndexToTime(99)), 0);
    EXPECT_EQ(m.AddPoints(1, 2), 0);  // lands at index 100
    EXPECT_EQ(m.points().at(100).Y1, 1);

    ChartModel small(false, 50);
    EXPECT_EQ(errorOf([&] { small.setNumPoints(1000); }), err::kOutOfMemory);
    EXPECT_EQ(small.NumPoints(), 0);
}

TEST(ChartModel, LineProfileLeavesY2AsItWas) {
    ChartModel m(true);
    m.setChartType(ChartTypeEnm::LineProfile);
    ASSERT_EQ(m.AddPoints(1, 7), 0);
    EXPECT_EQ(m.points().at(0).Y1, 1);
    EXPECT_EQ(m.points().at(0).Y2, 0);
}

TEST(ChartModel, DurationAndLastPointInScale) {
    ChartModel m;
    m.initScaleFields();
    ASSERT_EQ(m.AddPoints(1, 1), 0);
    EXPECT_EQ(m.GetDuration(), 0);
    ASSERT_EQ(m.AddPoints(2, 2), 0);
    EXPECT_EQ(m.GetDuration(), static_cast<float>(1.0 / 300));
    EXPECT_TRUE(m.LastPointInScale());

    // 10 minutes and one point more lies past XEnd, whatever the view shows.
    while (m.NumPoints() < 3002) ASSERT_EQ(m.AddPoints(0, 0), 0);
    m.view().XEnd = 100;
    EXPECT_FALSE(m.LastPointInScale());
    m.setXEnd(11);
    m.view().XEnd = 1;
    EXPECT_TRUE(m.LastPointInScale());
}

TEST(ChartModel, MethodsJoinWithoutSeparatorAndClearEmptiesAll) {
    ChartModel m;
    EXPECT_EQ(m.GetAllMethods(), "");
    ASSERT_EQ(m.AddMethod("a\r\n", 0), 0);
    ASSERT_EQ(m.AddMethod("b\r\n", 1), 0);
    EXPECT_EQ(m.GetAllMethods(), "a\r\nb\r\n");

    m.UpdateNotes("notes");
    ASSERT_EQ(m.AddPoints(1, 2), 0);
    ASSERT_EQ(m.AddLabel("S", 0xFF, 5, 0), 0);
    m.setLastDrawn(1);
    m.view().XEnd = 3;
    m.ClearData();
    EXPECT_EQ(m.NumPoints(), 0);
    EXPECT_EQ(m.labels().count(), 0);
    EXPECT_EQ(m.methods().count(), 0);
    EXPECT_EQ(m.points().upperBound(), 0);
    EXPECT_EQ(m.GetNotes(), "");
    EXPECT_EQ(m.GetAllMethods(), "");
    EXPECT_EQ(m.lastDrawn(), 0);
    EXPECT_EQ(m.view().XEnd, 3);  // the view is not touched
    ASSERT_EQ(m.AddPoints(5, 6), 0);
    EXPECT_EQ(m.points().at(0).Y1, 5);
    EXPECT_EQ(m.points().at(0).Y2, 6);
}

TEST(ChartModel, ValueAtTimeInterpolatesInsideTheRunOnly) {
    ChartModel m;
    ASSERT_EQ(m.AddPoints(0, 0), 0);
    ASSERT_EQ(m.AddPoints(3, 0), 0);
    ASSERT_EQ(m.AddPoints(6, 0), 0);
    const float t1 = m.IndexToTime(1);
    EXPECT_FLOAT_EQ(m.GetValueAtTime(m.IndexToTime(1) / 2), 1.5f);
    EXPECT_NEAR(m.GetValueAtTime(t1 + static_cast<float>(0.5 / 300)), 4.5f, 1e-3);
    EXPECT_EQ(m.GetValueAtTime(1.0f), 0);   // beyond the last point
    EXPECT_EQ(m.GetValueAtTime(-1.0f), 0);  // before the first
}

TEST(ChartModel, BackupTargetsFollowTheControlFolderUntilMoved) {
    ChartModel m;
    m.setControlFolder("/tmp/ctl");
    EXPECT_EQ(m.backupTargets().DLogPath, "/tmp/ctl/DLog1.bak");
    EXPECT_EQ(m.backupTargets().MLogPath, "/tmp/ctl/MLog1.bak");
    EXPECT_TRUE(m.backupTargets().AtControlFolder);
    m.backupTargets() = BackupLogTargets::generation("/tmp/inst/", 2, false);
    EXPECT_EQ(m.backupTargets().ELogPath, "/tmp/inst//ELog2.bak");
    m.setControlFolder("/tmp/other");
    EXPECT_EQ(m.backupTargets().ELogPath, "/tmp/inst//ELog2.bak");
    m.initScaleFields();
    EXPECT_EQ(m.backupTargets().DLogPath, "/tmp/other/DLog1.bak");
}

TEST(ChartModel, UnzoomEndsAtTheDurationRoundedUpTiesToEven) {
    // (points at 300 a minute, expected XEnd)
    const struct { int32_t points; float xEnd; } cases[] = {
        {0, 10}, {1, 10}, {661, 3} /* 2.2 min */, {601, 2} /* 2.0 */, {901, 4} /* 3.0 */,
        {2, 1} /* 0.0033 min */,
    };
    for (const auto& c : cases) {
        ChartModel m;
        for (int32_t i = 0; i < c.points; ++i) ASSERT_EQ(m.AddPoints(0, 0), 0);
        m.setY1End(7);
        m.view() = ViewWindow{1, 2, 3, 4, 5, 6};
        m.setZoomed(true);
        m.resetZoomRanges();
        EXPECT_EQ(m.XEnd(), c.xEnd) << c.points;
        EXPECT_EQ(m.view().XEnd, c.xEnd);
        EXPECT_EQ(m.XStart(), 0);
        EXPECT_EQ(m.Y1Start(), -0.2f);
        EXPECT_EQ(m.Y1End(), 2);
        EXPECT_EQ(m.view().Y2End, 500);
    }
}

TEST(ChartModel, UnzoomOfALineProfileReturnsToItsProperties) {
    ChartModel m(true);
    m.setChartType(ChartTypeEnm::LineProfile);
    m.setXEnd(40);
    m.view() = ViewWindow{1, 2, 3, 4, 5, 6};
    m.resetZoomRanges();
    EXPECT_EQ(m.view().XStart, 0);
    EXPECT_EQ(m.view().XEnd, 40);
    EXPECT_EQ(m.view().Y1Start, -0.2f);
}
