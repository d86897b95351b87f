#include "core/settings/PortChoice.h"

#include <utility>

#include "common/Guard.h"
#include "core/ErrorCodes.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace tavrin {

PortChoice::PortChoice(SerialPort& mainPort, SerialPort& probe, Timer& timerCheckComData,
                       modGlobas& globals, UiServices& ui, ErrorReporter& errors, ShowSetup showSetup,
                       ComPortNames* names)
    : mainPort_(mainPort),
      probe_(probe),
      timerCheckComData_(timerCheckComData),
      globals_(globals),
      ui_(ui),
      errors_(errors),
      showSetup_(std::move(showSetup)),
      names_(names) {}

bool PortChoice::ChoosePort(bool otherCopyWasRunning) {
    SetupLogic setup(mainPort_, probe_, timerCheckComData_, globals_, ui_, names_);
    setup.Form_Load();
    int16_t useMainPort = -1;
    setup.CheckComPorts(useMainPort);

    const int16_t saved = globals_.ComPortNumber;
    if (saved >= 1 && saved <= SetupLogic::kPorts && setup.optComEnabled[static_cast<size_t>(saved - 1)] &&
        !otherCopyWasRunning) {
        mainPort_.setCommPort(saved);
        return true;
    }
    for (int16_t i = 0; i < SetupLogic::kPorts; ++i) {
        if (!setup.optComEnabled[static_cast<size_t>(i)]) continue;
        globals_.ComPortNumber = static_cast<int16_t>(i + 1);
        // The saved port's option may still be checked though the scan found
        // it busy; OK must offer the free one.
        setup.optCom_Click(i);
        setup.cmdCancelEnabled = false;
        if (showSetup_) showSetup_(setup);
        timerCheckComData_.stop();
        setup.cmdCancelEnabled = true;
        if (mainPort_.PortOpen()) mainPort_.setPortOpen(false);
        // A dialog closed without OK leaves the number the scan left behind.
        mainPort_.setCommPort(globals_.ComPortNumber);
        return true;
    }
    (void)ui_.messageBox(
        "All available COM ports are already in use.  Please free one COM port before restarting Tavrin MS.",
        "Tavrin MS", UiServices::Buttons::Ok, UiServices::Icon::None);
    return false;
}

void PortChoice::OpenPort() {
    mainPort_.setInBufferSize(code::kPortInBufferSize);
    try {
        mainPort_.setPortOpen(true);
    } catch (const pelomar::RuntimeError& e) {
        errors_.HandelError(static_cast<int16_t>(e.number()));
        if (e.number() == pelomar::core::err::kInvalidPortNumber) ShowSetupDialog();
    }
}

void PortChoice::ShowSetupDialog() {
    // The setup command ignores its run-time errors.
    pelomar::skipRuntimeError([&] {
        SetupLogic setup(mainPort_, probe_, timerCheckComData_, globals_, ui_, names_);
        setup.Form_Load();
        if (showSetup_) showSetup_(setup);
    });
}

}  // namespace tavrin
