#include "platform/QtTimer.h"

#include "common/Guard.h"

namespace tavrin {

QtTimer::QtTimer(int32_t intervalMs, QObject* parent) : timer_(parent) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The tick handlers guard themselves; this is the last resort that
        // keeps a fault out of the event loop.
        pelomar::guardHandler([this] { if (onTimeout_) onTimeout_(); },
                              [](const char* what) { qWarning("Timer handler failed: %s", what); });
    });
}

}  // namespace tavrin
