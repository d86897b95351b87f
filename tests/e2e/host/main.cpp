// A host of the installed chart control: it shows a chart of a few points and
// checks what the control drew. Exit status 0 when all is as expected.
#include <QApplication>
#include <QColor>
#include <QImage>
#include <cstdio>
#include <pelomar/Pelomar.h>

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

int countOf(const QImage& image, const QColor& color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color) ++n;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    pelomar::Pelomar chart;
    chart.resize(500, 320);
    for (int i = 0; i < 3000; ++i) check(chart.AddPoints(1.5f, 100) == 0, "AddPoints returns 0");
    check(chart.PointAt(2999).Y1 == 1.5f, "the last point reads back");
    check(chart.GetDuration() > 0 && chart.LastPointInScale(), "the points give a duration within the scale");

    chart.show();
    // As a window's layout does: the chart is drawn anew at its size.
    chart.Redraw();
    app.processEvents();
    const QImage picture = chart.picture();
    check(picture.size() == chart.size(), "the shown chart holds a picture of its size");
    // The default traces: absorbance in blue, conductivity in red.
    check(countOf(picture, QColor(0, 0, 255)) > 100, "the picture has the blue trace");
    check(countOf(picture, QColor(255, 0, 0)) > 100, "the picture has the red trace");
    const QImage painted = chart.grab().toImage().convertToFormat(picture.format());
    check(painted == picture, "the chart paints its picture");

    // The control's exception crosses the library boundary as its own type.
    int number = 0;
    try {
        chart.setControlFolder("/");
    } catch (const pelomar::RuntimeError& e) {
        number = e.number();
    }
    check(number == 5, "a root control folder raises RuntimeError 5");

    if (failures == 0) std::printf("host drew %d points over %.2f\n", 3000, double(chart.GetDuration()));
    return failures == 0 ? 0 : 1;
}
