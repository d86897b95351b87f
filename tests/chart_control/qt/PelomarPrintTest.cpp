#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "ReportSample.h"
#include "pelomar/Pelomar.h"

using pelomar::Pelomar;

class PelomarPrintTest : public QObject {
    Q_OBJECT

    // Pages of a PDF as pdfinfo counts them; -1 when it cannot be read.
    static int pageCount(const QString& pdf) {
        QProcess info;
        info.start("pdfinfo", {pdf});
        if (!info.waitForFinished(30000)) return -1;
        const QString out = QString::fromLocal8Bit(info.readAllStandardOutput());
        const QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)").match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }

private slots:
    void reportGoesOnOverPagesAndAlwaysReturnsFalse() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Pelomar chart;
        pelomar::testing::fillReportSample(chart, 60, 5);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir.filePath("report.pdf"));
        chart.setPrinter(&printer);

        QCOMPARE(chart.PrintGraph(true, true, true, pelomar::PrintOptionTypeEnm::UVTrace_EventMark_CondTrace), false);
        // A4 holds about 30 method lines under the chart and about 68 on a
        // continuation page: 60 lines take two pages.
        QCOMPARE(pageCount(dir.filePath("report.pdf")), 2);

        printer.setOutputFileName(dir.filePath("title.pdf"));
        QCOMPARE(chart.PrintGraph(false, false, false, pelomar::PrintOptionTypeEnm::None), false);
        QCOMPARE(pageCount(dir.filePath("title.pdf")), 1);
    }

    void withoutAPrinterTheReportIsAFileInTheControlFolder() {
        QTemporaryDir dir;
        Pelomar chart;
        pelomar::testing::fillReportSample(chart, 2, 2);
        chart.setControlFolder(dir.filePath("control").toStdString());
        QPrinter probe;
        if (!probe.printerName().isEmpty()) QSKIP("a system printer is set up here");
        QCOMPARE(chart.PrintGraph(true, true, true, pelomar::PrintOptionTypeEnm::UVTrace_EventMark_CondTrace), false);
        QCOMPARE(pageCount(dir.filePath("control/Report.pdf")), 1);
    }
};

QTEST_MAIN(PelomarPrintTest)
#include "PelomarPrintTest.moc"
