// The printed report on the host's printer, the default one, or a PDF file.
#include <QDir>
#include <QPrinter>
#include <exception>
#include <memory>

#include "PainterSurface.h"
#include "PrinterSurface.h"
#include "core/drawing/ChartDrawing.h"
#include "core/model/ChartModel.h"
#include "core/report/ReportPrinter.h"
#include "pelomar/Pelomar.h"

namespace pelomar {

bool Pelomar::PrintGraph(bool PrintChromotogram, bool PrintMethods, bool PrintNotes,
                         PrintOptionTypeEnm PrintChromotogramOption) {
    try {
        std::unique_ptr<QPrinter> own;
        QPrinter* printer = printer_;
        if (!printer) {
            own = std::make_unique<QPrinter>(QPrinter::HighResolution);
            if (own->printerName().isEmpty()) {
                const QString folder = QString::fromStdString(controlFolder());
                QDir().mkpath(folder);
                own->setOutputFormat(QPrinter::PdfFormat);
                own->setOutputFileName(QDir(folder).filePath("Report.pdf"));
            }
            printer = own.get();
        }
        PrinterSurface page(*printer);
        core::ReportPrinter report(*model_, *drawing_, ui());
        report.PrintGraph(page, *surface_, PrintChromotogram, PrintMethods, PrintNotes,
                          static_cast<int32_t>(PrintChromotogramOption));
    } catch (const std::exception&) {
    }
    return false;
}

}  // namespace pelomar
