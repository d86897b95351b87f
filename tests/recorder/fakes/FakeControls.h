#pragma once

#include <cstdint>
#include <map>

#include "core/MainWindowControls.h"

namespace tavrin::test {

// Records the last state given to each control.
class FakeControls : public MainWindowControls {
public:
    void setEnabled(Item item, bool on) override { enabled[item] = on; }
    void showPressed(Item button) override { pressed = button; }
    void setReceiveLedColor(int32_t color) override { ledColor = color; }
    void setLiveScrollMax(int16_t max) override { scrollMax = max; }
    void setLiveScrollValue(int16_t value) override { scrollValue = value; }
    void setLiveScrollVisible(bool visible) override { scrollVisible = visible; }
    void focusChart(int16_t slot) override { focused = slot; }

    // Unset items read as -1.
    int isEnabled(Item item) const {
        const auto it = enabled.find(item);
        return it == enabled.end() ? -1 : (it->second ? 1 : 0);
    }

    std::map<Item, bool> enabled;
    Item pressed = Item::cmdStop;
    int32_t ledColor = -1;
    int16_t scrollMax = 0;
    int16_t scrollValue = 0;
    bool scrollVisible = false;
    int16_t focused = -1;
};

}  // namespace tavrin::test
