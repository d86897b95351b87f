#pragma once

#include <QDialog>
#include <QTemporaryDir>

#include "TavrinApplication.h"
#include "core/registry/PosixRecorderFileSystem.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeHelp.h"
#include "fakes/FakePrinterDialog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeSettingsStore.h"

namespace tavrin::test {

// The application's services that a window test does not look at: an empty
// settings store, a probe that finds every port, help, files and dialogs
// that only record, an empty About box.
struct AppFakes {
    FakeSerialPort port;
    FakeSerialPort probe;
    FakeSettingsStore settings;
    FakeHelp help;
    PosixRecorderFileSystem files;
    FakeFileDialog fileDialog;
    FakePrinterDialog printer;
    FakeBusyCursor cursor;
    QDialog about;
    // Where this copy registers and keeps its backups.
    QTemporaryDir program;

    TavrinApplication::Services services(SerialPort& mainPort, UiServices& ui, ErrorLogFile& errorLog,
                                         const Clock& clock) {
        TavrinApplication::Services s{mainPort, ui,         errorLog, clock,  settings, probe,
                                      help,     files,      fileDialog, printer, cursor, about};
        s.programFolder = programFolder();
        return s;
    }

    std::string programFolder() const { return program.path().toStdString(); }
};

}  // namespace tavrin::test
