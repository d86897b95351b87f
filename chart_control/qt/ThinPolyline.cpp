#include "ThinPolyline.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace pelomar {

namespace {

// Positions are in 26.6 fixed point, steps in 16.16, as in the painter.
enum Direction { NoDirection = 0, TopToBottom = 1, BottomToTop = 2, LeftToRight = 4, RightToLeft = 8 };
constexpr int kVerticalMask = 3;
constexpr int kHorizontalMask = 12;
constexpr int kCapBegin = 1;
constexpr int kCapEnd = 2;

struct Pixel {
    int x = INT_MIN, y = INT_MIN;
};

int fixedDiv(int x, int y) {
    if (std::abs(x) > 0x7fff) return static_cast<int>(static_cast<int64_t>(x) * (1 << 16) / y);
    return x * (1 << 16) / y;
}

int swapCaps(int caps) { return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1); }

void capAdjust(int caps, int& x1, int& x2, int& y, int yinc) {
    if (caps & kCapBegin) {
        x1 -= 32;
        y -= yinc >> 1;
    }
    if (caps & kCapEnd) x2 += 32;
}

class Stroker {
public:
    Stroker(QImage& image, QRgb color, int pen)
        : pixels_(reinterpret_cast<uint32_t*>(image.bits())),
          ppl_(static_cast<int>(image.bytesPerLine() / 4)),
          width_(image.width()),
          height_(image.height()),
          color_(color),
          pen_(pen) {}

    void setPixel(int x, int y) const {
        if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
        pixels_[x + static_cast<ptrdiff_t>(ppl_) * y] = color_;
    }
    // One pixel of a steep segment (dx = 1) or of a flat one (dy = 1).
    void setSpan(int x, int y, int dx, int dy) const {
        if (pen_ == 1) {
            setPixel(x, y);
            return;
        }
        for (int i = 0; i < pen_; ++i) setPixel(x + i * dx, y + i * dy);
    }

    // The last pixel and direction of a segment, without drawing it: the
    // start of a closed contour's first segment.
    void lastPointOf(int x1, int y1, int x2, int y2) {
        last_ = Pixel{};
        const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
        if (dx < dy) {
            bool swapped = false;
            if (y1 > y2) {
                swapped = true;
                std::swap(y1, y2);
                std::swap(x1, x2);
            }
            const int xinc = fixedDiv(x2 - x1, y2 - y1);
            int x = x1 * (1 << 10);
            const int y = (y1 + 32) >> 6;
            const int ys = (y2 + 32) >> 6;
            if (y != ys) {
                x += ((y * (1 << 6)) + 32 - y1) * xinc >> 6;
                if (swapped) {
                    last_ = {x >> 16, y};
                    lastDir_ = BottomToTop;
                } else {
                    last_ = {(x + (ys - y - 1) * xinc) >> 16, ys - 1};
                    lastDir_ = TopToBottom;
                }
                lastAxisAligned_ = std::abs(xinc) < (1 << 14);
            }
        } else {
            if (dx == 0) return;
            bool swapped = false;
            if (x1 > x2) {
                swapped = true;
                std::swap(x1, x2);
                std::swap(y1, y2);
            }
            const int yinc = fixedDiv(y2 - y1, x2 - x1);
            int y = y1 * (1 << 10);
            const int x = (x1 + 32) >> 6;
            const int xs = (x2 + 32) >> 6;
            if (x != xs) {
                y += ((x * (1 << 6)) + 32 - x1) * yinc >> 6;
                if (swapped) {
                    last_ = {x, y >> 16};
                    lastDir_ = RightToLeft;
                } else {
                    last_ = {xs - 1, (y + (xs - x - 1) * yinc) >> 16};
                    lastDir_ = LeftToRight;
                }
                lastAxisAligned_ = std::abs(yinc) < (1 << 14);
            }
        }
    }

