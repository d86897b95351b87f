#include "core/axis/NumericKeyFilter.h"

namespace tavrin {

char GetDecimalSeparator(const std::string& formattedOnePointThree) {
    return formattedOnePointThree.size() >= 2 ? formattedOnePointThree[1] : '.';
}

bool NumericKeyPasses(int16_t KeyAscii, const EntryState& entry, char decimalSeparator,
                      bool decimalAllowed, bool minusAllowed) {
    if (KeyAscii == kKeyBackspace || (KeyAscii >= '0' && KeyAscii <= '9')) return true;
    const auto holds = [](const std::string& text, char c) { return text.find(c) != std::string::npos; };
    if (KeyAscii == static_cast<unsigned char>(decimalSeparator))
        return decimalAllowed && (!holds(entry.Text, decimalSeparator) || holds(entry.SelText, decimalSeparator));
    if (KeyAscii == '-')
        return minusAllowed && entry.SelStart == 0 && (!holds(entry.Text, '-') || holds(entry.SelText, '-'));
    return false;
}

int16_t FilterNumericKey(int16_t KeyAscii, const EntryState& entry, char decimalSeparator,
                         bool decimalAllowed, bool minusAllowed, UiServices& ui) {
    if (NumericKeyPasses(KeyAscii, entry, decimalSeparator, decimalAllowed, minusAllowed)) return KeyAscii;
    ui.beep();
    return 0;
}

}  // namespace tavrin
