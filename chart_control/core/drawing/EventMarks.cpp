#include "EventMarks.h"

#include <algorithm>
#include <cmath>

#include "DrawingSurface.h"
#include "common/NumberFormat.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

namespace pelomar::core {

namespace {
constexpr OleColor kWhite = 0xFFFFFF;

const char* eventName(const std::string& code) {
    if (code == "M") return "Mark";
    if (code == "S") return "Start";
    if (code == "E") return "End";
    if (code == "P") return "Pause";
    if (code == "H") return "Hold";
    if (code == "C") return "Continue";
    if (code == "F") return "Flowrate";
    return "Fraction";
}
}  // namespace

float eventMarkHeight(const LabelRec& label, const ViewWindow& view) noexcept {
    const double span = static_cast<double>(view.Y1End - view.Y1Start);
    return static_cast<float>(label.Offset / 200.0 * span + view.Y1Start);
}

void DrawEventMarks(DrawingSurface& target, const GrowableStore<LabelRec>& labels,
                    const ViewWindow& view, int32_t fromIndex, bool forPrinter) {
    const int32_t count = labels.count();
    if (count <= 0) return;
    target.setFillStyle(FillStyle::Solid);
    target.setFontName("Small Fonts");
    target.setFontBold(true);
    target.setFontSize(6);
    // Drawing one mark again over itself can still darken its blended edges,
    // but a blended channel moves monotonically towards the mark's colour and
    // stops for good once a pass leaves it alone, so after 255 passes more
    // change no pixel. Skipping them keeps a file that declares a million
    // empty labels from freezing the window.
    constexpr int32_t kRepeatsThatCanChangePixels = 256;
    const LabelRec* drawn = nullptr;
    int32_t repeats = 0;
    for (int32_t i = std::max(fromIndex, 0); i < count; ++i) {
        const LabelRec& l = labels.at(i);
        if (!(l.XPos >= view.XStart && l.XPos <= view.XEnd)) continue;
        if (drawn != nullptr && l.XPos == drawn->XPos && l.Offset == drawn->Offset && l.Color == drawn->Color &&
            l.Label == drawn->Label) {
            if (++repeats >= kRepeatsThatCanChangePixels) continue;
        } else {
            repeats = 0;
        }
        drawn = &l;
        const float y = eventMarkHeight(l, view);
        if (!std::isfinite(y)) continue;
        target.line(l.XPos, view.Y1Start, l.XPos, y);
        double radius;
        if (forPrinter) {
            target.setFillColor(kWhite);
            radius = target.textWidth("W");
        } else {
            target.setFillColor(static_cast<OleColor>(l.Color));
            radius = target.textWidth("o");
        }
        target.circle(l.XPos, y, radius);
        target.setCurrentX(l.XPos - target.textWidth(l.Label) / 2);
        target.setCurrentY(y - target.textHeight(l.Label) / 2);
        target.print(l.Label);
    }
    target.setFillColor(kWhite);
    target.setFillStyle(FillStyle::Transparent);
    target.setFontBold(false);
}

std::string FormatEventText(const GrowableStore<LabelRec>& labels, int32_t index, bool twoLines,
                            char decimalSeparator) {
    if (index < 0 || index >= labels.count()) throw RuntimeError(err::kSubscriptOutOfRange);
    const LabelRec& l = labels.at(index);
    std::string text = eventName(l.Label);
    if (twoLines) text += '\r';
    text += "  " + formatFixed(l.XPos, 2, decimalSeparator) + " min";
    return text;
}

}  // namespace pelomar::core
