#pragma once

#include "core/BusyCursor.h"

namespace tavrin::test {

class FakeBusyCursor : public BusyCursor {
public:
    void setBusy(bool on) override {
        busy = on;
        if (on) ++times;
    }
    bool busy = false;
    int times = 0;
};

}  // namespace tavrin::test
