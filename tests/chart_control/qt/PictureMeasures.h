#pragma once

// Measures of a chart as shown at device resolution: how much of it is made
// of blown-up pixels, how wide its thin lines come out, and which device
// pixels its paint left alone.
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace pelomar::testing {

using PixelTest = std::function<bool(QRgb)>;

inline PixelTest isColour(QRgb c) {
    return [c](QRgb p) { return (p & 0xFFFFFF) == (c & 0xFFFFFF); };
}

// Dark enough to be black ink, whatever the text's antialiasing left.
inline PixelTest isBlackInk() {
    return [](QRgb p) { return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80; };
}

// The s x s blocks of the device grid that hold any ink (a pixel other than
// the background), and how many of them are of one colour throughout: a
// picture drawn at logical size and blown up by s is made of uniform blocks
// only.
struct BlockMeasure {
    int inked = 0;
    int uniform = 0;
    double share() const { return inked ? static_cast<double>(uniform) / inked : 0; }
};

// Counts the block [x0, x1) x [y0, y1) of an RGB32 picture into `m`.
inline void tallyBlock(const QImage& img, int x0, int y0, int x1, int y1, QRgb back, BlockMeasure& m) {
    const QRgb first = img.pixel(x0, y0) & 0xFFFFFF;
    bool inked = false, same = true;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const QRgb p = img.pixel(x, y) & 0xFFFFFF;
            inked = inked || p != back;
            same = same && p == first;
        }
    if (!inked) return;
    ++m.inked;
    m.uniform += same ? 1 : 0;
}

inline BlockMeasure uniformBlocks(const QImage& image, int s, QRgb background) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    BlockMeasure m;
    if (s < 1) return m;
    const QRgb back = background & 0xFFFFFF;
    for (int by = 0; by + s <= img.height(); by += s) {
        for (int bx = 0; bx + s <= img.width(); bx += s) {
            tallyBlock(img, bx, by, bx + s, by + s, back, m);
        }
    }
    return m;
}

// The same measure at any scale: the device pixels whose middles fall in one
// logical pixel (its footprint: 1 to 4 pixels at 1.25 and 1.5, the s x s
// block at a whole scale s) are its blown-up copy when the picture was drawn
// at logical size. Footprints of a single pixel tell nothing and are left
// out. Where the blow-up put the logical grid depends on how it rounded, so
// the grid is tried at four phases and the most uniform one counts.
inline BlockMeasure uniformFootprints(const QImage& image, double ratio, QRgb background) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const QRgb back = background & 0xFFFFFF;
    BlockMeasure best;
    for (const double phase : {0.0, 0.25, 0.5, 0.75}) {
        // The first device pixel of each logical one, along one axis.
        const auto starts = [&](int deviceLength) {
            QList<int> first;
            for (int d = 0; d < deviceLength; ++d)
                if (first.size() <= static_cast<int>(std::floor((d + phase) / ratio))) first << d;
            first << deviceLength;
            return first;
        };
        const QList<int> xs = starts(img.width()), ys = starts(img.height());
        BlockMeasure m;
        for (qsizetype j = 0; j + 1 < ys.size(); ++j) {
            for (qsizetype i = 0; i + 1 < xs.size(); ++i) {
                if ((xs[i + 1] - xs[i]) * (ys[j + 1] - ys[j]) < 2) continue;
                tallyBlock(img, xs[i], ys[j], xs[i + 1], ys[j + 1], back, m);
            }
        }
        if (m.inked > 0 && (best.inked == 0 || m.share() > best.share())) best = m;
    }
    return best;
}

// Length of the run of `ink` pixels that starts at the first ink pixel met
// when walking from (x, y) by (dx, dy), within `limit` steps; 0 when none.
inline int runFrom(const QImage& img, int x, int y, int dx, int dy, int limit, const PixelTest& ink) {
    const auto inside = [&](int px, int py) { return px >= 0 && py >= 0 && px < img.width() && py < img.height(); };
    int i = 0;
    while (i < limit && inside(x, y) && !ink(img.pixel(x, y))) x += dx, y += dy, ++i;
    if (i >= limit || !inside(x, y)) return 0;
    int n = 0;
    while (inside(x, y) && ink(img.pixel(x, y))) x += dx, y += dy, ++n;
    return n;
}

// How often each width occurs along a line.
using Widths = std::map<int, int>;

inline QString describe(const Widths& w) {
    QStringList parts;
    for (const auto& [width, count] : w) parts << QStringLiteral("%1px x%2").arg(width).arg(count);
    return parts.join(QStringLiteral(", "));
}

// The widths of a vertical line across the rows [top, bottom): in each row,
// the first ink run met walking from x in direction dx.
inline Widths verticalLineWidths(const QImage& img, int x, int dx, int top, int bottom, const PixelTest& ink,
                                 int limit = 1 << 20) {
    Widths w;
    for (int y = top; y < bottom; ++y)
        if (const int n = runFrom(img, x, y, dx, 0, limit, ink)) ++w[n];
    return w;
}

// The widths of a horizontal line across the columns [left, right): in each
// column, the first ink run met walking from y in direction dy.
inline Widths horizontalLineWidths(const QImage& img, int y, int dy, int left, int right, const PixelTest& ink,
                                   int limit = 1 << 20) {
    Widths w;
    for (int x = left; x < right; ++x)
        if (const int n = runFrom(img, x, y, 0, dy, limit, ink)) ++w[n];
    return w;
}

// The pixels of `area` that still hold the sentinel colour the window was
// filled with before the paint.
inline int sentinelPixels(const QImage& image, const QRect& area, QRgb sentinel) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (sentinel & 0xFFFFFF);
    return n;
}

}  // namespace pelomar::testing
