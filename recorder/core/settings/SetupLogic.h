#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/settings/ComPortNames.h"
#include "core/run/SerialPort.h"
#include "core/Timer.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The COM port setup dialog's state and handlers: which of COM 1..10 can be
// opened, the port checked, and the opening of the chosen port on OK. A
// window shows it; one instance lives from the dialog's load to its unload.
class SetupLogic {
public:
    static constexpr int16_t kPorts = 10;

    // probe: the dialog's own port, CommTmp, for scans that must leave the
    // main port alone. names: what each COM is, taken afresh at the load;
    // without it the options carry no tool tips.
    SetupLogic(SerialPort& mainPort, SerialPort& probe, Timer& timerCheckComData, modGlobas& globals,
              UiServices& ui, ComPortNames* names = nullptr);

    // Disables the option of every port that cannot be opened (no such port,
    // or in use). UseMainPort non-zero scans with the main port (its number
    // is then left at 10); zero scans with the probe and skips the main
    // port's own number.
    void CheckComPorts(int16_t& UseMainPort);

    void Form_Load();
    // Checks optCom(Index), as a click does.
    void optCom_Click(int16_t Index);
    void cmdOk_Click();
    void cmdCancel_Click();

    // optCom(i) stands for COM i + 1.
    std::array<bool, kPorts> optComEnabled{true, true, true, true, true, true, true, true, true, true};
    // What optCom(i)'s port is, set at the load (UTF-8).
    std::array<std::string, kPorts> optComToolTip{};
    // The checked option, -1 for none.
    int16_t CheckedOption = -1;
    bool cmdCancelEnabled = true;
    int16_t SelectedPort = 0;
    // Set by OK (once the port is open) and by Cancel; the window closes.
    bool Hidden = false;
    std::function<void()> onHide;

private:
    void hide();

    SerialPort& mainPort_;
    SerialPort& probe_;
    Timer& timerCheckComData_;
    modGlobas& globals_;
    UiServices& ui_;
    ComPortNames* names_;
};

}  // namespace tavrin
