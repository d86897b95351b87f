#pragma once

#include "core/drawing/DrawingSurface.h"

namespace pelomar::core {

// The printer's scale modes: the printable area from (0, 0) at its top left,
// in twips or in device pixels.
inline void setScaleModeTwips(DrawingSurface& p) {
    p.setScale(0, 0, p.pixelWidth() * 1440.0 / p.pixelsPerInchX(),
               p.pixelHeight() * 1440.0 / p.pixelsPerInchY());
}
inline void setScaleModePixels(DrawingSurface& p) {
    p.setScale(0, 0, p.pixelWidth(), p.pixelHeight());
}

}  // namespace pelomar::core
