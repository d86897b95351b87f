#pragma once

#include <vector>

namespace kado {

// The detector signals of a simulated run: Gaussian UV peaks over a flat
// baseline, and a conductivity that ramps linearly between two times.
class Chromatogram {
public:
    struct Peak {
        double centreMinutes;
        double heightAu;
        double widthMinutes;  // standard deviation
    };

    void setBaseline(double au) { baselineAu_ = au; }
    void addPeak(const Peak& peak) { peaks_.push_back(peak); }
    void setGradient(double fromMsPerCm, double toMsPerCm, double startMinutes, double endMinutes);

    float uvAt(double minutes) const;
    float conductivityAt(double minutes) const;

private:
    double baselineAu_ = 0.005;
    std::vector<Peak> peaks_;
    double fromMsPerCm_ = 1.0;
    double toMsPerCm_ = 1.0;
    double rampStartMinutes_ = 0.0;
    double rampEndMinutes_ = 0.0;
};

}  // namespace kado
