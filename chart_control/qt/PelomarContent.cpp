#include "core/model/ChartModel.h"
#include "pelomar/Pelomar.h"

namespace pelomar {

namespace {
bool inRange(int32_t index, int32_t count) { return index >= 0 && index < count; }
}  // namespace

ChartPoint Pelomar::PointAt(int32_t index) const {
    if (!inRange(index, model_->points().count())) return {};
    const core::PointRec& p = model_->points().at(index);
    return {p.Y1, p.Y2};
}

int32_t Pelomar::LabelCount() const { return model_->labels().count(); }

ChartLabel Pelomar::LabelAt(int32_t index) const {
    if (!inRange(index, LabelCount())) return {};
    const core::LabelRec& l = model_->labels().at(index);
    return {l.Label, l.Color, l.Offset, l.XPos};
}

int32_t Pelomar::MethodCount() const { return model_->methods().count(); }

ChartMethod Pelomar::MethodAt(int32_t index) const {
    if (!inRange(index, MethodCount())) return {};
    const core::MethodRec& m = model_->methods().at(index);
    return {m.Method, m.XPos};
}

}  // namespace pelomar
