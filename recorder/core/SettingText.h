#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// Stored settings are texts; these convert them the way the platform's
// conversion functions do. A text that is not a number (or a Boolean word)
// raises pelomar::RuntimeError 13, a number out of range 6.

// A decimal number, surrounding spaces allowed; decimalSeparator is the
// user's, as the value was written with it.
double textToDouble(const std::string& text, char decimalSeparator);
// The number rounded half to even into an Integer.
int16_t textToInteger(const std::string& text, char decimalSeparator);
// "True" / "False" in any case, or a number: 0 is False, anything else True.
bool textToBoolean(const std::string& text, char decimalSeparator);

// Up to 15 significant digits, no trailing zeros ("24", "0.5", "1E-05").
std::string doubleToText(double value, char decimalSeparator);
inline std::string booleanToText(bool value) { return value ? "True" : "False"; }

}  // namespace tavrin
