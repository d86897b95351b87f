#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "core/run/ErrorReporter.h"
#include "core/registry/PosixRecorderFileSystem.h"
#include "dialogs/frmStartup.h"
#include "TavrinApplication.h"
#include "frmMain.h"
#include "platform/ErrorLogAppender.h"
#include "platform/HtmlHelp.h"
#include "platform/QSerialPortAdapter.h"
#include "ui/QtBusyCursor.h"
#include "ui/QtFileDialog.h"
#include "ui/QtPrinterDialog.h"
#include "ui/QtUiServices.h"
#include "platform/RunningCopies.h"
#include "platform/SettingsFile.h"
#include "platform/SystemComPorts.h"
#include "platform/SystemClock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin MS"));
    tavrin::QtUiServices ui;
    const std::string errorLogPath = tavrin::ErrorLogAppender::defaultPath();
    // The writable program folder: the error log's and the "Log" folder's.
    const std::string programFolder = QFileInfo(QString::fromStdString(errorLogPath)).absolutePath().toStdString();
    tavrin::ErrorLogAppender errorLog(errorLogPath);
    tavrin::SystemClock clock;
    tavrin::SettingsFile settings(tavrin::SettingsFile::defaultPath());
    tavrin::PosixRecorderFileSystem files;
    tavrin::HtmlHelp help(tavrin::HtmlHelp::defaultPath(), &ui);
    // Taken before anything else, as the start-up snapshot of the other copies.
    tavrin::RunningCopies copies(programFolder + "/running.lock");
    // COM n is the device named in TAVRIN_COM<n>, else one of the serial
    // ports the system lists.
    tavrin::SystemComPorts comPorts([](const char* name) { return std::getenv(name); },
                                    [] { return tavrin::listSystemSerialPorts(); });
    const auto deviceFor = [&comPorts](int16_t n) { return comPorts.device(n); };
    tavrin::QSerialPortAdapter comPort(deviceFor);
    tavrin::QSerialPortAdapter commTmp(deviceFor);
    comPorts.setOpenPort([&comPort] { return std::pair{comPort.CommPort(), comPort.OpenDevice()}; });
    tavrin::QtFileDialog fileDialog;
    tavrin::QtPrinterDialog printer;
    tavrin::QtBusyCursor cursor;
    const QString point = QLocale().decimalPoint();
    const char decimalSeparator = point.size() == 1 && point[0].unicode() < 0x80 ? point[0].toLatin1() : '.';
    // The arguments as the system gave them (Qt has taken its own out): a
    // file name is the file system's bytes, whatever they are.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }

    std::unique_ptr<TavrinApplication> application;
    std::unique_ptr<frmStartup> splash;
    // Before the application exists the splash's faults go straight to the error log.
    const tavrin::FaultReport splashFaults = [&](const std::string& handler, const std::string& what) {
        tavrin::appendFault(errorLog, clock, handler, what);
    };
    splash = std::make_unique<frmStartup>(settings, [&] {
        TavrinApplication::Services services{comPort, ui,    errorLog,   clock,   settings,
                                             commTmp, help, files,      fileDialog, printer,
                                             cursor,  *splash, decimalSeparator};
        services.programFolder = programFolder;
        services.otherCopyWasRunning = copies.otherCopyWasRunning();
        services.logInfoSettings = splash->LogInfoSettings();
        // The process id is unique among the copies running at once.
        services.copyNumber = static_cast<uint32_t>(::getpid());
        services.commandLine = commandLine;
        services.comPortNames = &comPorts;
        application = std::make_unique<TavrinApplication>(services);
        frmMain* window = &application->window();
        ui.setParent(window);
        fileDialog.setParent(window);
        printer.setParent(window);
        // The charts print on the chosen printer from then on.
        printer.setOnChosen([window](QPrinter& chosen) {
            for (int i = 0; i < 5; ++i) window->Chart[static_cast<size_t>(i)]->setPrinter(&chosen);
        });
        window->commands.endProgram = [] { QApplication::exit(0); };
        if (!window->Form_Load()) {
            QApplication::exit(0);
            return;
        }
        window->show();
    }, splashFaults);
    splash->show();
    const int result = QApplication::exec();
    application.reset();
    return result;
}
