#pragma once

#include <string>
#include <vector>

#include "pelomar/ChartUiServices.h"

namespace pelomar::test {

// Records message boxes and busy-pointer changes; every box answers OK.
class RecordingUiServices : public ChartUiServices {
public:
    struct Box {
        std::string prompt;
        int32_t buttons;
        std::string title;
    };
    std::vector<Box> boxes;
    std::vector<bool> busy;

    int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) override {
        boxes.push_back({prompt, buttons, title});
        return kAnswerOK;
    }
    void setBusy(bool b) override { busy.push_back(b); }
};

}  // namespace pelomar::test
