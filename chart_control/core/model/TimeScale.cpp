#include "TimeScale.h"

#include <cmath>
#include <cstdint>

#include "common/Rounding.h"

namespace pelomar::core {

double TimeScale::pointsPerUnit(float samplingRate, ChartTypeEnm type) noexcept {
    return type == ChartTypeEnm::Pelomar ? static_cast<double>(samplingRate) * 60.0
                                         : static_cast<double>(samplingRate);
}

float TimeScale::IndexToTime(int32_t index) const noexcept {
    return static_cast<float>(static_cast<double>(index) * MinutesPerPoint);
}

int32_t TimeScale::TimeToIndex(float time) const {
    return toLong(static_cast<double>(time) * PointsPerUnit - 0.5);
}

bool isUsableSamplingRate(float samplingRate, ChartTypeEnm type) noexcept {
    if (!std::isfinite(samplingRate) || !(samplingRate > 0)) return false;
    TimeScale scale;
    scale.PointsPerUnit = TimeScale::pointsPerUnit(samplingRate, type);
    scale.MinutesPerPoint = 1.0 / scale.PointsPerUnit;
    if (!std::isfinite(scale.PointsPerUnit) || scale.PointsPerUnit == 0 || !std::isfinite(scale.MinutesPerPoint) ||
        scale.MinutesPerPoint == 0) {
        return false;
    }
    // The duration of the fullest store the chart can hold is a Single, and
    // a strip chart's unzoom rounds it, plus a half, into a Long.
    const float longest = scale.IndexToTime(INT32_MAX - 1);
    if (!std::isfinite(longest)) return false;
    return type != ChartTypeEnm::Pelomar || roundHalfEven(static_cast<double>(longest) + 0.5) <= INT32_MAX;
}

float InterpolateY(float x1, float y1, float x2, float y2, float x) noexcept {
    if (x2 == x1) return y1;
    const double slope = (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
    const double intercept = y1 - slope * x1;
    return static_cast<float>(intercept + slope * x);
}

float InterpolateX(float x1, float y1, float x2, float y2, float y) noexcept {
    if (x2 == x1 || y2 == y1) return x2;
    const double slope = (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
    const double intercept = y1 - slope * x1;
    return static_cast<float>((y - intercept) / slope);
}

}  // namespace pelomar::core
