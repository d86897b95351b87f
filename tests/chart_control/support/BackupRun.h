#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"

namespace pelomar::test {

// One backup call of a test run: call k adds `points` points (Y1 = k, Y2 =
// the point's number in the call), a label "k" on odd calls and a method
// "m k" on every third, both at the time of the call's first point on the
// backup chart's axis (calls are `points` samples apart at 5 points a second).
struct BackupRun {
    int points = 5;

    static bool hasLabel(int call) { return call % 2 == 1; }
    static bool hasMethod(int call) { return call % 3 == 0; }
    float firstPointTime(int call) const { return static_cast<float>((call - 1) * points / 300.0); }
    int32_t intervalMs() const { return points * 200; }

    void fill(core::ChartModel& model, int call) const {
        for (int j = 0; j < points; ++j) model.AddPoints(static_cast<float>(call), static_cast<float>(j));
        if (hasLabel(call)) model.AddLabel(std::to_string(call), 255, 60, firstPointTime(call));
        if (hasMethod(call)) model.AddMethod("m " + std::to_string(call), firstPointTime(call));
    }

    // A rebuilt log holds whole calls only, each once and in order, from
    // some call on to at least `confirmed` (the last call that returned 0),
    // and every label and method of those calls at the time of its call's
    // first point; only a call past `confirmed` may lack its label or method
    // (killed between its appends). Returns the first call in the log.
    int check(const core::DataFileContent& log, int confirmed) const {
        const int32_t n = log.header.NumPoints;
        EXPECT_EQ(n % points, 0) << "a call cut in the point file";
        if (n == 0 || static_cast<int32_t>(log.points.size()) < n) {
            ADD_FAILURE() << "no points";
            return 0;
        }
        const int first = static_cast<int>(log.points[0].Y1);
        const int last = first + n / points - 1;
        for (int32_t i = 0; i < n; ++i) {
            const core::PointRec& p = log.points[static_cast<size_t>(i)];
            if (p.Y1 != static_cast<float>(first + i / points) || p.Y2 != static_cast<float>(i % points)) {
                ADD_FAILURE() << "point " << i << " is (" << p.Y1 << ", " << p.Y2 << ")";
                return first;
            }
        }
        EXPECT_GE(last, confirmed) << "a confirmed call is missing";
        EXPECT_LE(last, confirmed + 1) << "a call that never ran";
        checkMarks(log, first, last, confirmed, true);
        checkMarks(log, first, last, confirmed, false);
        return first;
    }

private:
    void checkMarks(const core::DataFileContent& log, int first, int last, int confirmed, bool labels) const {
        const int32_t count = labels ? log.header.LabelCount : log.header.MethodCount;
        int expected = first;
        for (int32_t i = 0; i < count; ++i) {
            const std::string text = labels ? log.labels[static_cast<size_t>(i)].Label
                                            : log.methods[static_cast<size_t>(i)].Method;
            const float x = labels ? log.labels[static_cast<size_t>(i)].XPos : log.methods[static_cast<size_t>(i)].XPos;
            while (expected <= last && !(labels ? hasLabel(expected) : hasMethod(expected))) ++expected;
            const std::string want = (labels ? "" : "m ") + std::to_string(expected);
            if (expected > last || text != want) {
                ADD_FAILURE() << (labels ? "label " : "method ") << i << " is \"" << text << "\", expected \"" << want
                              << "\" (calls " << first << ".." << last << ")";
                return;
            }
            // The time of the call's first point in the log.
            const double t = static_cast<double>((expected - first) * points) / 300.0;
            EXPECT_NEAR(x, t, 1e-3) << text;
            ++expected;
        }
        while (expected <= last && !(labels ? hasLabel(expected) : hasMethod(expected))) ++expected;
        if (expected <= last) {
            EXPECT_TRUE(expected == last && last > confirmed)
                << (labels ? "label" : "method") << " of call " << expected << " is missing";
        }
    }
};

}  // namespace pelomar::test
