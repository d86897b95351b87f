#include "core/dialogs/LogNameLogic.h"

namespace tavrin {

namespace {
constexpr int kBackspace = 8;
}

LogNameLogic::LogNameLogic(const Services& services) : services_(services) {}

bool LogNameLogic::IsNameCharacter(char c) {
    return c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void LogNameLogic::mnuLogName_Click(const std::function<void()>& showModal) {
    Form_Load();
    Hidden = false;
    if (showModal) showModal();
    // After Cancel (or the close box) as after OK: the record names the
    // current LogName.
    if (services_.UpdateRegistry) services_.UpdateRegistry();
}

void LogNameLogic::Form_Load() { txtLogFileName_Change(services_.globals.LogName); }

int LogNameLogic::txtLogFileName_KeyPress(int KeyAscii) {
    if (KeyAscii == kBackspace || (KeyAscii > 0 && KeyAscii < 128 && IsNameCharacter(static_cast<char>(KeyAscii))))
        return KeyAscii;
    services_.ui.beep();
    return 0;
}

std::string LogNameLogic::txtLogFileName_Change(const std::string& text) {
    // A pasted text passes no key filter; "|" would split the instance record.
    std::string kept;
    bool dropped = false;
    for (char c : text) {
        if (IsNameCharacter(c) && kept.size() < kMaxLength)
            kept += c;
        else
            dropped = true;
    }
    if (dropped) services_.ui.beep();
    txtLogFileName = kept;
    cmdOKButtonEnabled = !txtLogFileName.empty();
    return txtLogFileName;
}

void LogNameLogic::cmdOKButton_Click() {
    if (txtLogFileName.empty()) return;
    services_.globals.LogName = txtLogFileName;
    if (services_.setCaption) services_.setCaption("Tavrin MS - System: " + services_.globals.LogName);
    hide();
}

void LogNameLogic::cmdCancelButton_Click() { hide(); }

void LogNameLogic::hide() {
    Hidden = true;
    if (onHide) onHide();
}

}  // namespace tavrin
