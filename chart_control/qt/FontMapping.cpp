#include "FontMapping.h"

namespace pelomar {

QString mappedFontFamily(const std::string& name) {
    if (name == "Arial") return QStringLiteral("Liberation Sans");
    if (name == "Times New Roman") return QStringLiteral("Liberation Serif");
    if (name == "Small Fonts") return QStringLiteral("DejaVu Sans");
    if (name == "Courier New") return QStringLiteral("Liberation Mono");
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QFont mappedFont(const std::string& name, double points, bool bold, bool italic) {
    QFont f(mappedFontFamily(name));
    f.setPointSizeF(points > 0 ? points : 1);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleHint(name == "Times New Roman" ? QFont::Serif
                   : name == "Courier New"   ? QFont::Monospace
                                             : QFont::SansSerif);
    return f;
}

}  // namespace pelomar
