#include "HeadlessChart.h"

#include "core/files/BackupLog.h"
#include "core/model/ChartModel.h"
#include "common/PosixFileSystem.h"

namespace pelomar::test {

struct HeadlessChart::Parts {
    core::ChartModel model;
    core::PosixFileSystem diskFiles;
    core::BackupLog backupLog{diskFiles};
};

HeadlessChart::HeadlessChart() : parts_(std::make_unique<Parts>()) {}
HeadlessChart::~HeadlessChart() = default;

int16_t HeadlessChart::AddPoints(float Y1, float Y2) { return parts_->model.AddPoints(Y1, Y2); }

int16_t HeadlessChart::AddLabel(const std::string& Label, int32_t Color, int16_t Offset, float XPos) {
    return parts_->model.AddLabel(Label, Color, Offset, XPos);
}

int16_t HeadlessChart::AddMethod(const std::string& Method, float XPos) {
    return parts_->model.AddMethod(Method, XPos);
}

void HeadlessChart::ClearData() { parts_->model.ClearData(); }
float HeadlessChart::GetDuration() const { return parts_->model.GetDuration(); }
bool HeadlessChart::LastPointInScale() const { return parts_->model.LastPointInScale(); }
float HeadlessChart::XStart() const { return parts_->model.XStart(); }
void HeadlessChart::setXStart(float value) { parts_->model.setXStart(value); }
float HeadlessChart::XEnd() const { return parts_->model.XEnd(); }
void HeadlessChart::setXEnd(float value) { parts_->model.setXEnd(value); }

bool HeadlessChart::IsLogFileExist2(const std::string& LogPath) {
    return parts_->backupLog.IsLogFileExist2(LogPath);
}

void HeadlessChart::ClearLog2(const std::string& LogPath, int16_t InstanceNumber) {
    parts_->backupLog.ClearLog2(parts_->model, LogPath, InstanceNumber);
}

int32_t HeadlessChart::points() const { return parts_->model.points().count(); }

ChartPoint HeadlessChart::point(int32_t i) const {
    const core::PointRec& p = parts_->model.points().at(i);
    return {p.Y1, p.Y2};
}

int32_t HeadlessChart::labels() const { return parts_->model.labels().count(); }

ChartLabel HeadlessChart::label(int32_t i) const {
    const core::LabelRec& l = parts_->model.labels().at(i);
    return {l.Label, l.Color, l.Offset, l.XPos};
}

int32_t HeadlessChart::methods() const { return parts_->model.methods().count(); }

ChartMethod HeadlessChart::method(int32_t i) const {
    const core::MethodRec& m = parts_->model.methods().at(i);
    return {m.Method, m.XPos};
}

}  // namespace pelomar::test
