#include <QApplication>
#include <QMessageBox>

#include "frmMain.h"
#include "pelomar/CodePage.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin MS"));
    if (!pelomar::codePageAvailable()) {
        QMessageBox::critical(nullptr, QStringLiteral("Tavrin MS"),
                              QStringLiteral("This Qt has no windows-1252 codec; texts cannot be kept."));
        return 1;
    }
    frmMain window;
    window.show();
    return QApplication::exec();
}
