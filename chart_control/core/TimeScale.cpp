#include "TimeScale.h"

#include <cmath>

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
    const double ppu = TimeScale::pointsPerUnit(samplingRate, type);
    const double mpp = 1.0 / ppu;
    return std::isfinite(ppu) && ppu != 0 && std::isfinite(mpp) && mpp != 0;
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
