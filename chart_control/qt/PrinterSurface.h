#pragma once

#include "PainterSurface.h"

class QPrinter;

namespace pelomar {

// The drawing surface of one printed document. The document starts with the
// surface and is handed to the printer by endDoc() (or by the destructor);
// a printer that cannot start leaves the surface drawing nothing.
class PrinterSurface : public PainterSurface {
public:
    explicit PrinterSurface(QPrinter& printer);
    ~PrinterSurface() override;

    double pixelsPerInchX() const override;
    double pixelsPerInchY() const override;
    double pageWidthTwips() const override;
    double pageHeightTwips() const override;
    void newPage() override;
    void endDoc() override;

    // False when the printer refused the document.
    bool started() const { return started_; }

private:
    QPrinter& printer_;
    bool started_ = false;
};

}  // namespace pelomar
