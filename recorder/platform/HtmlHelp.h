#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <utility>

#include "core/window/HelpViewer.h"
#include "core/UiServices.h"

namespace tavrin {

// The help file as HTML with one anchor "context-<n>" per context number,
// shown by the desktop's viewer.
class HtmlHelp : public HelpViewer {
public:
    // Opens a URL in the desktop's viewer; false when none could be started.
    using Opener = std::function<bool(const QUrl&)>;

    // ui: where a help file that cannot be shown is reported; none: silent.
    explicit HtmlHelp(QString path, UiServices* ui = nullptr, Opener open = {});

    void ShowHelp(int32_t context) override;
    QUrl urlFor(int32_t context) const;

    // Tavrin.html in the install's share folder beside the program's folder.
    static QString defaultPath();

private:
    QString path_;
    UiServices* ui_;
    Opener open_;
};

}  // namespace tavrin
