#pragma once

#include <string>

namespace pelomar::core {

// Pattern formatting with a fixed number of decimals ("0", "0.0", "0.000", ...):
// at least one digit before the separator, rounded half away from zero on the
// value's 15-significant-digit decimal form, as the platform's Format does.
// A value that rounds to zero carries no minus sign. NaN and infinities are
// written "NaN", "Inf" and "-Inf" so a display never fails on them.
std::string formatFixed(double value, int decimals, char decimalSeparator);
// A Single is formatted from its 7-significant-digit decimal form, as the
// platform shows a Single (0.00005f gives "0.0001" with four decimals).
std::string formatFixed(float value, int decimals, char decimalSeparator);

// The "0.E+0" pattern: one digit, the separator, "E", a signed exponent
// (0.001 gives "1.E-3").
std::string formatScientificOneDigit(double value, char decimalSeparator);

}  // namespace pelomar::core