    // One segment; true when it set any pixel.
    bool line(int x1, int y1, int x2, int y2, int caps) {
        bool drawn = false;
        const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
        Pixel last = last_;
        if (dx < dy) {
            int dir = TopToBottom;
            bool swapped = false;
            if (y1 > y2) {
                swapped = true;
                std::swap(y1, y2);
                std::swap(x1, x2);
                caps = swapCaps(caps);
                dir = BottomToTop;
            }
            const int xinc = fixedDiv(x2 - x1, y2 - y1);
            int x = x1 * (1 << 10);
            if ((lastDir_ ^ kVerticalMask) == dir) caps |= swapped ? kCapEnd : kCapBegin;
            capAdjust(caps, y1, y2, x, xinc);
            int y = (y1 + 32) >> 6;
            int ys = (y2 + 32) >> 6;
            const int round = xinc > 0 ? 32 : 0;
            if ((caps & kCapBegin) && last_.y == y + 1) y++;
            if (y != ys) {
                x += ((y * (1 << 6)) + round - y1) * xinc >> 6;
                Pixel first{x >> 16, y};
                last = {(x + (ys - y - 1) * xinc) >> 16, ys - 1};
                if (swapped) std::swap(first, last);
                const bool axisAligned = std::abs(xinc) < (1 << 14);
                if (last_.x > INT_MIN) {
                    if (first.x == last_.x && first.y == last_.y) {
                        if (swapped) {
                            --ys;
                        } else {
                            ++y;
                            x += xinc;
                        }
                    } else if (lastDir_ != dir &&
                               (((axisAligned && lastAxisAligned_) && last_.x != first.x && last_.y != first.y) ||
                                (std::abs(last_.x - first.x) > 1 || std::abs(last_.y - first.y) > 1))) {
                        if (swapped) {
                            ++ys;
                        } else {
                            --y;
                            x -= xinc;
                        }
                    } else if (lastDir_ == dir &&
                               (std::abs(last_.x - first.x) <= 1 && std::abs(last_.y - first.y) > 1)) {
                        x += xinc >> 1;
                        if (swapped)
                            last.x = x >> 16;
                        else
                            last.x = (x + (ys - y - 1) * xinc) >> 16;
                    }
                }
                lastDir_ = dir;
                lastAxisAligned_ = axisAligned;
                do {
                    setSpan(x >> 16, y, 1, 0);
                    x += xinc;
                } while (++y < ys);
                drawn = true;
            }
        } else {
            if (dx == 0) return true;
            int dir = LeftToRight;
            bool swapped = false;
            if (x1 > x2) {
                swapped = true;
                std::swap(x1, x2);
                std::swap(y1, y2);
                caps = swapCaps(caps);
                dir = RightToLeft;
            }
            const int yinc = fixedDiv(y2 - y1, x2 - x1);
            int y = y1 * (1 << 10);
            if ((lastDir_ ^ kHorizontalMask) == dir) caps |= swapped ? kCapEnd : kCapBegin;
            capAdjust(caps, x1, x2, y, yinc);
            int x = (x1 + 32) >> 6;
            int xs = (x2 + 32) >> 6;
            const int round = yinc > 0 ? 32 : 0;
            if ((caps & kCapBegin) && last_.x == x + 1) x++;
            if (x != xs) {
                y += ((x * (1 << 6)) + round - x1) * yinc >> 6;
                Pixel first{x, y >> 16};
                last = {xs - 1, (y + (xs - x - 1) * yinc) >> 16};
                if (swapped) std::swap(first, last);
                const bool axisAligned = std::abs(yinc) < (1 << 14);
                if (last_.x > INT_MIN) {
                    if (first.x == last_.x && first.y == last_.y) {
                        if (swapped) {
                            --xs;
                        } else {
                            ++x;
                            y += yinc;
                        }
                    } else if (lastDir_ != dir &&
                               (((axisAligned && lastAxisAligned_) && last_.x != first.x && last_.y != first.y) ||
                                (std::abs(last_.x - first.x) > 1 || std::abs(last_.y - first.y) > 1))) {
                        if (swapped) {
                            ++xs;
                        } else {
                            --x;
                            y -= yinc;
                        }
                    } else if (lastDir_ == dir &&
                               (std::abs(last_.x - first.x) <= 1 && std::abs(last_.y - first.y) > 1)) {
                        y += yinc >> 1;
                        if (swapped)
                            last.y = y >> 16;
                        else
                            last.y = (y + (xs - x - 1) * yinc) >> 16;
                    }
                }
                lastDir_ = dir;
                lastAxisAligned_ = axisAligned;
                do {
                    setSpan(x, y >> 16, 0, 1);
                    y += yinc;
                } while (++x < xs);
                drawn = true;
            }
        }
        last_ = last;
        return drawn;
    }

private:
    uint32_t* pixels_;
    int ppl_, width_, height_;
    uint32_t color_;
    int pen_;
    Pixel last_;
    int lastDir_ = NoDirection;
    bool lastAxisAligned_ = false;
};

}  // namespace

bool drawThinPolyline(QImage& image, const core::DevicePoint* points, size_t count, QRgb color, int width) {
    if (count < 2 || qAlpha(color) != 255 || width < 1) return false;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (image.devicePixelRatio() != 1.0) return false;
    const int w = image.width(), h = image.height();
    for (size_t i = 0; i < count; ++i)
        if (points[i].x < 0 || points[i].x >= w || points[i].y < 0 || points[i].y >= h) return false;
    if (image.bits() == nullptr) return false;  // detaches a shared picture first

    Stroker s(image, color, width);
    const auto fx = [](int32_t v) { return v * 64; };
    const core::DevicePoint* end = points + count;
    const bool closed = points[0].x == end[-1].x && points[0].y == end[-1].y;
    int caps = closed ? 0 : kCapBegin;
    if (closed) {
        const core::DevicePoint& before = count > 2 ? end[-2] : end[-1];
        s.lastPointOf(fx(before.x), fx(before.y), fx(points[0].x), fx(points[0].y));
    }
    core::DevicePoint p = points[0];
    for (const core::DevicePoint* q = points + 1; q < end; ++q) {
        if (!closed && q == end - 1) caps |= kCapEnd;
        // A segment too short to set a pixel keeps its start for the next one.
        if (s.line(fx(p.x), fx(p.y), fx(q->x), fx(q->y), caps)) p = *q;
        caps = 0;
    }
    // Each segment also spans both its ends across its own minor axis, so
    // that a vertex is as wide as the segments on either side (which one of
    // them set its pixel depends on where a pass began), and a polyline
    // drawn in pieces from vertex to vertex comes out as when drawn whole.
    if (width > 1)
        for (const core::DevicePoint* a = points; a + 1 < end; ++a) {
            const core::DevicePoint* b = a + 1;
            const int dx = std::abs(b->x - a->x), dy = std::abs(b->y - a->y);
            if (dx == 0 && dy == 0) continue;
            const bool steep = dx < dy;
            s.setSpan(a->x, a->y, steep ? 1 : 0, steep ? 0 : 1);
            s.setSpan(b->x, b->y, steep ? 1 : 0, steep ? 0 : 1);
        }
    return true;
}

}  // namespace pelomar
