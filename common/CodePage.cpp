#include "common/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace pelomar {

namespace {
constexpr const char* kCodePage = "windows-1252";
}

bool codePageAvailable() {
    QStringDecoder decoder(kCodePage);
    QStringEncoder encoder(kCodePage);
    return decoder.isValid() && encoder.isValid();
}

QString fromCodePage(std::string_view bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string toCodePage(const QString& text) {
    // The codec marks a character it cannot map with SUB; those become '?'
    // as the platform's own conversion writes them. A SUB in the text itself
    // is kept.
    QStringEncoder encoder(kCodePage);
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QStringView ch = QStringView(text).mid(i, n);
        i += n - 1;
        if (ch.size() == 1 && ch.at(0).unicode() < 0x80) {
            out.push_back(static_cast<char>(ch.at(0).unicode()));
            continue;
        }
        const QByteArray b = encoder.encode(ch);
        out += (b.size() == 1 && b.at(0) != '\x1a') ? b.at(0) : '?';
    }
    return out;
}

}  // namespace pelomar
