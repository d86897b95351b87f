#include "common/Utf8.h"

#include <array>

namespace pelomar {

namespace {

// windows-1252 at 0x80..0x9F; elsewhere a byte is the Latin-1 code point.
// The five bytes the code page leaves undefined read as the C1 controls of
// the same number, as the platform's codec reads them, so every byte
// round-trips.
constexpr std::array<char16_t, 32> kHighRow = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

char16_t codePageToUnicode(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighRow[byte - 0x80] : byte;
}

std::string codePageToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const char16_t u = codePageToUnicode(static_cast<unsigned char>(c));
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

size_t utf8CharLength(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, min = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, min = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, min = 0x10000;
    else return 1;
    if (pos + length > text.size()) return 1;
    char32_t code = lead & (0x3F >> (length - 1));
    for (size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if (!continuation(b)) return 1;
        code = (code << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode start nothing.
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 1;
    return length;
}

size_t utf8Length(std::string_view text) {
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); pos += utf8CharLength(text, pos)) ++count;
    return count;
}

std::string utf8Left(std::string_view text, size_t count) {
    size_t pos = 0;
    for (; pos < text.size() && count > 0; --count) pos += utf8CharLength(text, pos);
    return std::string(text.substr(0, pos));
}

}  // namespace pelomar
