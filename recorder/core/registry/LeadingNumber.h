#pragma once

#include <string>

namespace tavrin {

// The numeric value of a text read the way the settings values are read: the
// longest leading number (blanks, tabs and line feeds anywhere are skipped;
// sign, digits, a decimal point, an exponent); 0 when the text does not start
// with one.
double LeadingNumber(const std::string& text);

}  // namespace tavrin
