#include <QtTest>

#include "pelomar/Pelomar.h"

using pelomar::Pelomar;

class PelomarContentTest : public QObject {
    Q_OBJECT

private slots:
    void storesReadBackAsAdded() {
        Pelomar chart;
        QCOMPARE(chart.AddPoints(0.25f, 12.5f), int16_t(0));
        QCOMPARE(chart.AddPoints(-1.0f, 3.0f), int16_t(0));
        QCOMPARE(chart.AddLabel("S", 0xFFFF00, 50, 0.5f), int16_t(0));
        QCOMPARE(chart.AddMethod("m\r\n", 1.25f), int16_t(0));

        QCOMPARE(chart.PointAt(1).Y1, -1.0f);
        QCOMPARE(chart.PointAt(1).Y2, 3.0f);
        QCOMPARE(chart.LabelCount(), 1);
        QCOMPARE(chart.LabelAt(0).Label, std::string("S"));
        QCOMPARE(chart.LabelAt(0).Color, 0xFFFF00);
        QCOMPARE(chart.LabelAt(0).Offset, int16_t(50));
        QCOMPARE(chart.LabelAt(0).XPos, 0.5f);
        QCOMPARE(chart.MethodCount(), 1);
        QCOMPARE(chart.MethodAt(0).Method, std::string("m\r\n"));
        QCOMPARE(chart.MethodAt(0).XPos, 1.25f);
    }

    void indexesOutsideTheStoreGiveEmptyEntries() {
        Pelomar chart;
        chart.AddPoints(1.0f, 2.0f);
        QCOMPARE(chart.PointAt(1).Y1, 0.0f);
        QCOMPARE(chart.PointAt(-1).Y2, 0.0f);
        QCOMPARE(chart.LabelAt(0).Label, std::string());
        QCOMPARE(chart.MethodAt(5).Method, std::string());
    }
};

QTEST_MAIN(PelomarContentTest)
#include "PelomarContentTest.moc"
