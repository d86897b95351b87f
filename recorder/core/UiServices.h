#pragma once

#include <string>

namespace tavrin {

// Message boxes and the beep. Texts are code-page bytes.
class UiServices {
public:
    enum class Icon { None, Exclamation, Critical, Question, Information };

    virtual ~UiServices() = default;
    // A modal box with an OK button; returns when it is closed.
    virtual void messageBox(const std::string& text, const std::string& title, Icon icon) = 0;
    virtual void beep() = 0;
};

}  // namespace tavrin
