#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The system-name window's state and handlers: an entry of 1 to 25 digits,
// letters and spaces that becomes LogName on OK.
class LogNameLogic {
public:
    static constexpr size_t kMaxLength = 25;

    struct Services {
        modGlobas& globals;
        UiServices& ui;
        // The main window's caption.
        std::function<void(const std::string&)> setCaption;
        // Rewrites this copy's instance record.
        std::function<void()> UpdateRegistry;
    };

    explicit LogNameLogic(const Services& services);

    // Runs the window: showModal shows it and returns once it is hidden.
    void mnuLogName_Click(const std::function<void()>& showModal);

    void Form_Load();
    // The key to pass on, 0 when it is dropped (with a beep).
    int txtLogFileName_KeyPress(int KeyAscii);
    // A new text, typed or pasted: characters outside the set and past the
    // 25th are dropped (with a beep); the result is the entry's text.
    std::string txtLogFileName_Change(const std::string& text);
    void cmdOKButton_Click();
    void cmdCancelButton_Click();

    static bool IsNameCharacter(char c);

    std::string txtLogFileName = "Default";
    bool cmdOKButtonEnabled = true;
    bool Hidden = false;
    std::function<void()> onHide;

private:
    void hide();

    Services services_;
};

}  // namespace tavrin
