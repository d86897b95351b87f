#pragma once

#include <array>
#include <cstdint>

#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace tavrin::test {

// The machine's COM 1..10 as fake ports see them: each one free, missing,
// held by another program or not open to this user; a port opened through
// one fake is in use for the others.
class FakePortBank {
public:
    enum class State { Free, Missing, InUse, Forbidden };

    void set(int16_t port, State state) { states_.at(static_cast<size_t>(port - 1)) = state; }
    void setAll(State state) { states_.fill(state); }
    State state(int16_t port) const { return states_.at(static_cast<size_t>(port - 1)); }

    // Raises 8002, 8005 or 70 (permission denied) like the real port.
    void acquire(int16_t port) {
        if (port < 1 || port > 10 || state(port) == State::Missing)
            throw pelomar::RuntimeError(pelomar::core::err::kInvalidPortNumber);
        if (state(port) == State::InUse) throw pelomar::RuntimeError(pelomar::core::err::kPortAlreadyOpen);
        if (state(port) == State::Forbidden) throw pelomar::RuntimeError(pelomar::core::err::kPermissionDenied);
        set(port, State::InUse);
        ++opens;
    }
    void release(int16_t port) {
        if (port >= 1 && port <= 10) set(port, State::Free);
    }

    int opens = 0;

private:
    std::array<State, 10> states_{};
};

}  // namespace tavrin::test
