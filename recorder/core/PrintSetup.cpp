#include "core/PrintSetup.h"

#include <utility>

namespace tavrin {

PrintSetup::PrintSetup(DialogChart& chart, PrintChoices& choices, std::function<void()> printSetup)
    : chart_(chart), choices_(choices), printSetup_(std::move(printSetup)) {}

void PrintSetup::InitPrint() {
    choices_.PrintCancelled = true;
    txtTitel = chart_.GraphTitle();
}

void PrintSetup::UpdateOkButton() {
    cmdOkEnabled = chkChromotogram || chkMethod || chkNotes;
    FocusOnCancel = !cmdOkEnabled;
}

void PrintSetup::setChromotogram(bool checked) {
    if (chkChromotogram == checked) return;
    chkChromotogram = checked;
    chkChromotogram_Click();
}

void PrintSetup::setTrace(bool& box, bool checked) {
    if (box == checked) return;
    box = checked;
    chkTrace_Click();
}

void PrintSetup::chkChromotogram_Click() {
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

void PrintSetup::chkTrace_Click() { SyncChromotogramCheck(); }

void PrintSetup::SyncChromotogramCheck() {
    InTraceClick = true;
    if (!InChromotogramClick) setChromotogram(chkUVTrace || chkCondTrace || chkEvents);
    InTraceClick = false;
}

void PrintSetup::chkMethod_Click() { UpdateOkButton(); }

void PrintSetup::chkNotes_Click() { UpdateOkButton(); }

void PrintSetup::cmdOk_Click() {
    choices_.PrintChromotogram = chkChromotogram;
    choices_.PrintNotes = chkNotes;
    choices_.PrintMethods = chkMethod;
    choices_.PrintOption = 4 * int32_t{chkUVTrace} + 2 * int32_t{chkCondTrace} + int32_t{chkEvents};
    chart_.setGraphTitle(txtTitel);
    close();
    choices_.PrintCancelled = false;
}

void PrintSetup::cmdCancel_Click() { close(); }

void PrintSetup::cmdPrintSetup_Click() {
    if (printSetup_) printSetup_();
}

void PrintSetup::close() {
    Closed = true;
    if (onClose) onClose();
}

}  // namespace tavrin
