#pragma once

#include <QDialog>
#include <QPushButton>

#include "core/run/NoDataDialog.h"

// The watchdog's warning: "No data is being received." with Ok, Setup and Exit.
class frmNoData : public QDialog, public tavrin::NoDataDialog {
    Q_OBJECT

public:
    explicit frmNoData(QWidget* parent = nullptr);

    Choice showModal() override;

    QPushButton* cmdOk = nullptr;
    QPushButton* cmdSetup = nullptr;
    QPushButton* cmdExit = nullptr;

private:
    Choice choice_ = Choice::Exit;
};
