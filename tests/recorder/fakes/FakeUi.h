#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/UiServices.h"

namespace tavrin::test {

// Records every box and beep; whileOpen runs while a box is "open", as the
// event loop of a modal box would run other handlers.
class FakeUi : public UiServices {
public:
    struct Box {
        std::string text;
        std::string title;
        Icon icon;
    };

    void messageBox(const std::string& text, const std::string& title, Icon icon) override {
        boxes.push_back({text, title, icon});
        if (whileOpen) whileOpen();
    }
    void beep() override { ++beeps; }

    std::vector<Box> boxes;
    int beeps = 0;
    std::function<void()> whileOpen;
};

}  // namespace tavrin::test
