#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "core/model/ChartModel.h"
#include "core/model/GrowableStore.h"
#include "common/RuntimeErrors.h"

using namespace pelomar::core;

namespace {
int32_t addN(GrowableStore<int>& s, int n) {
    int32_t last = 0;
    for (int i = 0; i < n; ++i) last = s.add([&](int& v) { v = i; });
    return last;
}
}  // namespace

TEST(GrowableStore, BoundsAroundEachGrowthStep) {
    // (adds, expected upper bound) for the point store's step of 30000.
    const struct { int adds; int32_t ubound; } cases[] = {
        {0, 0}, {1, 30001}, {30001, 30001}, {30002, 60002}, {30003, 60002},
    };
    for (const auto& c : cases) {
        GrowableStore<int> s(30000, 1'000'000);
        EXPECT_EQ(addN(s, c.adds), 0);
        EXPECT_EQ(s.count(), c.adds);
        EXPECT_EQ(s.upperBound(), c.ubound) << c.adds;
        EXPECT_EQ(s.held(), static_cast<size_t>(c.ubound) + 1);
    }
}

TEST(ChartStores, LabelAndMethodStoresGrowBy25) {
    ChartModel m;
    const struct { int adds; int32_t ubound; } cases[] = {{1, 26}, {26, 26}, {27, 52}};
    for (const auto& c : cases) {
        m.ClearData();
        for (int i = 0; i < c.adds; ++i) {
            ASSERT_EQ(m.AddLabel("S", 0xFF, 10, 0.5f), 0);
            ASSERT_EQ(m.AddMethod("m\r\n", 0.5f), 0);
        }
        EXPECT_EQ(m.labels().upperBound(), c.ubound) << c.adds;
        EXPECT_EQ(m.methods().upperBound(), c.ubound) << c.adds;
        EXPECT_EQ(m.labels().count(), c.adds);
    }
}

TEST(GrowableStore, FailedGrowthKeepsTheEntryAndRegrowsOnTheNextAdd) {
    // Room for three elements: the first add needs 4 (0 .. 1 + 2).
    GrowableStore<int> s(2, 3);
    EXPECT_EQ(s.add([](int& v) { v = 7; }), err::kOutOfMemory);
    EXPECT_EQ(s.count(), 1);  // counted all the same
    EXPECT_EQ(s.at(0), 7);
    // The next add finds no slot and tries the growth again instead of
    // failing with a subscript error.
    EXPECT_EQ(s.add([](int& v) { v = 8; }), err::kOutOfMemory);
    EXPECT_EQ(s.count(), 1);
    EXPECT_EQ(s.at(1), 0);  // readers stay within what is held
    EXPECT_EQ(s.at(1000), 0);
}

TEST(GrowableStore, RecoversWhenMemoryComesBack) {
    ChartModel m(false, 30000);  // less than the first growth asks for
    EXPECT_EQ(m.AddPoints(1, 2), err::kOutOfMemory);
    EXPECT_EQ(m.NumPoints(), 1);
    EXPECT_EQ(m.AddPoints(3, 4), err::kOutOfMemory);
    EXPECT_EQ(m.NumPoints(), 1);
    EXPECT_EQ(m.points().at(0).Y1, 1);
}

TEST(GrowableStore, DeclaredBoundBeyondHeldElementsReadsEmpty) {
    GrowableStore<int> s(25, 1000);
    s.assign({1, 2}, 2, 40);
    EXPECT_EQ(s.upperBound(), 40);
    EXPECT_EQ(s.held(), 2u);
    EXPECT_EQ(s.at(39), 0);
    // Element 2 is within the declared bound: it is used, and the bound stays.
    EXPECT_EQ(s.add([](int& v) { v = 3; }), 0);
    EXPECT_EQ(s.at(2), 3);
    EXPECT_EQ(s.count(), 3);
    EXPECT_EQ(s.upperBound(), 40);
}

TEST(GrowableStore, FullDeclaredBoundGrowsFromTheBoundAfterTheAdd) {
    // A rebuilt log declares its point count as the bound and holds no more.
    GrowableStore<int> s(30000, 1'000'000);
    s.assign({1, 2, 3}, 3, 3);
    EXPECT_EQ(s.add([](int& v) { v = 4; }), 0);
    EXPECT_EQ(s.at(3), 4);
    EXPECT_EQ(s.upperBound(), 30004);
}

TEST(GrowableStore, ReleasedEmptyTailReadsAndGrowsAsBefore) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // (held points, count, elements left held); the bound is 40 throughout.
    const struct {
        std::vector<PointRec> items;
        int32_t count;
        size_t held;
    } cases[] = {
        {{{1, 2}, {3, 4}, {0, 0}, {0, 0}}, 2, 2},
        {{{1, 2}, {0, 0}, {5, 0}, {0, 0}}, 1, 3},     // an empty one before a value stays
        {{{1, 2}, {-0.0f, 0}, {0, 0}}, 1, 2},        // a negative zero is not empty
        {{{1, 2}, {0, nan}}, 1, 2},
        {{{0, 0}, {0, 0}, {0, 0}}, 2, 2},            // the counted ones stay, empty or not
        {{{0, 0}, {0, 0}}, 0, 1},
        {{{1, 2}, {3, 4}}, 2, 2},
    };
    for (const auto& c : cases) {
        GrowableStore<PointRec> s(30000, 1'000'000);
        s.assign(std::vector<PointRec>(c.items), c.count, 40);
        std::vector<PointRec> before;
        for (int32_t i = 0; i <= 41; ++i) before.push_back(s.at(i));
        s.releaseEmptyTail();
        EXPECT_EQ(s.held(), c.held) << c.count;
        EXPECT_EQ(s.count(), c.count);
        EXPECT_EQ(s.upperBound(), 40);
        for (int32_t i = 0; i <= 41; ++i) {
            EXPECT_EQ(std::memcmp(&s.at(i), &before[static_cast<size_t>(i)], sizeof(PointRec)), 0) << i;
        }
        for (int32_t i = 0; i < c.count; ++i) EXPECT_NE(s.mutableAt(i), nullptr);
        // The next add lands at the count within the declared bound.
        EXPECT_EQ(s.add([](PointRec& p) { p = {7, 8}; }), 0);
        EXPECT_EQ(s.at(c.count).Y1, 7);
        EXPECT_EQ(s.upperBound(), 40);
    }
}
