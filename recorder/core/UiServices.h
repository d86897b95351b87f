#pragma once

#include <string>

namespace tavrin {

// Message boxes and the beep. Texts are code-page bytes.
class UiServices {
public:
    enum class Icon { None, Exclamation, Critical, Question, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~UiServices() = default;
    // A modal box; returns the button that closed it (Cancel or No when
    // it is closed without one).
    virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                              Icon icon) = 0;
    virtual void beep() = 0;

    // As above with a chosen default button, for boxes where Enter must take
    // the safe answer.
    enum class DefaultButton { First, Second };
    virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                              DefaultButton defaultButton) {
        (void)defaultButton;
        return messageBox(text, title, buttons, icon);
    }
};

}  // namespace tavrin
