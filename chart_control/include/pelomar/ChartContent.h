#pragma once

#include <cstdint>
#include <string>

namespace pelomar {

// Copies of single store entries, for hosts and checks that read a chart's
// content back.
struct ChartPoint {
    float Y1 = 0;  // UV, AU
    float Y2 = 0;  // conductivity, mS/cm
};

struct ChartLabel {
    std::string Label;  // code-page bytes
    int32_t Color = 0;
    int16_t Offset = 0;
    float XPos = 0;
};

struct ChartMethod {
    std::string Method;  // code-page bytes
    float XPos = 0;
};

}  // namespace pelomar
