#include "platform/QtTimer.h"

namespace tavrin {

QtTimer::QtTimer(int32_t intervalMs, QObject* parent) : timer_(parent) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        try {
            if (onTimeout_) onTimeout_();
        } catch (...) {
            // A tick handler's failure must not leave the event loop.
        }
    });
}

}  // namespace tavrin
