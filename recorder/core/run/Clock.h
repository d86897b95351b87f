#pragma once

#include <string>

namespace tavrin {

// The wall clock as the user reads it.
class Clock {
public:
    virtual ~Clock() = default;
    // The current date and time in the general date form, one line.
    virtual std::string nowText() const = 0;
};

}  // namespace tavrin
