#pragma once

#include <functional>
#include <vector>

#include "TickStep.h"

namespace pelomar::core {

struct Tick {
    double value = 0;
    bool major = false;
};

enum class AxisKind { Time, Value };

// The ticks of one axis over [lo, hi], in drawing order: up to four minor
// ticks below the first major one, then each major tick followed by its
// minor ticks. The step doubles until a label, measured by `measure` (text
// width for the time axis, text height for value axes), fits twice per
// step into `scaleSize`. The first major tick is kept even beyond hi.
struct TickLayout {
    TickStep step;  // the fitted step; not valid when there are no ticks
    std::vector<Tick> ticks;
};

TickLayout layoutTicks(float lo, float hi, AxisKind kind, double scaleSize,
                       const std::function<double(double sampleValue)>& measure);

}  // namespace pelomar::core
