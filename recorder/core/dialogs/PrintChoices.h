#pragma once

#include <cstdint>

namespace tavrin {

// What the last confirmed print dialog chose; kept between uses.
struct PrintChoices {
    bool PrintChromotogram = false;
    bool PrintMethods = false;
    bool PrintNotes = false;
    // 4 x UV trace + 2 x conductivity trace + event marks.
    int32_t PrintOption = 0;
    // True from the dialog's load until its OK.
    bool PrintCancelled = false;
};

}  // namespace tavrin
