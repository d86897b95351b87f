#pragma once

#include <functional>

#include "core/settings/ComPortNames.h"
#include "core/run/ErrorReporter.h"
#include "core/settings/SetupLogic.h"
#include "core/run/SerialPort.h"
#include "core/Timer.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The choice and opening of the main port when the main window loads.
class PortChoice {
public:
    // Shows a setup dialog modally over the given state.
    using ShowSetup = std::function<void(SetupLogic&)>;

    // names: what each COM is, for the dialog; may be null.
    PortChoice(SerialPort& mainPort, SerialPort& probe, Timer& timerCheckComData, modGlobas& globals,
               UiServices& ui, ErrorReporter& errors, ShowSetup showSetup, ComPortNames* names = nullptr);

    // Sets the main port's number to the saved port when it is free and no
    // other copy was running at start, else lets the user confirm the first
    // free one. False, after telling the user, when no port is free: the
    // program must quit.
    bool ChoosePort(bool otherCopyWasRunning);
    // Opens the chosen port; a port that does not exist is reported and the
    // setup dialog offered.
    void OpenPort();
    // A fresh dialog, scanned, shown and unloaded.
    void ShowSetupDialog();

private:
    SerialPort& mainPort_;
    SerialPort& probe_;
    Timer& timerCheckComData_;
    modGlobas& globals_;
    UiServices& ui_;
    ErrorReporter& errors_;
    ShowSetup showSetup_;
    ComPortNames* names_;
};

}  // namespace tavrin
