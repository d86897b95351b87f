#include "ui/ActionControls.h"

#include <string>
#include <utility>

namespace tavrin {

ActionControls::ActionControls(std::map<Item, QAction*> actions, ReceiveLed& led,
                               SlotScrollBar& liveScroll, std::array<QWidget*, 5> charts)
    : actions_(std::move(actions)), led_(led), liveScroll_(liveScroll), charts_(charts) {
    for (int i = 0; i < kItems; ++i) {
        const auto it = actions_.find(static_cast<Item>(i));
        if (it == actions_.end() || it->second == nullptr)
            throw std::invalid_argument("ActionControls: no action for item " + std::to_string(i));
    }
}

void ActionControls::setEnabled(Item item, bool enabled) {
    const auto it = actions_.find(item);
    if (it != actions_.end() && it->second != nullptr) it->second->setEnabled(enabled);
}

void ActionControls::showPressed(Item button) {
    const auto it = actions_.find(button);
    // The buttons are checkable in exclusive pairs; checking one releases
    // the other.
    if (it != actions_.end() && it->second != nullptr) it->second->setChecked(true);
}

void ActionControls::setLiveScrollMax(int16_t max) {
    liveScroll_.setMax(max);
}

void ActionControls::focusChart(int16_t slot) {
    if (slot >= 0 && slot < static_cast<int16_t>(charts_.size()) && charts_[static_cast<size_t>(slot)] != nullptr)
        charts_[static_cast<size_t>(slot)]->setFocus();
}

}  // namespace tavrin
