#include "platform/HtmlHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace tavrin {

HtmlHelp::HtmlHelp(QString path, UiServices* ui, Opener open)
    : path_(std::move(path)), ui_(ui), open_(std::move(open)) {
    if (!open_) open_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QUrl HtmlHelp::urlFor(int32_t context) const {
    QUrl url = QUrl::fromLocalFile(path_);
    if (context > 0) url.setFragment(QStringLiteral("context-%1").arg(context));
    return url;
}

void HtmlHelp::ShowHelp(int32_t context) {
    const bool found = QFileInfo(path_).isFile();
    if (found && open_(urlFor(context))) return;
    if (ui_ == nullptr) return;
    const std::string file = QDir::toNativeSeparators(path_).toStdString();
    ui_->messageBox(found ? "The help file " + file + " cannot be shown: no program to show it was found."
                          : "The help file " + file + " was not found.",
                    "Tavrin MS", UiServices::Buttons::Ok, UiServices::Icon::Exclamation);
}

QString HtmlHelp::defaultPath() {
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/tavrin-ms/Tavrin.html"));
}

}  // namespace tavrin
