#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/settings/ComPortNames.h"

namespace tavrin::test {

// What COM 1..10 are, as the test sets them; a refresh takes `next`.
class FakeComPortNames : public ComPortNames {
public:
    void refresh() override {
        ++refreshes;
        current = next;
    }
    std::string toolTip(int16_t portNumber) const override {
        if (portNumber < 1 || portNumber > 10) return {};
        return current[static_cast<size_t>(portNumber - 1)];
    }

    std::array<std::string, 10> next{};
    std::array<std::string, 10> current{};
    int refreshes = 0;
};

}  // namespace tavrin::test
