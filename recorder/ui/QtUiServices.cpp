#include "ui/QtUiServices.h"

#include <QApplication>
#include <QMessageBox>


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

QMessageBox::StandardButtons toQt(UiServices::Buttons buttons) {
    switch (buttons) {
    case UiServices::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case UiServices::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case UiServices::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UiServices::Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case UiServices::Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

UiServices::Answer fromQt(int button, UiServices::Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok: return UiServices::Answer::Ok;
    case QMessageBox::Yes: return UiServices::Answer::Yes;
    case QMessageBox::No: return UiServices::Answer::No;
    case QMessageBox::Retry: return UiServices::Answer::Retry;
    case QMessageBox::Cancel: return UiServices::Answer::Cancel;
    default: break;
    }
    // Closed without a button.
    if (buttons == UiServices::Buttons::Ok) return UiServices::Answer::Ok;
    return buttons == UiServices::Buttons::YesNo ? UiServices::Answer::No : UiServices::Answer::Cancel;
}


QMessageBox::StandardButton toQt(UiServices::Answer answer) {
    switch (answer) {
    case UiServices::Answer::Ok: return QMessageBox::Ok;
    case UiServices::Answer::Cancel: return QMessageBox::Cancel;
    case UiServices::Answer::Yes: return QMessageBox::Yes;
    case UiServices::Answer::No: return QMessageBox::No;
    case UiServices::Answer::Retry: return QMessageBox::Retry;
    }
    return QMessageBox::NoButton;
}
}  // namespace

UiServices::Answer QtUiServices::messageBox(const std::string& text, const std::string& title,
                                            Buttons buttons, Icon icon) {
    return show(text, title, buttons, icon, nullptr);
}

UiServices::Answer QtUiServices::messageBoxWithDefault(const std::string& text, const std::string& title,
                                                       Buttons buttons, Icon icon, Answer defaultAnswer) {
    return show(text, title, buttons, icon, &defaultAnswer);
}

UiServices::Answer QtUiServices::show(const std::string& text, const std::string& title, Buttons buttons,
                                      Icon icon, const Answer* defaultAnswer) {
    QString body = QString::fromStdString(text);
    // A lone CR breaks the line in the system's texts.
    body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(toQt(icon), QString::fromStdString(title), body, toQt(buttons), parent_);
    if (defaultAnswer != nullptr) box.setDefaultButton(toQt(*defaultAnswer));
    return fromQt(box.exec(), buttons);
}

void QtUiServices::beep() { QApplication::beep(); }

}  // namespace tavrin
