#pragma once

#include <cstdint>
#include <string>

#include "core/UiServices.h"

namespace tavrin {

// What a key press in a number entry sees of the entry.
struct EntryState {
    std::string Text;
    int32_t SelStart = 0;  // caret position when nothing is selected
    std::string SelText;   // about to be replaced by the key
};

constexpr int16_t kKeyBackspace = 8;
constexpr int16_t kKeyEnter = 13;

// The decimal symbol of a locale: the second character of 1.3 written in its
// general number format; '.' when that text is too short.
char GetDecimalSeparator(const std::string& formattedOnePointThree);

// Whether a key may go into the entry: Backspace and digits always, the
// decimal symbol and a leading minus only when allowed and not yet there
// (or about to be replaced with the selection).
bool NumericKeyPasses(int16_t KeyAscii, const EntryState& entry, char decimalSeparator,
                      bool decimalAllowed, bool minusAllowed);

// The key code to keep, or 0 with a beep when the key is refused.
int16_t FilterNumericKey(int16_t KeyAscii, const EntryState& entry, char decimalSeparator,
                         bool decimalAllowed, bool minusAllowed, UiServices& ui);

}  // namespace tavrin
