#include "core/dialogs/PrintLogic.h"

#include <utility>

namespace tavrin {

PrintLogic::PrintLogic(DialogChart& chart, PrintChoices& choices, std::function<void()> printSetup)
    : chart_(chart), choices_(choices), printSetup_(std::move(printSetup)) {}

void PrintLogic::InitPrint() {
    choices_.PrintCancelled = true;
    txtTitel = chart_.GraphTitle();
}

void PrintLogic::UpdateOkButton() {
    cmdOkEnabled = chkChromotogram || chkMethod || chkNotes;
    FocusOnCancel = !cmdOkEnabled;
}

void PrintLogic::setChromotogram(bool checked) {
    if (chkChromotogram == checked) return;
    chkChromotogram = checked;
    chkChromotogram_Click();
}

void PrintLogic::setTrace(bool& box, bool checked) {
    if (box == checked) return;
    box = checked;
    chkTrace_Click();
}

void PrintLogic::chkChromotogram_Click() {
    InChromotogramClick = true;
    UpdateOkButton();
    if (!InTraceClick) {
        const bool state = chkChromotogram;
        setTrace(chkUVTrace, state);
        setTrace(chkCondTrace, state);
        setTrace(chkEvents, state);
    }
    InChromotogramClick = false;
}

void PrintLogic::chkTrace_Click() { SyncChromotogramCheck(); }

void PrintLogic::SyncChromotogramCheck() {
    InTraceClick = true;
    if (!InChromotogramClick) setChromotogram(chkUVTrace || chkCondTrace || chkEvents);
    InTraceClick = false;
}

void PrintLogic::chkMethod_Click() { UpdateOkButton(); }

void PrintLogic::chkNotes_Click() { UpdateOkButton(); }

void PrintLogic::cmdOk_Click() {
    choices_.PrintChromotogram = chkChromotogram;
    choices_.PrintNotes = chkNotes;
    choices_.PrintMethods = chkMethod;
    choices_.PrintOption = 4 * int32_t{chkUVTrace} + 2 * int32_t{chkCondTrace} + int32_t{chkEvents};
    chart_.setGraphTitle(txtTitel);
    close();
    choices_.PrintCancelled = false;
}

void PrintLogic::cmdCancel_Click() { close(); }

void PrintLogic::cmdPrintSetup_Click() {
    if (printSetup_) printSetup_();
}

void PrintLogic::close() {
    Closed = true;
    if (onClose) onClose();
}

}  // namespace tavrin
