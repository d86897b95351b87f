#include "Chromatogram.h"

#include <algorithm>
#include <cmath>

namespace kado {

void Chromatogram::setGradient(double fromMsPerCm, double toMsPerCm, double startMinutes,
                               double endMinutes) {
    fromMsPerCm_ = fromMsPerCm;
    toMsPerCm_ = toMsPerCm;
    rampStartMinutes_ = startMinutes;
    rampEndMinutes_ = endMinutes;
}

float Chromatogram::uvAt(double minutes) const {
    double au = baselineAu_;
    for (const Peak& p : peaks_) {
        if (p.widthMinutes <= 0) continue;
        const double z = (minutes - p.centreMinutes) / p.widthMinutes;
        au += p.heightAu * std::exp(-0.5 * z * z);
    }
    return static_cast<float>(au);
}

float Chromatogram::conductivityAt(double minutes) const {
    if (rampEndMinutes_ <= rampStartMinutes_) {
        return static_cast<float>(minutes < rampStartMinutes_ ? fromMsPerCm_ : toMsPerCm_);
    }
    const double share = std::clamp((minutes - rampStartMinutes_) / (rampEndMinutes_ - rampStartMinutes_), 0.0, 1.0);
    return static_cast<float>(fromMsPerCm_ + (toMsPerCm_ - fromMsPerCm_) * share);
}

}  // namespace kado
