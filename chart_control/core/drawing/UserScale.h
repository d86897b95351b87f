#pragma once

#include <cstdint>

namespace pelomar::core {

// A user scale laid over a pixel area: the mapping that every drawing
// surface shares.
struct UserScale {
    double left = 0, top = 0;
    double width = 1, height = 1;  // right - left, bottom - top
    int32_t pixelWidth = 1, pixelHeight = 1;

    void set(double l, double t, double r, double b) noexcept {
        left = l;
        top = t;
        width = r - l;
        height = b - t;
    }
    double toPixelX(double x) const noexcept { return (x - left) / width * pixelWidth; }
    double toPixelY(double y) const noexcept { return (y - top) / height * pixelHeight; }
    // User units of one pixel (negative along an upward axis).
    double unitsPerPixelX() const noexcept { return width / pixelWidth; }
    double unitsPerPixelY() const noexcept { return height / pixelHeight; }
};

}  // namespace pelomar::core
