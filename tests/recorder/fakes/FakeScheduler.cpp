#include "fakes/FakeScheduler.h"

#include <algorithm>

#include "fakes/FakeTimer.h"

namespace tavrin::test {

void FakeScheduler::remove(FakeTimer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

void FakeScheduler::advance(int64_t ms) {
    const int64_t end = nowMs_ + ms;
    for (;;) {
        FakeTimer* next = nullptr;
        for (FakeTimer* t : timers_)
            if (t->isActive() && t->dueMs() <= end && (next == nullptr || t->dueMs() < next->dueMs()))
                next = t;
        if (next == nullptr) break;
        nowMs_ = next->dueMs();
        next->fire();
    }
    nowMs_ = end;
}

}  // namespace tavrin::test
