#pragma once

#include <cstdint>
#include <string>

namespace pelomar::core {

struct PointRec {
    float Y1 = 0;  // UV, AU
    float Y2 = 0;  // conductivity, mS/cm
};

struct LabelRec {
    std::string Label;   // code-page bytes
    int32_t Color = 0;   // 0x00BBGGRR
    int16_t Offset = 0;  // 0 bottom .. 200 top of the Y1 view range
    float XPos = 0;
};

struct MethodRec {
    std::string Method;
    float XPos = 0;
};

struct NotesRec {
    std::string Notes;
};

}  // namespace pelomar::core
