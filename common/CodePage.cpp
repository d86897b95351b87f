#include "common/CodePage.h"

#include <array>
#include <optional>

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

char16_t toUnicode(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHighRow[b - 0x80] : b; }

std::optional<char> toByte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (size_t i = 0; i < kHighRow.size(); ++i)
        if (kHighRow[i] == u) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

QString fromCodePage(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (const char c : bytes) *d++ = QChar(toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string toCodePage(const QString& text) {
    // A character the code page cannot hold becomes '?', as the platform's
    // own conversion writes it: a surrogate pair is one character, and a
    // lone surrogate is one too, so that it takes nothing after it along.
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
        out.push_back(toByte(ch.unicode()).value_or('?'));
    }
    return out;
}

}  // namespace pelomar
