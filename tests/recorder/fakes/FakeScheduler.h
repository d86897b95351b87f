#pragma once

#include <cstdint>
#include <vector>

namespace tavrin::test {

class FakeTimer;

// Stepped time for fake timers: advancing fires every due tick in time order,
// without sleeping.
class FakeScheduler {
public:
    int64_t nowMs() const { return nowMs_; }
    void add(FakeTimer* timer) { timers_.push_back(timer); }
    void remove(FakeTimer* timer);
    // Moves time forward by ms, firing ticks as they fall due.
    void advance(int64_t ms);

private:
    int64_t nowMs_ = 0;
    std::vector<FakeTimer*> timers_;
};

}  // namespace tavrin::test
