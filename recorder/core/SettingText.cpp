#include "core/SettingText.h"

#include <cctype>
#include <charconv>

#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace tavrin {

namespace err = pelomar::core::err;
using pelomar::RuntimeError;

namespace {

std::string trimmed(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

bool equalsNoCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

}  // namespace

double textToDouble(const std::string& text, char decimalSeparator) {
    const std::string t = trimmed(text);
    // Only sign, digits, one separator and an exponent; from_chars alone
    // would also take "inf", "nan" and hexadecimal forms.
    std::string plain;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
    size_t digits = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) plain += t[i++], ++digits;
    if (i < t.size() && t[i] == decimalSeparator) {
        plain += '.';
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) plain += t[i++], ++digits;
    }
    if (digits == 0) throw RuntimeError(err::kTypeMismatch);
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
        size_t expDigits = 0;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) plain += t[i++], ++expDigits;
        if (expDigits == 0) throw RuntimeError(err::kTypeMismatch);
    }
    if (i != t.size()) throw RuntimeError(err::kTypeMismatch);

    const char* first = plain.data();
    if (*first == '+') ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to hold is a zero, not an error.
        if (plain.find("e-") != std::string::npos) return 0.0;
        throw RuntimeError(err::kOverflow);
    }
    if (ec != std::errc() || end != plain.data() + plain.size()) throw RuntimeError(err::kTypeMismatch);
    return value;
}

int16_t textToInteger(const std::string& text, char decimalSeparator) {
    return pelomar::core::toInteger(textToDouble(text, decimalSeparator));
}

bool textToBoolean(const std::string& text, char decimalSeparator) {
    const std::string t = trimmed(text);
    if (equalsNoCase(t, "True")) return true;
    if (equalsNoCase(t, "False")) return false;
    return textToDouble(t, decimalSeparator) != 0.0;
}

std::string doubleToText(double value, char decimalSeparator) {
    char buffer[40];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("0");
    for (char& c : text) {
        if (c == '.') c = decimalSeparator;
        if (c == 'e') c = 'E';
    }
    return text;
}

}  // namespace tavrin
