#pragma once

#include <cstdint>
#include <functional>

#include "core/BusyCursor.h"
#include "core/dialogs/DialogChart.h"
#include "core/dialogs/PrintChoices.h"
#include "core/dialogs/PrinterDialog.h"

namespace tavrin {

// Printing the report of the current tab's chart once per copy, and the
// printer setup behind it.
class PrintCommand {
public:
    struct Services {
        PrinterDialog& printer;
        BusyCursor& cursor;
        std::function<void(int16_t)> HandelError;
    };

    explicit PrintCommand(const Services& services) : services_(services) {}

    // showPrintDialog runs the print dialog modally over Choices.
    void mnuPrint_Click(DialogChart& chart, const std::function<void()>& showPrintDialog);
    void mnuPrintSetup_Click();

    PrintChoices Choices;

private:
    Services services_;
};

}  // namespace tavrin
