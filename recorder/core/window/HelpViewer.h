#pragma once

#include <cstdint>

namespace tavrin {

// The help file, opened at a context number; 0 opens its contents.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void ShowHelp(int32_t context) = 0;
};

}  // namespace tavrin
