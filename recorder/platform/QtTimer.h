#pragma once

#include <QTimer>
#include <functional>

#include "core/Timer.h"

namespace tavrin {

// A window timer over QTimer; its tick runs on the user-interface thread.
class QtTimer : public Timer {
public:
    explicit QtTimer(int32_t intervalMs, QObject* parent = nullptr);

    void start() override {
        if (!timer_.isActive()) timer_.start();
    }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int32_t intervalMs() const override { return timer_.interval(); }
    void setOnTimeout(std::function<void()> handler) override { onTimeout_ = std::move(handler); }

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};

}  // namespace tavrin
