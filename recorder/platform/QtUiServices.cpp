#include "platform/QtUiServices.h"

#include <QApplication>
#include <QMessageBox>

#include "pelomar/CodePage.h"

namespace tavrin {

namespace {
QMessageBox::Icon toQt(UiServices::Icon icon) {
    switch (icon) {
    case UiServices::Icon::Exclamation: return QMessageBox::Warning;
    case UiServices::Icon::Critical: return QMessageBox::Critical;
    case UiServices::Icon::Question: return QMessageBox::Question;
    case UiServices::Icon::Information: return QMessageBox::Information;
    case UiServices::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

void QtUiServices::messageBox(const std::string& text, const std::string& title, Icon icon) {
    QString body = pelomar::fromCodePage(text);
    // A lone CR breaks the line in the system's texts.
    body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(toQt(icon), pelomar::fromCodePage(title), body, QMessageBox::Ok, parent_);
    box.exec();
}

void QtUiServices::beep() { QApplication::beep(); }

}  // namespace tavrin
