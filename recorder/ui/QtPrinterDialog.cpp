#include "ui/QtPrinterDialog.h"

#include <QPrintDialog>
#include <algorithm>

namespace tavrin {

void QtPrinterDialog::ShowPrinter() {
    QPrintDialog dialog(&printer_, parent_);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    if (dialog.exec() != QDialog::Accepted) return;
    copies_ = static_cast<int16_t>(std::clamp(printer_.copyCount(), 0, 9999));
    printer_.setCopyCount(1);
    chosen_ = true;
    if (onChosen_) onChosen_(printer_);
}

}  // namespace tavrin
