#include "platform/HtmlHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>

namespace tavrin {

QUrl HtmlHelp::urlFor(int32_t context) const {
    QUrl url = QUrl::fromLocalFile(path_);
    if (context > 0) url.setFragment(QStringLiteral("context-%1").arg(context));
    return url;
}

void HtmlHelp::ShowHelp(int32_t context) { QDesktopServices::openUrl(urlFor(context)); }

QString HtmlHelp::defaultPath() {
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/tavrin-ms/Tavrin.html"));
}

}  // namespace tavrin
