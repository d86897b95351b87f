#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// Which device each of COM 1..10 is. The setup dialog takes the machine's
// ports afresh when it loads, so an adapter plugged in since shows up.
class ComPortNames {
public:
    virtual ~ComPortNames() = default;

    // Lists the machine's serial ports again; COM numbers follow the list.
    virtual void refresh() = 0;
    // The device behind COM n and what it is, for its option (UTF-8).
    virtual std::string toolTip(int16_t portNumber) const = 0;
};

}  // namespace tavrin
