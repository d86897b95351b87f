#pragma once

#include <cstdint>

namespace tavrin {

// The main window's printer choice: the printer setup dialog and the copy
// count it last returned.
class PrinterDialog {
public:
    virtual ~PrinterDialog() = default;
    // Lets the user choose printer, paper and copies. A cancel is no error;
    // a dialog that cannot be shown raises a RuntimeError.
    virtual void ShowPrinter() = 0;
    virtual int16_t Copies() const = 0;
};

}  // namespace tavrin
