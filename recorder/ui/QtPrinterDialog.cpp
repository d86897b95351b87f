#include "ui/QtPrinterDialog.h"

#include <QPrintDialog>
#include <algorithm>

namespace tavrin {

QPrinter& QtPrinterDialog::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>();
    return *printer_;
}

void QtPrinterDialog::ShowPrinter() {
    QPrinter& target = printer();
    QPrintDialog dialog(&target, parent_);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    if (dialog.exec() != QDialog::Accepted) return;
    copies_ = static_cast<int16_t>(std::clamp(target.copyCount(), 0, 9999));
    target.setCopyCount(1);
    chosen_ = true;
    if (onChosen_) onChosen_(target);
}

}  // namespace tavrin
