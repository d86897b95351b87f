#pragma once

#include "core/run/Clock.h"

namespace tavrin {

// The local date and time in the user's short date and time forms.
class SystemClock : public Clock {
public:
    std::string nowText() const override;
};

}  // namespace tavrin
