#pragma once

#include <functional>
#include <string>

#include "common/Guard.h"

namespace tavrin {

// Where a window's handlers send a fault that is no run-time error: the
// handler's name and the fault's description, for the error log.
using FaultReport = std::function<void(const std::string& handler, const std::string& what)>;

// The outermost frame of a window's handler: a run-time error ends it
// quietly, anything else goes to `report`, and nothing leaves it.
template <typename Body>
void guardSlot(const FaultReport& report, const char* handler, Body&& body) noexcept {
    pelomar::guardHandler(body, [&](const char* what) { report(handler, what); });
}

}  // namespace tavrin
