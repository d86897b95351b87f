#include "RecordingSurface.h"

#include "common/RuntimeError.h"
#include "common/Utf8.h"

namespace pelomar::testing {

RecordingSurface::RecordingSurface(int32_t pixelWidth, int32_t pixelHeight) {
    scale_.pixelWidth = pixelWidth;
    scale_.pixelHeight = pixelHeight;
    scale_.set(0, 0, pixelWidth, pixelHeight);
}

RecordingSurface::Record RecordingSurface::base(Op op) const {
    Record r;
    r.op = op;
    r.color = fore_;
    r.fill = fill_;
    r.fillStyle = fillStyle_;
    r.font = font_;
    r.fontSize = size_;
    r.bold = bold_;
    r.lineStyle = lineStyle_;
    r.encoding = encoding_;
    return r;
}

std::vector<RecordingSurface::Record> RecordingSurface::of(Op op) const {
    std::vector<Record> out;
    for (const Record& r : records)
        if (r.op == op) out.push_back(r);
    return out;
}

std::vector<std::string> RecordingSurface::printed() const {
    std::vector<std::string> out;
    for (const Record& r : records)
        if (r.op == Op::Print) out.push_back(r.text);
    return out;
}

void RecordingSurface::clear() {
    records.clear();
    records.push_back(base(Op::Clear));
}

double RecordingSurface::textWidth(const std::string& text) const {
    const size_t characters = encoding_ == core::TextEncoding::Utf8 ? utf8Length(text) : text.size();
    return static_cast<double>(characters) * 0.75 * size_ * scale_.unitsPerPixelX();
}

double RecordingSurface::textHeight(const std::string&) const {
    return 1.5 * size_ * scale_.unitsPerPixelY();
}

void RecordingSurface::line(double x1, double y1, double x2, double y2) {
    Record r = base(Op::Line);
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2;
    records.push_back(r);
}

void RecordingSurface::box(double x1, double y1, double x2, double y2) {
    Record r = base(Op::Box);
    r.x1 = x1, r.y1 = y1, r.x2 = x2, r.y2 = y2;
    records.push_back(r);
}

void RecordingSurface::circle(double x, double y, double radius) {
    Record r = base(Op::Circle);
    r.x1 = x, r.y1 = y, r.x2 = radius;
    records.push_back(r);
    cx_ = x;
    cy_ = y;
}

void RecordingSurface::print(const std::string& text) {
    if (failPrintWith != 0) throw RuntimeError(failPrintWith);
    Record r = base(Op::Print);
    r.x1 = cx_, r.y1 = cy_, r.text = text;
    records.push_back(r);
    cy_ += textHeight(text);
    cx_ = scale_.left;
}

void RecordingSurface::printRotated(const std::string& text, const std::string& face,
                                    int32_t height, bool bold) {
    Record r = base(Op::PrintRotated);
    r.x1 = cx_, r.y1 = cy_, r.text = text, r.font = face, r.height = height, r.bold = bold;
    records.push_back(r);
}

void RecordingSurface::polyline(const core::DevicePoint* points, size_t count) {
    Record r = base(Op::Polyline);
    r.points.assign(points, points + count);
    records.push_back(r);
}

}  // namespace pelomar::testing
