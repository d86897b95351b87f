#pragma once

#include <QAction>
#include <QWidget>
#include <array>
#include <map>
#include <stdexcept>

#include "core/MainWindowControls.h"
#include "ui/ReceiveLed.h"
#include "ui/SlotScrollBar.h"

namespace tavrin {

// The main window's items as Qt actions, the LED and the live scroll bar.
class ActionControls : public MainWindowControls {
public:
    static constexpr int kItems = static_cast<int>(Item::mnuSaveLog) + 1;

    // `actions` names an action for every item; one left out is a fault of
    // the caller (std::invalid_argument), not an item silently ignored.
    ActionControls(std::map<Item, QAction*> actions, ReceiveLed& led, SlotScrollBar& liveScroll,
                   std::array<QWidget*, 5> charts);

    void setEnabled(Item item, bool enabled) override;
    void showPressed(Item button) override;
    void setReceiveLedColor(int32_t color) override { led_.setFillColor(color); }
    void setLiveScrollMax(int16_t max) override;
    void setLiveScrollValue(int16_t value) override { liveScroll_.trySetValue(value); }
    void setLiveScrollVisible(bool visible) override { liveScroll_.setVisible(visible); }
    void focusChart(int16_t slot) override;

private:
    std::map<Item, QAction*> actions_;
    ReceiveLed& led_;
    SlotScrollBar& liveScroll_;
    std::array<QWidget*, 5> charts_;
};

}  // namespace tavrin
