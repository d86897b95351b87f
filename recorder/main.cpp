#include <QApplication>
#include <QMessageBox>

#include "frmMain.h"
#include "pelomar/CodePage.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QtUiServices.h"
#include "platform/SystemClock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin MS"));
    if (!pelomar::codePageAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tavrin MS"),
                              QStringLiteral("This Qt has no windows-1252 codec; texts cannot be kept."));
        return 1;
    }
    tavrin::QtUiServices ui;
    tavrin::ErrorLogAppender errorLog(tavrin::ErrorLogAppender::defaultPath());
    tavrin::SystemClock clock;
    // The serial port is wired in with the link layer.
    frmMain window(frmMain::Services{nullptr, ui, errorLog, clock});
    ui.setParent(&window);
    window.show();
    return QApplication::exec();
}
