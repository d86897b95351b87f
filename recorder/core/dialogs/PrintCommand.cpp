#include "core/dialogs/PrintCommand.h"

#include "common/Guard.h"
#include "core/ErrorCodes.h"

namespace tavrin {

void PrintCommand::mnuPrint_Click(DialogChart& chart, const std::function<void()>& showPrintDialog) {
    // A dialog that never loads leaves nothing to print.
    Choices.PrintCancelled = true;
    showPrintDialog();
    if (Choices.PrintCancelled) return;
    BusyCursor::Scope busy(services_.cursor);
    const int16_t copies = services_.printer.Copies();
    for (int16_t i = 1; i <= copies; ++i) {
        pelomar::skipRuntimeError([&] {
            chart.PrintGraph(Choices.PrintChromotogram, Choices.PrintMethods, Choices.PrintNotes,
                             Choices.PrintOption);
        });
    }
}

void PrintCommand::mnuPrintSetup_Click() {
    try {
        services_.printer.ShowPrinter();
    } catch (...) {
        // Any failure of the dialog is told to the user, not only logged.
        if (services_.HandelError) services_.HandelError(code::kPrintSetupFailed);
    }
}

}  // namespace tavrin
