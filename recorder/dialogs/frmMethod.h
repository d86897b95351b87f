#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

#include "core/window/FaultReport.h"
#include "core/dialogs/DialogChart.h"

// "Method": the method list of the current tab's chart, read only.
class frmMethod : public QDialog {
    Q_OBJECT

public:
    static constexpr int kHelpContext = 3;

    // releaseButton: pops up the toolbar button "cmdMethod" and runs its
    // handler; the window closes after it.
    frmMethod(tavrin::DialogChart& chart, std::function<void()> releaseButton, tavrin::FaultReport report,
              QWidget* parent = nullptr);

    void LoadMethod();
    void CloseMethod();
    // Loads the list, then runs modally until OK or the close box.
    void showModal();

    QPlainTextEdit* txtMethod = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    tavrin::DialogChart& chart_;
    std::function<void()> releaseButton_;
    tavrin::FaultReport report_;
    bool released_ = false;
};
