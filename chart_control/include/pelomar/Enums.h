#pragma once

#include <cstdint>

namespace pelomar {

enum class ChartTypeEnm : int32_t {
    Pelomar = 0,      // strip chart against time in minutes, UV and conductivity
    LineProfile = 1,  // one trace against sample units
};

// Bit set of what the chromatogram part of a report shows.
enum class PrintOptionTypeEnm : int32_t {
    None = 0,
    EventMark = 1,
    CondTrace = 2,
    EventMark_CondTrace = 3,
    UVTrace = 4,
    UVTrace_EventMark = 5,
    UVTrace_CondTrace = 6,
    UVTrace_EventMark_CondTrace = 7,
};

// 0x00BBGGRR, or a system colour with the top bit set.
using OleColor = uint32_t;

}  // namespace pelomar
