#pragma once

#include <functional>

#include "core/run/NoDataDialog.h"

namespace tavrin::test {

// Counts its showings and answers as told; whileOpen runs while it is "open",
// as the event loop of a modal dialog would run other handlers.
class FakeNoDataDialog : public NoDataDialog {
public:
    Choice showModal() override {
        ++shown;
        if (whileOpen) whileOpen();
        return choice;
    }

    Choice choice = Choice::Ok;
    int shown = 0;
    std::function<void()> whileOpen;
};

}  // namespace tavrin::test
