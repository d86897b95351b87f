#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtTest>

#include "common/CodePage.h"
#include "pelomar/Pelomar.h"

using pelomar::ChartTypeEnm;
using pelomar::MemoryPropertyBag;
using pelomar::Pelomar;
using pelomar::RuntimeError;

class PelomarWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void runTimeInstanceHasTheDefaults() {
        Pelomar chart;
        QCOMPARE(chart.NumPoints(), 0);
        QCOMPARE(chart.GetDuration(), 0.0f);
        QCOMPARE(chart.XStart(), 0.0f);
        QCOMPARE(chart.XEnd(), 10.0f);
        QCOMPARE(chart.Y1Start(), -0.2f);
        QCOMPARE(chart.Y1End(), 2.0f);
        QCOMPARE(chart.Y2End(), 500.0f);
        QCOMPARE(chart.SamplingRate(), 5.0f);
        QCOMPARE(chart.GraphTitle(), std::string("UnKnown"));
        QCOMPARE(chart.XLabel(), std::string("Time [minutes]"));
        QCOMPARE(chart.BackColor(), 0x80000005u);
        QVERIFY(chart.AutoRedraw());
    }

    void chartTypeIsDesignTimeOnly() {
        Pelomar run;
        try {
            run.ChartType();
            QFAIL("ChartType Get at run time must fail");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.number(), 393);
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Get not supported at runtime"));
        }
        QVERIFY_THROWS_EXCEPTION(RuntimeError, run.setChartType(ChartTypeEnm::LineProfile));

        Pelomar design(Pelomar::UserMode::DesignTime);
        design.setChartType(ChartTypeEnm::LineProfile);
        QCOMPARE(design.ChartType(), ChartTypeEnm::LineProfile);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, design.setNumPoints(3));
    }

    void propertyLetsNotifyTheContainer() {
        Pelomar chart;
        QSignalSpy spy(&chart, &Pelomar::PropertyChanged);
        chart.setXEnd(60);
        chart.setGraphTitle("Run");
        chart.setSamplingRate(0);  // ignored, no notice
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("XEnd"));
        QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("GraphTitle"));
    }

    void propertiesSurviveTheBag() {
        Pelomar a(Pelomar::UserMode::DesignTime);
        a.setY2End(100);
        a.setY1Label("AU");
        MemoryPropertyBag bag;
        a.WriteProperties(bag);
        Pelomar b;
        QVERIFY(b.AddPoints(1, 2) == 0);
        b.ReadProperties(bag);
        QCOMPARE(b.Y2End(), 100.0f);
        QCOMPARE(b.Y1Label(), std::string("AU"));
        QCOMPARE(b.NumPoints(), 0);  // loading ends with an empty store
    }

    void storesThroughTheWidget() {
        Pelomar chart;
        chart.resize(400, 300);
        for (int i = 0; i < 3; ++i) QCOMPARE(chart.AddPoints(0.1f * static_cast<float>(i), 10.0f * static_cast<float>(i)), int16_t(0));
        QCOMPARE(chart.AddLabel("S", 0x00FF00, 20, 99.0f), int16_t(0));  // outside the view: stored
        QCOMPARE(chart.AddMethod("Flow 1.0\r\n", 0.01f), int16_t(0));
        chart.UpdateNotes("note");
        QCOMPARE(chart.NumPoints(), 3);
        QCOMPARE(chart.GetAllMethods(), std::string("Flow 1.0\r\n"));
        QCOMPARE(chart.GetNotes(), std::string("note"));
        QVERIFY(chart.LastPointInScale());

        chart.Clear();
        QCOMPARE(chart.NumPoints(), 0);
        QCOMPARE(chart.GetAllMethods(), std::string());
        QCOMPARE(chart.picture().size(), QSize(400, 300));  // the clear drew the picture anew
    }

    // Marks drawn again over themselves stop changing pixels well before the
    // number of repeats that the drawing skips.
    void repeatedMarksSettleBeforeTheyAreSkipped() {
        const auto pictureWith = [](int labels) {
            Pelomar chart;
            chart.resize(400, 300);
            for (int i = 0; i < labels; ++i) chart.AddLabel("12", 0x00C0FF, 60, 1.0f);
            chart.Redraw();
            return chart.picture().copy();
        };
        const QImage settled = pictureWith(240);
        QCOMPARE(pictureWith(256), settled);
        QCOMPARE(pictureWith(2000), settled);
        QVERIFY(pictureWith(1) != pictureWith(0));
    }

    void unzoomRaisesUnZoomEndWithTheRangesSet() {
        Pelomar chart;
        for (int i = 0; i < 661; ++i) chart.AddPoints(0, 0);  // 2.2 minutes
        chart.setXStart(5);
        float seenXEnd = 0;
        connect(&chart, &Pelomar::UnZoomEnd, [&] { seenXEnd = chart.XEnd(); });
        QSignalSpy spy(&chart, &Pelomar::UnZoomEnd);
        chart.Unzoom();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(seenXEnd, 3.0f);
        QCOMPARE(chart.XStart(), 0.0f);
    }

    void codePageRoundTrip() {
        const std::string bytes = "\xB5S/cm \x80 \xE9";
        const QString text = pelomar::fromCodePage(bytes);
        QCOMPARE(text, QString::fromUtf8("\u00B5S/cm \u20AC \u00E9"));
        QCOMPARE(pelomar::toCodePage(text), bytes);
        QCOMPARE(pelomar::toCodePage(QString::fromUtf8("\u4E2D")), std::string("?"));
    }

    // The conversion is a table of its own; the platform's codec is the
    // reference for every byte and every UTF-16 unit that is no surrogate.
    // A surrogate pair or a lone surrogate is one character the code page
    // cannot hold, and leaves what follows it alone.
    void codePageMatchesThePlatformCodec() {
        QStringDecoder decoder("windows-1252");
        QStringEncoder encoder("windows-1252");
        QVERIFY(decoder.isValid() && encoder.isValid());
        std::string all;
        for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
        QCOMPARE(pelomar::fromCodePage(all), decoder.decode(QByteArrayView(all.data(), 256)));
        QCOMPARE(pelomar::toCodePage(pelomar::fromCodePage(all)), all);
        QCOMPARE(pelomar::fromCodePage(""), QString());

        for (char16_t u = 0; u < 0xFFFF; ++u) {
            const QChar ch(u);
            if (ch.isSurrogate()) continue;
            // The codec marks what it cannot map with SUB; a SUB itself is kept.
            const QByteArray b = encoder.encode(QStringView(&ch, 1));
            const std::string expected(1, (b.size() == 1 && (b.at(0) != '\x1a' || u == 0x1A)) ? b.at(0) : '?');
            if (pelomar::toCodePage(QString(ch)) != expected)
                QFAIL(qPrintable(QStringLiteral("U+%1").arg(static_cast<uint>(u), 4, 16, QLatin1Char('0'))));
        }

        const struct {
            std::u16string units;
            const char* bytes;
        } cases[] = {
            {u"\U0001F600", "?"},
            {{0xD800, u'A', u'B'}, "?AB"},
            {{0xDC00, 0xE9}, "?\xE9"},
            {{0xE9, 0xD800}, "\xE9?"},
            {{0xD800, 0xD800, 0xE9, 0xE9}, "??\xE9\xE9"},
            {{0xD800, 0xD800, 0xDC00, 0xE9}, "??\xE9"},
            {{0xDC00, 0xD800}, "??"},
            {{0x200B, 0xFEFF, 0x1A}, "??\x1A"},
        };
        for (const auto& c : cases) {
            const QString text = QString::fromUtf16(c.units.data(), static_cast<qsizetype>(c.units.size()));
            QCOMPARE(pelomar::toCodePage(text), std::string(c.bytes));
        }
    }
};

QTEST_MAIN(PelomarWidgetTest)
#include "PelomarWidgetTest.moc"
