#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "pelomar/Pelomar.h"

using pelomar::Pelomar;

class PelomarExportTest : public QObject {
    Q_OBJECT

    // Each test writes into a fresh folder of its own.
    std::unique_ptr<QTemporaryDir> scratch_;
    std::string path(const char* name) const { return scratch_->filePath(name).toStdString(); }

    static QByteArray readFile(const std::string& file) {
        QFile f(QString::fromStdString(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void fill(Pelomar& chart) {
        for (int i = 0; i < 600; ++i) chart.AddPoints(static_cast<float>(i) / 1000, 12.25f);
        chart.AddLabel("S", 255, 60, 0.5f);
        chart.AddMethod("Gradient 1\r\n", 0.5f);
        chart.UpdateNotes("Run A");
    }

private slots:
    void init() { scratch_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        scratch_.reset();
        QLocale::setDefault(QLocale::c());
    }

    void numbersCarryTheUsersDecimalSymbol_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QByteArray>("firstRows");
        QTest::addColumn<QByteArray>("lastRow");
        const QByteArray header = "Time [min.]:\tUV [A.U.]:\tConductivity [mS/cm]:\tEvents:\tMethods Information:\tNotes:\r\n";
        QTest::newRow("point") << QLocale(QLocale::English, QLocale::UnitedStates)
                               << header + "0.500\t0.1500\t12.25\tStart  0.50 min\tGradient 1\tRun A\r\n"
                                           "0.517\t0.1550\t12.25\t\t\t\r\n"
                               << QByteArray("0.533\t0.1600\t12.25\t\t\t\r\n");
        QTest::newRow("comma") << QLocale(QLocale::German, QLocale::Germany)
                               << header + "0,500\t0,1500\t12,25\tStart  0,50 min\tGradient 1\tRun A\r\n"
                                           "0,517\t0,1550\t12,25\t\t\t\r\n"
                               << QByteArray("0,533\t0,1600\t12,25\t\t\t\r\n");
    }
    void numbersCarryTheUsersDecimalSymbol() {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, firstRows);
        QFETCH(QByteArray, lastRow);
        QLocale::setDefault(locale);
        Pelomar chart;
        fill(chart);
        const std::string file = path("export.txt");
        bool uv = true, cond = true, events = true;
        int16_t methodPos = 2;
        QCOMPARE(chart.ExportTextData(file, uv, cond, events, true, true, methodPos, 0.5f, 1.0f, 1, 3), int16_t{0});
        const QByteArray got = readFile(file);
        QCOMPARE(got.left(firstRows.size()), firstRows);
        QCOMPARE(got.size(), firstRows.size() + lastRow.size());
        QVERIFY(got.endsWith(lastRow));
        QCOMPARE(methodPos, int16_t{2});
        QVERIFY(uv && cond && events);
    }

    void callersVariablesTakeTheWriteBacks() {
        Pelomar chart;
        fill(chart);
        const std::string file = path("lists.txt");
        bool uv = true, cond = false, events = true;
        int16_t methodPos = 0;
        QCOMPARE(chart.ExportTextData(file, uv, cond, events, false, false, methodPos, 0.6f, 1.0f, 1, 0), int16_t{0});
        QVERIFY(!uv);
        QVERIFY(!cond);
        QVERIFY(!events);
        QCOMPARE(methodPos, int16_t{-1});
        QCOMPARE(readFile(file), QByteArray("\t\t\t\t\t\r\n"));
    }

    void aFailedExportReturnsItsNumberAndKeepsTheOldFile() {
        Pelomar chart;
        fill(chart);
        const std::string file = path("kept.txt");
        {
            QFile f(QString::fromStdString(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        bool uv = true, cond = true, events = false;
        int16_t methodPos = 0;
        QCOMPARE(chart.ExportTextData(file, uv, cond, events, false, false, methodPos, 0, 1, 0, 10), int16_t{11});
        QCOMPARE(chart.ExportTextData(file, uv, cond, events, false, false, methodPos, 0, 5, 5, 1500), int16_t{9});
        QCOMPARE(readFile(file), QByteArray("old"));
        QCOMPARE(chart.ExportTextData(path("no-folder/x.txt"), uv, cond, events, false, false, methodPos, 0, 1, 1, 1),
                 int16_t{76});
    }
};

QTEST_MAIN(PelomarExportTest)
#include "PelomarExportTest.moc"
