#pragma once

namespace pelomar::core {

// Major tick step of an axis and the format of its labels.
struct TickStep {
    bool valid = false;   // false for a span <= 0 or not finite: no ticks
    double step = 0;
    int decimals = 0;     // the "0", "0.0" or "0.00" pattern
    double divisor = 1;   // labels show value / divisor
};

// 0.1, 0.5 or 1 times the span's power of ten, by where the span's mantissa
// lies (below 2.5, below 6, above). Steps under 0.01 get two decimals and a
// power-of-ten divisor.
TickStep GetTickStep(double span) noexcept;

}  // namespace pelomar::core
