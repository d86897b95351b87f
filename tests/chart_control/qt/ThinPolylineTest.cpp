// The traces' own polyline must set exactly the pixels of the painter's
// cosmetic aliased polyline: random walks like the traces, long strokes in
// every direction, closed and degenerate lines, all compared pixel for pixel.
#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>
#include <vector>

#include "ThinPolyline.h"

using pelomar::core::DevicePoint;

namespace {

constexpr int kW = 160, kH = 120;

QImage painterPicture(const std::vector<DevicePoint>& pts, QRgb color) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPolygon poly;
    for (const DevicePoint& d : pts) poly << QPoint(d.x, d.y);
    p.setPen(QPen(QColor::fromRgb(color), 0));
    p.drawPolyline(poly);
    return img;
}

// Returns the first case that differs, as text, or an empty string.
QString compare(const std::vector<DevicePoint>& pts) {
    const QRgb color = qRgb(0, 0, 255);
    const QImage want = painterPicture(pts, color);
    QImage got(kW, kH, QImage::Format_RGB32);
    got.fill(Qt::white);
    if (!pelomar::drawThinPolyline(got, pts.data(), pts.size(), color)) return QStringLiteral("refused");
    if (got == want) return {};
    QString s;
    for (const DevicePoint& d : pts) s += QStringLiteral("(%1,%2) ").arg(d.x).arg(d.y);
    return s;
}

int coord(QRandomGenerator& g, int lo, int hi) { return static_cast<int>(g.bounded(lo, hi + 1)); }

}  // namespace

class ThinPolylineTest : public QObject {
    Q_OBJECT

private slots:
    void matchesThePainterOnTraceLikeWalks() {
        QRandomGenerator g(7);
        for (int n = 0; n < 3000; ++n) {
            std::vector<DevicePoint> pts;
            int x = coord(g, 1, 20), y = coord(g, 1, kH - 2);
            const int count = coord(g, 2, 200);
            const int jump = coord(g, 0, 3) == 0 ? 40 : 4;
            for (int i = 0; i < count && x < kW - 1; ++i) {
                pts.push_back({x, y});
                x += coord(g, 0, 2);
                y = std::clamp(y + coord(g, -jump, jump), 1, kH - 2);
            }
            if (pts.size() < 2) continue;
            const QString diff = compare(pts);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    void matchesThePainterOnStrokesInEveryDirection() {
        QRandomGenerator g(11);
        for (int n = 0; n < 3000; ++n) {
            std::vector<DevicePoint> pts;
            const int count = coord(g, 2, 8);
            for (int i = 0; i < count; ++i) pts.push_back({coord(g, 0, kW - 1), coord(g, 0, kH - 1)});
            const QString diff = compare(pts);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    void matchesThePainterOnClosedRepeatedAndStraightLines() {
        const std::vector<std::vector<DevicePoint>> cases = {
            {{10, 10}, {10, 10}},
            {{10, 10}, {30, 10}},
            {{30, 10}, {10, 10}},
            {{10, 10}, {10, 40}},
            {{10, 40}, {10, 10}},
            {{10, 10}, {30, 30}, {10, 10}},
            {{10, 10}, {40, 12}, {20, 50}, {10, 10}},
            {{10, 10}, {10, 30}, {10, 5}, {10, 20}},
            {{10, 10}, {30, 10}, {5, 10}, {20, 10}},
            {{5, 5}, {5, 5}, {6, 5}, {6, 6}, {6, 6}, {7, 9}},
            {{0, 0}, {kW - 1, kH - 1}, {0, kH - 1}, {kW - 1, 0}},
        };
        for (const auto& c : cases) {
            const QString diff = compare(c);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    // At device resolution the traces are round(scale) pixels wide.
    void aWideLineIsItsWidthAcrossItsMinorAxis() {
        QRandomGenerator g(13);
        const QRgb blue = qRgb(0, 0, 255);
        for (int n = 0; n < 2000; ++n) {
            const int width = coord(g, 2, 3);
            const DevicePoint a{coord(g, 5, kW - 10), coord(g, 5, kH - 10)};
            const DevicePoint b{coord(g, 5, kW - 10), coord(g, 5, kH - 10)};
            const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
            if (std::max(dx, dy) < 4) continue;
            QImage img(kW, kH, QImage::Format_RGB32);
            img.fill(Qt::white);
            const DevicePoint pts[] = {a, b};
            QVERIFY(pelomar::drawThinPolyline(img, pts, 2, blue, width));
            // Across the major axis, clear of the ends: `width` pixels each.
            const bool steep = dx < dy;
            const int from = steep ? std::min(a.y, b.y) : std::min(a.x, b.x);
            const int to = steep ? std::max(a.y, b.y) : std::max(a.x, b.x);
            for (int m = from + width; m <= to - width; ++m) {
                int count = 0;
                for (int i = 0; i < (steep ? kW : kH); ++i)
                    count += img.pixel(steep ? i : m, steep ? m : i) == blue ? 1 : 0;
                QVERIFY2(count == width, qPrintable(QStringLiteral("(%1,%2)-(%3,%4) width %5: %6 at %7")
                                                        .arg(a.x).arg(a.y).arg(b.x).arg(b.y)
                                                        .arg(width).arg(count).arg(m)));
            }
        }
    }

    void leavesPointsOutsideThePictureToThePainter() {
        QImage img(kW, kH, QImage::Format_RGB32);
        const std::vector<DevicePoint> out = {{5, 5}, {kW, 5}};
        QVERIFY(!pelomar::drawThinPolyline(img, out.data(), out.size(), qRgb(0, 0, 255)));
        const std::vector<DevicePoint> in = {{5, 5}, {6, 6}};
        QVERIFY(!pelomar::drawThinPolyline(img, in.data(), in.size(), qRgba(0, 0, 255, 128)));
    }
};

QTEST_MAIN(ThinPolylineTest)
#include "ThinPolylineTest.moc"
