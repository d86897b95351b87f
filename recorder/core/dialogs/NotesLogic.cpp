#include "core/dialogs/NotesLogic.h"

#include <utility>

#include "core/dialogs/BoxText.h"

namespace tavrin {

NotesLogic::NotesLogic(DialogChart& chart, modGlobas& globals, UiServices& ui,
                         std::function<void()> releaseButton)
    : chart_(chart), g_(globals), ui_(ui), releaseButton_(std::move(releaseButton)) {}

void NotesLogic::LoadNotes() {
    Closing = false;
    txtNotes = toBoxText(chart_.GetNotes());
}

// Compared in the box's form, so that notes whose line breaks the box cannot
// show exactly are not taken for edited ones.
bool NotesLogic::changed() const { return txtNotes != toBoxText(chart_.GetNotes()); }

void NotesLogic::keep() {
    chart_.UpdateNotes(fromBoxText(txtNotes));
    const int16_t slot = g_.CurrentChart;
    if (slot >= 0 && slot < static_cast<int16_t>(g_.Saved.size())) g_.Saved[static_cast<size_t>(slot)] = false;
}

void NotesLogic::cmdOk_Click() {
    Closing = true;
    if (changed()) keep();
    CloseNotes();
}

void NotesLogic::cmdCancel_Click() {
    Closing = true;
    CloseNotes();
}

bool NotesLogic::Form_Unload() {
    if (Closing) return false;
    return !CloseNotes();
}

bool NotesLogic::CloseNotes() {
    bool result = true;
    if (changed()) {
        switch (ui_.messageBox("Your notes have been changed\rSave changes ?", "Tavrin MS",
                               UiServices::Buttons::YesNoCancel, UiServices::Icon::Question)) {
        case UiServices::Answer::Yes: keep(); break;
        case UiServices::Answer::No: break;
        default: result = false; break;
        }
    }
    if (result) {
        Closed = true;
        if (releaseButton_) releaseButton_();
    }
    Closing = false;
    return result;
}

}  // namespace tavrin
