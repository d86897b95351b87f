#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrin {

// A serial port the system lists. Texts are UTF-8, as the system gives them.
struct SystemSerialPort {
    enum class Kind {
        Adapter,  // on USB: ttyUSB, ttyACM
        Builtin,  // a UART of the board: ttyS, ttyAMA, ...
    };
    std::string device;  // "/dev/ttyUSB0"
    std::string description;
    std::string manufacturer;
    // A name that stays with the physical socket ("/dev/serial/by-path/..."),
    // empty when the system has none.
    std::string stablePath;
    Kind kind = Kind::Builtin;
};

// A device named for one COM number by the user.
struct ComPortOverride {
    std::string device;  // as named; empty for none
    // Where the name leads when it is a link, so a listed device it names is
    // recognised; empty when unknown.
    std::string target;
};

// What COM n stands for: its device path (empty: there is none) and the
// tool tip that tells the user which device that is.
struct ComPortSlot {
    std::string device;
    std::string toolTip;
};

constexpr int16_t kComPorts = 10;
using ComPortOverrides = std::array<ComPortOverride, kComPorts>;
using ComPortMap = std::array<ComPortSlot, kComPorts>;

// COM 1..10 over the listed ports: a COM with an override takes its device;
// the others take, in order, the listed ports that no override names:
// adapters first (by stable path, then those without one by device name),
// then the built-in ports by device name, names compared in natural number
// order (ttyS2 before ttyS10). Ports beyond the tenth are left out. The
// order of the list does not matter.
ComPortMap mapComPorts(const std::vector<SystemSerialPort>& ports, const ComPortOverrides& overrides);

// a < b with runs of digits compared as numbers.
bool naturalLess(const std::string& a, const std::string& b);

}  // namespace tavrin
