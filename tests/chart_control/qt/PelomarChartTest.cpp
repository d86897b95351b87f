#include <QtTest>
class PelomarChartTest : public QObject { Q_OBJECT };
QTEST_MAIN(PelomarChartTest)
#include "PelomarChartTest.moc"
