#pragma once

#include <cstdint>
#include <functional>

namespace tavrin {

// A window timer: a fixed interval and a tick on the user-interface thread.
// Starting a running timer leaves its interval running; only a stop and a
// start restart it.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int32_t intervalMs() const = 0;
    virtual void setOnTimeout(std::function<void()> handler) = 0;
};

}  // namespace tavrin
