#include "TickLayout.h"

#include <cmath>

#include "common/Rounding.h"

namespace pelomar::core {

namespace {

// Bounds that only a broken range could reach; the layout ends there.
constexpr int kMaxDoublings = 64;
constexpr int kMaxMajors = 10000;

double firstTick(float lo, double step) {
    double first = intFloor(lo / step) * step;
    if (static_cast<float>(first) < lo) first = (intFloor(lo / step) + 1) * step;
    return first;
}

// Int(span / step) into a 16-bit count.
double tickCount(double span, double step) {
    const double n = intFloor(span / step);
    return static_cast<double>(toInteger(n));
}

}  // namespace

TickLayout layoutTicks(float lo, float hi, AxisKind kind, double scaleSize,
                       const std::function<double(double)>& measure) {
    TickLayout out;
    const double span = static_cast<double>(hi - lo);
    TickStep ts = GetTickStep(span);
    if (!ts.valid || !std::isfinite(lo) || !std::isfinite(hi)) return out;

    double step = ts.step;
    double first = firstTick(lo, step);
    double n = tickCount(span, step);
    double sample = kind == AxisKind::Time ? n * step + first : first;
    for (int k = 0; k < kMaxDoublings && std::fabs(measure(sample) * n * 2) > std::fabs(scaleSize);
         ++k) {
        step = 2 * step;
        n = tickCount(span, step);
        if (kind == AxisKind::Time) {
            sample = intFloor(hi / step) * step;
            if (sample > hi) sample -= step;
        } else {
            sample = firstTick(lo, step);
        }
    }
    first = firstTick(lo, step);
    const double minor = step / 5;
    ts.step = step;
    out.step = ts;

    for (int k = 1; k <= 4; ++k) {
        const double m = first - k * minor;
        if (m < lo) break;
        out.ticks.push_back({m, false});
    }
    double v = first;
    int majors = 0;
    do {
        out.ticks.push_back({v, true});
        for (int k = 1; k <= 4; ++k) {
            const double m = v + k * minor;
            if (m > hi) break;
            out.ticks.push_back({m, false});
        }
        v = v + step;
    } while (static_cast<float>(v) <= hi && ++majors < kMaxMajors);
    return out;
}

}  // namespace pelomar::core
