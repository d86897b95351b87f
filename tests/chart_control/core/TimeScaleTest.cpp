#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "core/model/TimeScale.h"
#include "common/RuntimeError.h"

using namespace pelomar;
using namespace pelomar::core;

namespace {
TimeScale standardScale() {
    TimeScale s;
    s.PointsPerUnit = TimeScale::pointsPerUnit(5, ChartTypeEnm::Pelomar);
    s.MinutesPerPoint = 1 / s.PointsPerUnit;
    return s;
}
}  // namespace

TEST(TimeScale, StandardRateAndTies) {
    const TimeScale s = standardScale();
    EXPECT_EQ(s.PointsPerUnit, 300);
    EXPECT_EQ(s.IndexToTime(300), 1.0f);
    EXPECT_EQ(s.TimeToIndex(1.0f), 300);   // 299.5 ties to 300
    EXPECT_EQ(s.TimeToIndex(0.5f), 150);   // 149.5 ties to 150
    EXPECT_EQ(s.TimeToIndex(0.0f), 0);     // -0.5 ties to 0
    EXPECT_LT(s.TimeToIndex(-1.0f), 0);
}

TEST(TimeScale, RoundTripThroughSingleTimes) {
    const TimeScale s = standardScale();
    const struct { int32_t k; int32_t back; } cases[] = {
        {0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 4}, {5, 5}, {6, 5},
        {7, 7}, {8, 8}, {9, 8}, {10, 10}, {11, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(s.TimeToIndex(s.IndexToTime(c.k)), c.back) << c.k;
}

TEST(TimeScale, LineProfileCountsPointsPerUnit) {
    EXPECT_EQ(TimeScale::pointsPerUnit(5, ChartTypeEnm::LineProfile), 5);
    EXPECT_EQ(TimeScale::pointsPerUnit(2.5f, ChartTypeEnm::Pelomar), 150);
}

TEST(TimeScale, IndexOutOfRangeIsOverflowNotUndefined) {
    const TimeScale s = standardScale();
    for (float t : {1e30f, -1e30f, NAN, INFINITY}) {
        try {
            s.TimeToIndex(t);
            ADD_FAILURE() << t;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 6);
        }
    }
}

TEST(TimeScale, UsableSamplingRates) {
    EXPECT_TRUE(isUsableSamplingRate(5, ChartTypeEnm::Pelomar));
    // Slow rates stay usable while the fullest store's duration is a Single
    // and, on a strip chart, its unzoom end a Long (from about 1/60 a second).
    const struct {
        float rate;
        ChartTypeEnm type;
        bool usable;
    } cases[] = {
        {0.02f, ChartTypeEnm::Pelomar, true},      {0.0166f, ChartTypeEnm::Pelomar, false},
        {1e-6f, ChartTypeEnm::Pelomar, false},     {1e-6f, ChartTypeEnm::LineProfile, true},
        {1e-28f, ChartTypeEnm::LineProfile, true}, {1e-30f, ChartTypeEnm::LineProfile, false},
        {1e-38f, ChartTypeEnm::Pelomar, false},    {FLT_MAX, ChartTypeEnm::Pelomar, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isUsableSamplingRate(c.rate, c.type), c.usable) << c.rate << " " << static_cast<int>(c.type);
    }
    for (float r : {0.0f, -0.0f, -1.0f, NAN, INFINITY}) {
        EXPECT_FALSE(isUsableSamplingRate(r, ChartTypeEnm::LineProfile)) << r;
    }
}

TEST(Interpolation, LinesAndDegenerateSegments) {
    EXPECT_FLOAT_EQ(InterpolateY(0, 0, 2, 4, 1), 2);
    EXPECT_FLOAT_EQ(InterpolateY(1, 3, 1, 9, 100), 3);  // x1 = x2: y1
    EXPECT_FLOAT_EQ(InterpolateX(0, 0, 2, 4, 3), 1.5f);
    EXPECT_FLOAT_EQ(InterpolateX(0, 5, 2, 5, 1), 2);    // horizontal: x2
    EXPECT_FLOAT_EQ(InterpolateX(3, 0, 3, 5, 1), 3);    // vertical: x2
}
