#pragma once

#include <cstdint>
#include <vector>

#include "core/window/HelpViewer.h"

namespace tavrin::test {

// Records the help contexts asked for.
class FakeHelp : public HelpViewer {
public:
    void ShowHelp(int32_t context) override { contexts.push_back(context); }
    std::vector<int32_t> contexts;
};

}  // namespace tavrin::test
