#include "QtChartUiServices.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "common/CodePage.h"

namespace pelomar {

int32_t QtChartUiServices::MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) {
    QString text = fromCodePage(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    const QString caption = title.empty() ? QGuiApplication::applicationDisplayName() : fromCodePage(title);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (buttons & 0x70) {
    case kCritical: icon = QMessageBox::Critical; break;
    case 32: icon = QMessageBox::Question; break;
    case kExclamation: icon = QMessageBox::Warning; break;
    case kInformation: icon = QMessageBox::Information; break;
    default: break;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent_);
    box.exec();
    return kAnswerOK;
}

void QtChartUiServices::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace pelomar
