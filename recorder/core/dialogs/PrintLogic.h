#pragma once

#include <functional>
#include <string>

#include "core/dialogs/DialogChart.h"
#include "core/dialogs/PrintChoices.h"

namespace tavrin {

// The print dialog's state and handlers: the report's parts, the traces of
// its chromatogram and its title. The master box Chromatogram is checked
// exactly while one of the three trace boxes is.
class PrintLogic {
public:
    static constexpr int kHelpContext = 5;

    // printSetup: the main window's printer setup, for the dialog's button.
    PrintLogic(DialogChart& chart, PrintChoices& choices, std::function<void()> printSetup);

    void InitPrint();
    void UpdateOkButton();
    void SyncChromotogramCheck();

    // Each runs after its box took its new state, as a click or a change
    // made from a handler does.
    void chkChromotogram_Click();
    void chkTrace_Click();
    void chkMethod_Click();
    void chkNotes_Click();
    // Sets a box as code does: the box's click runs when the state changes.
    void setChromotogram(bool checked);
    void setTrace(bool& box, bool checked);

    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdPrintSetup_Click();

    std::string txtTitel;
    bool chkChromotogram = true;
    bool chkUVTrace = true;
    bool chkCondTrace = true;
    bool chkEvents = true;
    bool chkMethod = true;
    bool chkNotes = true;
    bool cmdOkEnabled = true;
    bool FocusOnCancel = false;

    bool Closed = false;
    std::function<void()> onClose;

private:
    void close();

    DialogChart& chart_;
    PrintChoices& choices_;
    std::function<void()> printSetup_;
    bool InChromotogramClick = false;
    bool InTraceClick = false;
};

}  // namespace tavrin
