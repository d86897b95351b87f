#include "fakes/FakeTimer.h"

namespace tavrin::test {

FakeTimer::FakeTimer(FakeScheduler& scheduler, int32_t intervalMs)
    : scheduler_(scheduler), intervalMs_(intervalMs) {
    scheduler_.add(this);
}

FakeTimer::~FakeTimer() { scheduler_.remove(this); }

void FakeTimer::start() {
    if (active_) return;
    active_ = true;
    dueMs_ = scheduler_.nowMs() + intervalMs_;
    ++startCount_;
}

void FakeTimer::fire() {
    dueMs_ += intervalMs_;
    if (onTimeout_) onTimeout_();
}

}  // namespace tavrin::test
