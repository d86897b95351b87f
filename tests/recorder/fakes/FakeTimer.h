#pragma once

#include <cstdint>
#include <functional>

#include "core/Timer.h"
#include "fakes/FakeScheduler.h"

namespace tavrin::test {

// A repeating timer driven by a FakeScheduler.
class FakeTimer : public Timer {
public:
    FakeTimer(FakeScheduler& scheduler, int32_t intervalMs);
    ~FakeTimer() override;

    void start() override;
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int32_t intervalMs() const override { return intervalMs_; }
    void setOnTimeout(std::function<void()> handler) override { onTimeout_ = std::move(handler); }

    int64_t dueMs() const { return dueMs_; }
    // Runs the tick as the scheduler does when it falls due.
    void fire();
    int startCount() const { return startCount_; }

private:
    FakeScheduler& scheduler_;
    int32_t intervalMs_;
    bool active_ = false;
    int64_t dueMs_ = 0;
    int startCount_ = 0;
    std::function<void()> onTimeout_;
};

}  // namespace tavrin::test
