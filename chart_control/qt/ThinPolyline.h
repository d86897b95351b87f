#pragma once

#include <QImage>
#include <cstddef>

#include "core/drawing/DrawingSurface.h"

namespace pelomar {

// Draws an open polyline of device points into a 32-bit opaque image with a
// one-pixel solid pen of an opaque colour, setting the very pixels that the
// raster painter sets for a cosmetic, aliased polyline with square caps
// (untransformed, unclipped). The traces are drawn this way for speed.
// Returns false, drawing nothing, when the points do not all lie inside the
// image or the image is not of that kind; the painter then draws them.
bool drawThinPolyline(QImage& image, const core::DevicePoint* points, size_t count, QRgb color);

}  // namespace pelomar
