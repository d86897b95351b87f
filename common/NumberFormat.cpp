#include "common/NumberFormat.h"

#include <cmath>
#include <charconv>
#include <string>

namespace pelomar::core {

namespace {

std::string nonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;

// Decimal digits and exponent of |value| at a number of significant digits:
// value = 0.d1d2...dn x 10^exp10.
struct Decimal {
    std::string digits;  // exactly n digits
    int exp10 = 0;
};

Decimal toDecimal(double magnitude, int significant) {
    char buf[64];
    // d.ddd...e[+-]xx, with "." whatever the process locale says.
    const char* const end =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, significant - 1).ptr;
    Decimal d;
    d.digits.push_back(buf[0]);
    const char* p = buf + 1;
    if (*p == '.') ++p;
    while (*p != 'e') d.digits.push_back(*p++);
    ++p;
    if (*p == '+') ++p;
    int exponent = 0;
    std::from_chars(p, end, exponent);
    d.exp10 = exponent + 1;
    return d;
}

// Rounds the decimal digits half away from zero so that `decimals` digits stay
// after the point; returns the digit string of the integer value x 10^decimals.
std::string scaledDigits(const Decimal& d, int decimals) {
    // Number of digits of d.digits that lie before the cut.
    const int keep = d.exp10 + decimals;
    const int n = static_cast<int>(d.digits.size());
    if (keep < 0) return "0";
    std::string kept = d.digits.substr(0, static_cast<size_t>(std::min<int>(keep, n)));
    while (static_cast<int>(kept.size()) < keep) kept.push_back('0');
    const bool roundUp = keep < n && d.digits[static_cast<size_t>(keep)] >= '5';
    if (kept.empty()) kept.push_back('0');
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0) {
            if (kept[static_cast<size_t>(i)] == '9') {
                kept[static_cast<size_t>(i)] = '0';
                --i;
            } else {
                ++kept[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            std::string carried(1, '1');
            carried.append(kept);
            kept.swap(carried);
        }
    }
    size_t first = kept.find_first_not_of('0');
    return first == std::string::npos ? "0" : kept.substr(first);
}

std::string formatFixedDigits(double value, int decimals, char decimalSeparator, int significant) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (decimals < 0) decimals = 0;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    std::string digits = magnitude == 0 ? "0" : scaledDigits(toDecimal(magnitude, significant), decimals);
    const bool isZero = digits == "0";
    if (static_cast<int>(digits.size()) < decimals + 1) {
        std::string padded(static_cast<size_t>(decimals + 1) - digits.size(), '0');
        padded.append(digits);
        digits.swap(padded);
    }

    std::string out;
    if (negative && !isZero) out.push_back('-');
    out.append(digits, 0, digits.size() - static_cast<size_t>(decimals));
    if (decimals > 0) {
        out.push_back(decimalSeparator);
        out.append(digits, digits.size() - static_cast<size_t>(decimals), std::string::npos);
    }
    return out;
}

}  // namespace

std::string formatFixed(double value, int decimals, char decimalSeparator) {
    return formatFixedDigits(value, decimals, decimalSeparator, kDoubleDigits);
}

std::string formatFixed(float value, int decimals, char decimalSeparator) {
    return formatFixedDigits(value, decimals, decimalSeparator, kSingleDigits);
}

std::string formatScientificOneDigit(double value, char decimalSeparator) {
    if (!std::isfinite(value)) return nonFinite(value);
    std::string out;
    if (value == 0) {
        out = "0";
        out.push_back(decimalSeparator);
        return out + "E+0";
    }
    const bool negative = value < 0;
    const Decimal d = toDecimal(std::fabs(value), kDoubleDigits);
    // One significant digit, rounded half away from zero.
    int exponent = d.exp10 - 1;
    int digit = d.digits[0] - '0';
    if (d.digits[1] >= '5') ++digit;
    if (digit == 10) {
        digit = 1;
        ++exponent;
    }
    if (negative) out.push_back('-');
    out.push_back(static_cast<char>('0' + digit));
    out.push_back(decimalSeparator);
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    out += std::to_string(std::abs(exponent));
    return out;
}

}  // namespace pelomar::core
