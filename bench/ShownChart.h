#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <memory>

#include "BenchFolder.h"
#include "pelomar/Pelomar.h"

namespace tavrin::bench {

// The application of a benchmark program, on the offscreen platform unless
// QT_QPA_PLATFORM names another. Without a runtime folder of the session Qt
// would make one under $TMPDIR; it gets one that goes at the end. The
// offscreen platform gets two screens, the second of display scale 2 (see
// screenOfScale).
inline QApplication& app() {
    static int argc = 1;
    static char name[] = "tavrin_bench";
    static char* argv[] = {name, nullptr};
    static const BenchFolder folder;
    static QApplication* a = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            const std::string config = folder.file("screens.json");
            if (FILE* f = std::fopen(config.c_str(), "w")) {
                std::fputs(R"({"screens": [{"name": "scale1", "width": 4000, "height": 2400},)"
                           R"( {"name": "scale2", "width": 4000, "height": 2400}]})",
                           f);
                std::fclose(f);
            }
            qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).c_str());
            if (qEnvironmentVariableIsEmpty("QT_SCREEN_SCALE_FACTORS")) qputenv("QT_SCREEN_SCALE_FACTORS", "1;2");
        }
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", folder.path().string().c_str());
        return new QApplication(argc, argv);
    }();
    return *a;
}

// The screen whose display scale is `scale` (1 or 2), or the first one.
inline QScreen* screenOfScale(double scale) {
    for (QScreen* s : app().screens())
        if (s->devicePixelRatio() == scale) return s;
    return app().primaryScreen();
}

// Counts the paint events a widget receives and the pixels they cover.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) : widget_(widget) { widget.installEventFilter(this); }
    ~PaintCounter() override { widget_.removeEventFilter(this); }

    int64_t paints = 0;
    int64_t pixels = 0;

    // Delivers the pending updates, so that every paint owed to the widget
    // has run into its window's backing store; false when none was owed.
    bool paintThrough() {
        const int64_t before = paints;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QCoreApplication::processEvents();
        return paints != before;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &widget_ && event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += static_cast<int64_t>(r.width()) * r.height();
        }
        return false;
    }

private:
    QWidget& widget_;
};

// Sample i of a run at 5 points a second: a slow UV wave and a
// conductivity wave.
struct RunSample {
    float uv, conductivity;
};
inline RunSample runSample(int32_t i) {
    const double t = i / 300.0;
    return {static_cast<float>(0.5 + 0.4 * std::sin(t / 7)), static_cast<float>(50 + 40 * std::cos(t / 11))};
}

inline void addRunPoints(pelomar::Pelomar& chart, int32_t from, int32_t count) {
    for (int32_t i = from; i < from + count; ++i) {
        const RunSample s = runSample(i);
        chart.AddPoints(s.uv, s.conductivity);
    }
}

// Reports the paints and painted pixels per iteration; fails the benchmark
// when an iteration reached the screen without a paint.
inline void reportPaints(benchmark::State& state, const PaintCounter& counter, int64_t missed) {
    const auto n = static_cast<double>(state.iterations());
    state.counters["paints"] = static_cast<double>(counter.paints) / n;
    state.counters["painted_px"] = static_cast<double>(counter.pixels) / n;
    if (missed > 0) state.SkipWithError("an iteration painted nothing");
}

}  // namespace tavrin::bench
