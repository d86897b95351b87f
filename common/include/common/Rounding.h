#pragma once

#include <cstdint>

namespace pelomar::core {

// Nearest integer, a half to the even neighbour; NaN and infinities pass through.
double roundHalfEven(double value) noexcept;

// Stores a Single or Double into a whole-number variable: rounds half to even
// and raises RuntimeError 6 (Overflow) when the result does not fit or is NaN.
int32_t toLong(double value);
int16_t toInteger(double value);

// Int(x): the largest whole number <= x, as a Double.
double intFloor(double value) noexcept;

}  // namespace pelomar::core
