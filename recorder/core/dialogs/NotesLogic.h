#pragma once

#include <functional>
#include <string>

#include "core/dialogs/DialogChart.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The notes window's state and handlers over the current tab's chart: OK
// keeps edited notes, Cancel and the close box offer to keep them.
class NotesLogic {
public:
    static constexpr int kHelpContext = 4;

    // releaseButton: pops up the toolbar button "cmdNotes" and runs its
    // handler; the window closes after it.
    NotesLogic(DialogChart& chart, modGlobas& globals, UiServices& ui, std::function<void()> releaseButton);

    void LoadNotes();
    void cmdOk_Click();
    void cmdCancel_Click();
    // The close box; true: the unload is cancelled.
    bool Form_Unload();
    // True: the window may close (and has been released).
    bool CloseNotes();

    // The text box's text, lines broken by LF.
    std::string txtNotes;
    bool Closing = false;
    bool Closed = false;

private:
    bool changed() const;
    void keep();

    DialogChart& chart_;
    modGlobas& g_;
    UiServices& ui_;
    std::function<void()> releaseButton_;
};

}  // namespace tavrin
