#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include <cstdlib>

#include "frmMain.h"
#include "pelomar/CodePage.h"
#include "platform/ComPortDevice.h"
#include "platform/ErrorLogAppender.h"
#include "platform/QSerialPortAdapter.h"
#include "platform/QtUiServices.h"
#include "platform/SettingsFile.h"
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
    tavrin::SettingsFile settings(tavrin::SettingsFile::defaultPath());
    // COM n is /dev/ttyS<n-1> unless TAVRIN_COM<n> names another device.
    const auto deviceFor = [](int16_t n) {
        return tavrin::comPortDevice(n, [](const char* name) { return std::getenv(name); });
    };
    tavrin::QSerialPortAdapter comPort(deviceFor);
    tavrin::QSerialPortAdapter commTmp(deviceFor);
    const QString point = QLocale().decimalPoint();
    const char decimalSeparator = point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.';
    frmMain window(frmMain::Services{&comPort, ui, errorLog, clock, &settings, &commTmp, decimalSeparator});
    ui.setParent(&window);
    window.LoadSettings();
    // Until the instance registry exists no other copy is known to run.
    if (!window.ChooseComPort(false)) return 0;
    window.OpenComPort();
    window.show();
    const int result = QApplication::exec();
    // Only the first registered copy writes "Options".
    if (window.recorder().globals.InstanceNumber == 1) window.SaveSettings();
    return result;
}
