#pragma once

#include <QString>
#include <QUrl>

#include "core/HelpViewer.h"

namespace tavrin {

// The help file as HTML with one anchor "context-<n>" per context number,
// shown by the desktop's viewer.
class HtmlHelp : public HelpViewer {
public:
    explicit HtmlHelp(QString path) : path_(std::move(path)) {}

    void ShowHelp(int32_t context) override;
    QUrl urlFor(int32_t context) const;

    // Tavrin.html in the install's share folder beside the program's folder.
    static QString defaultPath();

private:
    QString path_;
};

}  // namespace tavrin
