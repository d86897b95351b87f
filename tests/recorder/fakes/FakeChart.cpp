#include "fakes/FakeChart.h"

namespace tavrin::test {

int16_t FakeChart::AddPoints(float Y1, float Y2) {
    if (failAddPoints != 0) return failAddPoints;
    return model.AddPoints(Y1, Y2);
}

int16_t FakeChart::AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) {
    if (failAddLabel != 0) return failAddLabel;
    return model.AddLabel(Label, Color, Offset, XPos);
}

int16_t FakeChart::AddMethod(const std::string& Method, float XPos) {
    if (failAddMethod != 0) return failAddMethod;
    return model.AddMethod(Method, XPos);
}

bool FakeChart::IsLogFileExist2(const std::string& LogPath) {
    isLogFileExist2Calls.push_back(LogPath);
    return model.IsLogFileExist2(LogPath);
}

void FakeChart::ClearLog2(const std::string& LogPath, int16_t InstanceNumber) {
    clearLog2Calls.push_back(LogPath);
    model.ClearLog2(LogPath, InstanceNumber);
}

std::string FakeChart::labelTexts() const {
    std::string out;
    for (int32_t i = 0; i < labels(); ++i) out += label(i).Label;
    return out;
}

}  // namespace tavrin::test
