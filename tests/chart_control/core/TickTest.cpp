#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/drawing/TickLayout.h"
#include "core/drawing/TickStep.h"

using namespace pelomar::core;

namespace {
struct StepCase {
    double span;
    double step;
    int decimals;
    double divisor;
};

int majors(const TickLayout& l) {
    int n = 0;
    for (const Tick& t : l.ticks) n += t.major ? 1 : 0;
    return n;
}
}  // namespace

TEST(TickStep, StepAndFormatFollowTheSpansMantissa) {
    const StepCase cases[] = {
        {10, 1, 0, 1},          {2.2, 0.1, 1, 1},       {500, 50, 0, 1},
        {0.004, 0.0005, 2, 0.001},
        // the mantissa's bounds: log10 2.5 and log10 6
        {2.4999, 0.1, 1, 1},    {2.5, 0.5, 1, 1},       {5.9999, 0.5, 1, 1},
        {6, 1, 0, 1},           {60, 10, 0, 1},         {0.05, 0.005, 2, 0.01},
        {30, 5, 0, 1},          {1e6, 1e5, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.span);
        const TickStep t = GetTickStep(c.span);
        ASSERT_TRUE(t.valid);
        EXPECT_NEAR(t.step, c.step, c.step * 1e-12);
        EXPECT_EQ(t.decimals, c.decimals);
        EXPECT_NEAR(t.divisor, c.divisor, c.divisor * 1e-12);
    }
}

TEST(TickStep, NoTicksForASpanThatIsNotPositiveAndFinite) {
    for (double s : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(GetTickStep(s).valid) << s;
    }
}

TEST(TickLayout, TimeAxisOfTenMinutesHasElevenLabelsAndFourMinorsBetween) {
    const TickLayout l = layoutTicks(0, 10, AxisKind::Time, 12, [](double) { return 0.1; });
    EXPECT_DOUBLE_EQ(l.step.step, 1);
    EXPECT_EQ(majors(l), 11);
    EXPECT_EQ(l.ticks.size(), 11u + 40u);  // no minor tick outside 0..10
    EXPECT_TRUE(l.ticks.front().major);
    EXPECT_DOUBLE_EQ(l.ticks.front().value, 0);
    EXPECT_DOUBLE_EQ(l.ticks.back().value, 10);
}

TEST(TickLayout, StepDoublesUntilTheLabelsFitTwiceOver) {
    // Y1 -0.2..2: 22 steps of 0.1; labels 10 high need 440 of the scale.
    struct Case {
        double scale;
        double step;
        int majors;
        double firstMajor;
    };
    for (const Case c : {Case{500, 0.1, 23, -0.2}, Case{300, 0.2, 12, -0.2}, Case{200, 0.4, 6, 0}}) {
        SCOPED_TRACE(c.scale);
        const TickLayout l =
            layoutTicks(-0.2f, 2.0f, AxisKind::Value, -c.scale, [](double) { return -10.0; });
        EXPECT_NEAR(l.step.step, c.step, 1e-12);
        EXPECT_EQ(majors(l), c.majors);
        size_t i = 0;
        while (i < l.ticks.size() && !l.ticks[i].major) ++i;
        ASSERT_LT(i, l.ticks.size());
        EXPECT_NEAR(l.ticks[i].value, c.firstMajor, 1e-9);
        EXPECT_EQ(i, c.firstMajor == 0 ? 2u : 0u);  // minors below 0 down to -0.2 only
    }
}

TEST(TickLayout, MinorTicksBelowTheFirstMajorStopAtTheRangesStart) {
    // 0.03..1: first major at 0.1, minors at 0.08, 0.06, 0.04 and not 0.02.
    const TickLayout l = layoutTicks(0.03f, 1.0f, AxisKind::Value, 1e9, [](double) { return 1.0; });
    ASSERT_GE(l.ticks.size(), 4u);
    EXPECT_FALSE(l.ticks[0].major);
    EXPECT_NEAR(l.ticks[0].value, 0.08, 1e-12);
    EXPECT_NEAR(l.ticks[2].value, 0.04, 1e-12);
    EXPECT_TRUE(l.ticks[3].major);
    EXPECT_NEAR(l.ticks[3].value, 0.1, 1e-12);
}

TEST(TickLayout, RangeEndsAreComparedAsSingles) {
    // 0.3f..0.7f in steps of 0.05: the first tick 0.30000000000000004 and the
    // last 0.70000000000000018 lie outside the range as doubles, inside as
    // Singles.
    const TickLayout l = layoutTicks(0.3f, 0.7f, AxisKind::Value, 1e9, [](double) { return 1.0; });
    EXPECT_NEAR(l.step.step, 0.05, 1e-15);
    std::vector<double> values;
    for (const Tick& t : l.ticks)
        if (t.major) values.push_back(t.value);
    ASSERT_EQ(values.size(), 9u);
    EXPECT_NEAR(values.front(), 0.3, 1e-12);
    EXPECT_NEAR(values.back(), 0.7, 1e-12);
    EXPECT_TRUE(l.ticks.front().major);  // no minor tick below 0.3f
}

TEST(TickLayout, FirstMajorTickIsKeptEvenBeyondTheRange) {
    // Labels too big for any step: the step doubles until no tick fits.
    const TickLayout l = layoutTicks(0.05f, 1.0f, AxisKind::Value, 100, [](double) { return 1000.0; });
    ASSERT_EQ(majors(l), 1);
    double major = 0;
    for (const Tick& t : l.ticks)
        if (t.major) major = t.value;
    EXPECT_GT(major, 1.0);
}

TEST(TickLayout, NoTicksForAnEmptyOrBrokenRange) {
    const auto one = [](double) { return 1.0; };
    EXPECT_TRUE(layoutTicks(1, 1, AxisKind::Time, 100, one).ticks.empty());
    EXPECT_TRUE(layoutTicks(2, 1, AxisKind::Value, 100, one).ticks.empty());
    EXPECT_TRUE(layoutTicks(0, INFINITY, AxisKind::Value, 100, one).ticks.empty());
    EXPECT_TRUE(layoutTicks(NAN, 1, AxisKind::Value, 100, one).ticks.empty());
}
