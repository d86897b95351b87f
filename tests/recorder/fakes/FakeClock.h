#pragma once

#include <string>

#include "core/run/Clock.h"

namespace tavrin::test {

class FakeClock : public Clock {
public:
    std::string nowText() const override { return now; }
    std::string now = "12/10/2026 10:22:01 AM";
};

}  // namespace tavrin::test
