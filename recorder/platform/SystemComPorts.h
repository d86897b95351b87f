#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/settings/ComPortMap.h"
#include "core/settings/ComPortNames.h"

namespace tavrin {

// Looks up an environment variable; nullptr when it is not set.
using EnvLookup = std::function<const char*(const char*)>;

// COM 1..10 of this machine: TAVRIN_COM<n>, when set and not empty, names
// the device of COM n; the other numbers go to the serial ports the system
// lists, in the order of mapComPorts. The list is taken at the first lookup
// and again at every refresh, never when all ten are named.
class SystemComPorts : public ComPortNames {
public:
    using Lister = std::function<std::vector<SystemSerialPort>()>;
    // COM number and device of the main port while it is open, else an empty
    // device: that COM keeps its device across a refresh.
    using OpenPort = std::function<std::pair<int16_t, std::string>()>;

    explicit SystemComPorts(EnvLookup env, Lister lister);

    void setOpenPort(OpenPort openPort) { openPort_ = std::move(openPort); }

    void refresh() override;
    std::string toolTip(int16_t portNumber) const override;
    // Device path of COM n; empty when COM n has none or n is outside 1..10.
    std::string device(int16_t portNumber) const;

private:
    // The map is taken lazily by the const lookups, hence mutable.
    void remap() const;
    const ComPortSlot* slot(int16_t portNumber) const;

    EnvLookup env_;
    Lister lister_;
    OpenPort openPort_;
    mutable ComPortMap map_{};
    mutable bool mapped_ = false;
};

// The serial ports QSerialPortInfo lists, each with its link in
// stableFolder (by default /dev/serial/by-path) when there is one. Listing
// may touch the devices: tests never call it.
std::vector<SystemSerialPort> listSystemSerialPorts(const std::string& stableFolder = "/dev/serial/by-path");

// The links of a folder such as /dev/serial/by-path, by the device path
// each leads to; of several links to one device the first in natural order.
std::map<std::string, std::string> stableSerialPaths(const std::string& folder);

// An adapter when the port is on USB or named like one (ttyUSB, ttyACM).
SystemSerialPort::Kind serialPortKind(const std::string& portName, bool onUsb);

}  // namespace tavrin
