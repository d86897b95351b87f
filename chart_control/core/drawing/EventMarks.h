#pragma once

#include <cstdint>
#include <string>

#include "core/model/ChartRecords.h"
#include "core/model/GrowableStore.h"
#include "core/model/PlotGeometry.h"

namespace pelomar::core {

class DrawingSurface;

// Height of a mark's circle: Offset / 200 of the Y1 view span above its
// bottom, as a Single.
float eventMarkHeight(const LabelRec& label, const ViewWindow& view) noexcept;

// Draws the marks of labels fromIndex .. count - 1 whose time lies in the
// view (both ends included): a stem from the bottom edge, a circle and the
// label's text in it. On a printed page the circles are white and larger.
void DrawEventMarks(DrawingSurface& target, const GrowableStore<LabelRec>& labels,
                    const ViewWindow& view, int32_t fromIndex, bool forPrinter);

// The event's name (by its whole text, exact case) and its time, "  0.00 min",
// on one line or, with `twoLines`, after a CR. Raises 9 for an index that
// names no label.
std::string FormatEventText(const GrowableStore<LabelRec>& labels, int32_t index, bool twoLines,
                            char decimalSeparator);

}  // namespace pelomar::core
