#pragma once

#include <cstdint>

#include "core/dialogs/PrinterDialog.h"
#include "common/RuntimeError.h"

namespace tavrin::test {

// A printer dialog that returns `nextCopies`, or fails with error `failWith`.
class FakePrinterDialog : public PrinterDialog {
public:
    void ShowPrinter() override {
        ++shown;
        if (failWith != 0) throw pelomar::RuntimeError(failWith);
        copies = nextCopies;
    }
    int16_t Copies() const override { return copies; }

    int16_t copies = 1;
    int16_t nextCopies = 1;
    int32_t failWith = 0;
    int shown = 0;
};

}  // namespace tavrin::test
