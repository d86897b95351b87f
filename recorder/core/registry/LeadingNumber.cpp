#include "core/registry/LeadingNumber.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace tavrin {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

double LeadingNumber(const std::string& text) {
    std::string s;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    }
    size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool digits = false;
    while (i < s.size() && isDigit(s[i])) { number += s[i++]; digits = true; }
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && isDigit(s[i])) { number += s[i++]; digits = true; }
    }
    if (!digits) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exponent = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        const size_t first = j;
        while (j < s.size() && isDigit(s[j])) exponent += s[j++];
        if (j > first) number += exponent;
    }
    // from_chars: the decimal point is "." whatever the process locale says.
    double value = 0.0;
    const char* first = number.c_str();
    if (*first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, number.c_str() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (number.find("e-") != std::string::npos) return 0.0;
        return number[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

}  // namespace tavrin
