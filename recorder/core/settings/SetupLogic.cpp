#include "core/settings/SetupLogic.h"

#include "common/Guard.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace tavrin {

namespace err = pelomar::core::err;

SetupLogic::SetupLogic(SerialPort& mainPort, SerialPort& probe, Timer& timerCheckComData,
                     modGlobas& globals, UiServices& ui, ComPortNames* names)
    : mainPort_(mainPort),
      probe_(probe),
      timerCheckComData_(timerCheckComData),
      globals_(globals),
      ui_(ui),
      names_(names) {}

void SetupLogic::CheckComPorts(int16_t& UseMainPort) {
    for (int16_t i = 1; i <= kPorts; ++i) {
        SerialPort* port = &mainPort_;
        if (UseMainPort == 0) {
            // The port this program listens on is busy by its own doing.
            if (mainPort_.CommPort() == i) continue;
            port = &probe_;
        }
        try {
            port->setCommPort(i);
            port->setPortOpen(true);
            if (port->PortOpen()) port->setPortOpen(false);
        } catch (const pelomar::RuntimeError& e) {
            if (e.number() == err::kInvalidPortNumber || e.number() == err::kPortAlreadyOpen)
                optComEnabled[static_cast<size_t>(i - 1)] = false;
        }
    }
}

void SetupLogic::Form_Load() {
    // The scan and the tool tips see the same ports.
    if (names_ != nullptr) {
        names_->refresh();
        for (int16_t i = 0; i < kPorts; ++i)
            optComToolTip[static_cast<size_t>(i)] = names_->toolTip(static_cast<int16_t>(i + 1));
    }
    int16_t useMainPort = 0;
    CheckComPorts(useMainPort);
    SelectedPort = globals_.ComPortNumber;
    // A stored number outside COM 1..10 checks nothing.
    if (SelectedPort >= 1 && SelectedPort <= kPorts) optCom_Click(static_cast<int16_t>(SelectedPort - 1));
}

void SetupLogic::optCom_Click(int16_t Index) {
    CheckedOption = Index;
    SelectedPort = static_cast<int16_t>(Index + 1);
}

void SetupLogic::cmdOk_Click() {
    globals_.StatusBlocksSeen = false;
    const int16_t previousPort = globals_.ComPortNumber;
    const bool wasOpen = mainPort_.PortOpen();
    globals_.ComPortNumber = SelectedPort;
    try {
        if (mainPort_.PortOpen()) mainPort_.setPortOpen(false);
        mainPort_.setCommPort(SelectedPort);
        mainPort_.setPortOpen(true);
        hide();
        timerCheckComData_.start();
    } catch (const pelomar::RuntimeError& e) {
        (void)ui_.messageBox("Cannot open the selected communication port\r" + pelomar::core::errorText(e.number()),
                             "DATA COLLECTION SETUP ERROR", UiServices::Buttons::Ok,
                             UiServices::Icon::Exclamation);
        globals_.ComPortNumber = previousPort;
        pelomar::skipRuntimeError([&] { mainPort_.setCommPort(previousPort); });
        pelomar::skipRuntimeError([&] {
            if (mainPort_.PortOpen() != wasOpen) mainPort_.setPortOpen(wasOpen);
        });
    }
}

void SetupLogic::cmdCancel_Click() { hide(); }

void SetupLogic::hide() {
    Hidden = true;
    if (onHide) onHide();
}

}  // namespace tavrin
