#pragma once

#include <cmath>
#include <cstdint>

#include "pelomar/Pelomar.h"

namespace pelomar::testing {

// A synthetic chromatography run at 5 points a second: a few UV peaks on a
// slow baseline and a conductivity gradient, with the recorder's marks.
inline void fillSyntheticRun(Pelomar& chart, double minutes) {
    const auto n = static_cast<int32_t>(minutes * 300);
    const double peaks[][3] = {{18, 0.45, 1.2}, {34, 1.1, 1.8}, {52, 0.7, 2.5}, {71, 1.35, 1.5},
                               {93, 0.3, 3.0}};
    for (int32_t i = 0; i < n; ++i) {
        const double t = i / 300.0;
        double uv = 0.02 + 0.0004 * t;
        for (const auto& p : peaks) uv += p[1] * std::exp(-0.5 * std::pow((t - p[0]) / p[2], 2));
        const double cond = t < 10 ? 5 : (t < 100 ? 5 + (t - 10) * 0.8 : 77);
        chart.AddPoints(static_cast<float>(uv), static_cast<float>(cond));
    }
}

inline void addRunMarks(Pelomar& chart) {
    chart.AddLabel("S", 0xFFFF00, 50, 1.0f);
    chart.AddLabel("1", 0x00FF00, 30, 34.0f);
    chart.AddLabel("2", 0x00FF00, 30, 71.0f);
    chart.AddLabel("M", 0x00FFFF, 40, 52.0f);
    chart.AddLabel("E", 0x0000FF, 60, 115.0f);
}

}  // namespace pelomar::testing
