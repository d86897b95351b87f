#include "TickStep.h"

#include <cmath>

#include "common/Rounding.h"

namespace pelomar::core {

namespace {
double log10ByRatio(double x) noexcept { return std::log(x) / std::log(10.0); }
}  // namespace

TickStep GetTickStep(double span) noexcept {
    TickStep t;
    if (!std::isfinite(span) || !(span > 0)) return t;
    const double x = log10ByRatio(span);
    const double e = intFloor(x);
    const double f = x - e;
    const double m = f <= 0.39793 ? 0.1 : (f <= 0.7781512 ? 0.5 : 1.0);
    t.step = m * std::pow(10.0, e);
    if (!std::isfinite(t.step) || !(t.step > 0)) return t;
    const double g = intFloor(log10ByRatio(t.step));
    if (g >= 0) {
        t.decimals = 0;
    } else if (g == -1) {
        t.decimals = 1;
    } else {
        t.decimals = 2;
        if (g < -2) t.divisor = std::pow(10.0, intFloor(log10ByRatio(t.step) + 1));
    }
    t.valid = true;
    return t;
}

}  // namespace pelomar::core
