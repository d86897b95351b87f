#pragma once

#include <functional>
#include <memory>

#include <QPrinter>
#include <QWidget>

#include "core/dialogs/PrinterDialog.h"

namespace tavrin {

// The printer the reports go to, chosen with QPrintDialog. The copies are
// printed as separate reports, so the printer itself is kept at one copy.
class QtPrinterDialog : public PrinterDialog {
public:
    explicit QtPrinterDialog(QWidget* parent = nullptr) : parent_(parent) {}

    void setParent(QWidget* parent) { parent_ = parent; }
    // Called with the printer each time the user chooses one.
    void setOnChosen(std::function<void(QPrinter&)> onChosen) { onChosen_ = std::move(onChosen); }

    void ShowPrinter() override;
    int16_t Copies() const override { return copies_; }
    // Made on first use: a printer loads the printing system's libraries,
    // which a run that never prints should not carry.
    QPrinter& printer();
    // A printer was chosen at least once; until then the reports go where
    // the chart sends them by default.
    bool chosen() const { return chosen_; }

private:
    QWidget* parent_;
    std::unique_ptr<QPrinter> printer_;
    int16_t copies_ = 1;
    bool chosen_ = false;
    std::function<void(QPrinter&)> onChosen_;
};

}  // namespace tavrin
