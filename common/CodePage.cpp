#include "common/CodePage.h"

#include "common/Utf8.h"

#include <optional>

namespace pelomar {

namespace {

std::optional<char> toByte(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
    for (int b = 0x80; b < 0xA0; ++b)
        if (codePageToUnicode(static_cast<unsigned char>(b)) == u) return static_cast<char>(b);
    return std::nullopt;
}

}  // namespace

QString fromCodePage(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* d = out.data();
    for (const char c : bytes) *d++ = QChar(codePageToUnicode(static_cast<unsigned char>(c)));
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
