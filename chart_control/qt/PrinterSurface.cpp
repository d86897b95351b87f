#include "PrinterSurface.h"

#include <QPageLayout>
#include <QPrinter>

namespace pelomar {

namespace {
constexpr double kTwipsPerPoint = 20;
}

PrinterSurface::PrinterSurface(QPrinter& printer) : printer_(printer) {
    begin(&printer_);
    started_ = printer_.isValid() && printer_.printerState() != QPrinter::Error;
}

PrinterSurface::~PrinterSurface() { end(); }

double PrinterSurface::pixelsPerInchX() const { return printer_.logicalDpiX(); }
double PrinterSurface::pixelsPerInchY() const { return printer_.logicalDpiY(); }

double PrinterSurface::pageWidthTwips() const {
    return printer_.pageLayout().fullRect(QPageLayout::Point).width() * kTwipsPerPoint;
}
double PrinterSurface::pageHeightTwips() const {
    return printer_.pageLayout().fullRect(QPageLayout::Point).height() * kTwipsPerPoint;
}

void PrinterSurface::newPage() {
    if (started_) printer_.newPage();
}

void PrinterSurface::endDoc() {
    end();
    started_ = false;
}

}  // namespace pelomar
