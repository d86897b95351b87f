// Writes the sample report as a PDF: pelomar_report OUT.pdf
#include <QApplication>
#include <QPrinter>

#include "ReportSample.h"
#include "pelomar/Pelomar.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    pelomar::Pelomar chart;
    pelomar::testing::fillReportSample(chart, 12, 6);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QString::fromLocal8Bit(argv[1]));
    chart.setPrinter(&printer);
    chart.PrintGraph(true, true, true, pelomar::PrintOptionTypeEnm::UVTrace_EventMark_CondTrace);
    return 0;
}
