#include <QApplication>
#include <QMessageBox>

#include <cstdlib>

#include "frmMain.h"
#include "pelomar/CodePage.h"
#include "pelomar/RuntimeError.h"
#include "platform/ComPortDevice.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QSerialPortAdapter.h"
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
    // COM n is /dev/ttyS<n-1> unless TAVRIN_COM<n> names another device.
    tavrin::QSerialPortAdapter comPort([](int16_t n) {
        return tavrin::comPortDevice(n, [](const char* name) { return std::getenv(name); });
    });
    comPort.setCommPort(1);
    comPort.setInBufferSize(32000);
    frmMain window(frmMain::Services{&comPort, ui, errorLog, clock});
    ui.setParent(&window);
    window.show();
    try {
        comPort.setPortOpen(true);
    } catch (const pelomar::RuntimeError& e) {
        window.HandelError(static_cast<int16_t>(e.number()));
    }
    return QApplication::exec();
}
