#pragma once

#include <exception>

#include "common/RuntimeError.h"

namespace pelomar {

// One step of a member that goes on after a run-time error: the error ends
// the step and the member carries on with the next. Anything else is a fault,
// not a run-time error, and goes on to the guard of the handler.
template <typename Step>
void skipRuntimeError(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// The outermost frame of an event handler (slot, timer tick, event): nothing
// leaves it. A run-time error is expected there (the member that raised it
// has reported it, or it is meant to pass unnoticed) and ends the handler
// quietly; anything else is a fault and is handed, with its description, to
// `unexpected`.
template <typename Body, typename Unexpected>
void guardHandler(Body&& body, Unexpected&& unexpected) noexcept {
    try {
        body();
    } catch (const RuntimeError&) {
    } catch (const std::exception& e) {
        try {
            unexpected(e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            unexpected("unknown exception");
        } catch (...) {
        }
    }
}

}  // namespace pelomar
