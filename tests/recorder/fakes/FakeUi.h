#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/UiServices.h"

namespace tavrin::test {

// Records every box and beep and answers as told; whileOpen runs while a box is "open", as the
// event loop of a modal box would run other handlers.
class FakeUi : public UiServices {
public:
    struct Box {
        std::string text;
        std::string title;
        Buttons buttons;
        Icon icon;
        DefaultButton defaultButton = DefaultButton::First;
    };

    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override {
        boxes.push_back({text, title, buttons, icon});
        if (whileOpen) whileOpen();
        return answer;
    }
    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                      DefaultButton defaultButton) override {
        const Answer a = messageBox(text, title, buttons, icon);
        boxes.back().defaultButton = defaultButton;
        return a;
    }
    void beep() override { ++beeps; }

    // The answer every box gives.
    Answer answer = Answer::Ok;
    std::vector<Box> boxes;
    int beeps = 0;
    std::function<void()> whileOpen;
};

}  // namespace tavrin::test
