#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/window/FaultReport.h"
#include "core/dialogs/PrintLogic.h"

// "Print": the report's title and parts, over the setup's state.
class frmPrint : public QDialog {
    Q_OBJECT

public:
    frmPrint(tavrin::PrintLogic& setup, tavrin::FaultReport report, QWidget* parent = nullptr);

    // Loads the setup, then runs modally until OK, Cancel or the close box.
    void showModal();

    QLabel* lblTitle = nullptr;
    QLineEdit* txtTitel = nullptr;
    QGroupBox* framePrint = nullptr;
    QCheckBox* chkChromotogram = nullptr;
    QCheckBox* chkUVTrace = nullptr;
    QCheckBox* chkCondTrace = nullptr;
    QCheckBox* chkEvents = nullptr;
    QCheckBox* chkMethod = nullptr;
    QCheckBox* chkNotes = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdPrintSetup = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString presetTitle_;
    void refresh();
    template <typename Handler>
    void run(Handler&& handler);

    tavrin::PrintLogic& setup_;
    tavrin::FaultReport report_;
};
