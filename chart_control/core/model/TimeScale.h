#pragma once

#include <cstdint>

#include "pelomar/Enums.h"

namespace pelomar::core {

// Places point i at i / points-per-unit on the X axis.
struct TimeScale {
    double PointsPerUnit = 300;       // m_PointsPerUnit
    double MinutesPerPoint = 1.0 / 300;  // m_MinutesPerPoint

    // Points per minute for a strip chart (the rate is per second), points
    // per X unit for any other chart type.
    static double pointsPerUnit(float samplingRate, ChartTypeEnm type) noexcept;

    // index x minutes-per-point, rounded to Single.
    float IndexToTime(int32_t index) const noexcept;
    // round(time x points-per-unit - 0.5), ties to even: the sample at or
    // before `time`; raises 6 when the index is out of the Long range or NaN.
    int32_t TimeToIndex(float time) const;
};

// A sampling rate is usable when it is finite, > 0 and gives a finite,
// non-zero time scale for the chart type under which no store the chart can
// hold has a duration beyond the Single range or, for a strip chart, one
// whose unzoom overflows (below about one point a minute).
bool isUsableSamplingRate(float samplingRate, ChartTypeEnm type) noexcept;

// Value at x on the line through (x1, y1) and (x2, y2); y1 when x1 = x2.
float InterpolateY(float x1, float y1, float x2, float y2, float x) noexcept;
// Abscissa at y on that line; x2 when x1 = x2 or y1 = y2.
float InterpolateX(float x1, float y1, float x2, float y2, float y) noexcept;

}  // namespace pelomar::core
