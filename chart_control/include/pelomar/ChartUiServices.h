#pragma once

#include <cstdint>
#include <string>

#include "pelomar/Export.h"

namespace pelomar {

// What the chart control asks of the user interface: message boxes and the
// busy pointer. Texts are code-page bytes with CR line breaks.
class PELOMAR_EXPORT ChartUiServices {
public:
    // Buttons and icon of a message box, and its answer.
    static constexpr int32_t kOKOnly = 0;
    static constexpr int32_t kCritical = 16;
    static constexpr int32_t kExclamation = 48;
    static constexpr int32_t kInformation = 64;
    static constexpr int32_t kAnswerOK = 1;

    virtual ~ChartUiServices() = default;

    // An empty title means none of its own: the box carries the program's.
    virtual int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) = 0;
    // The hourglass while a long operation runs; calls are paired.
    virtual void setBusy(bool busy) = 0;
};

}  // namespace pelomar
