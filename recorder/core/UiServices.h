#pragma once

#include <string>

namespace tavrin {

// Message boxes and the beep. Texts are UTF-8: the system's own texts,
// with a file's name where one is shown.
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
    // The same box with `defaultAnswer` on its default button, for questions
    // where Enter must not take the risky answer.
    virtual Answer messageBoxWithDefault(const std::string& text, const std::string& title,
                                         Buttons buttons, Icon icon, Answer defaultAnswer) {
        (void)defaultAnswer;
        return messageBox(text, title, buttons, icon);
    }
    virtual void beep() = 0;
};

}  // namespace tavrin
