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
//
// A `width` above 1 draws the same line that many pixels wide across its
// minor axis: each pixel set becomes `width` pixels to the right of it
// (along a steep segment) or below it (along a flat one), so that the line
// keeps one width along its length, and each vertex takes the spans of the
// segments on both sides. A polyline drawn in pieces that share their end
// vertices then sets the pixels of the whole.
bool drawThinPolyline(QImage& image, const core::DevicePoint* points, size_t count, QRgb color,
                      int width = 1);

}  // namespace pelomar
