#pragma once

#include <QtGlobal>

#include "common/Guard.h"

namespace pelomar {

// The chart's own event handlers and drawing passes: a run-time error ends
// them quietly, as the member that raised it has dealt with it; any other
// fault is warned about, and the control goes on.
template <typename Body>
void guardEvent(const char* handler, Body&& body) noexcept {
    guardHandler(body, [handler](const char* what) { qWarning("Pelomar %s failed: %s", handler, what); });
}

}  // namespace pelomar
