#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "core/window/FaultReport.h"
#include "core/settings/SetupLogic.h"

// "Data Collection Setup": COM 1 to COM 10 as option buttons over the
// setup's state, each with the device it stands for as its tool tip; OK and
// Cancel.
class frmSetup : public QDialog {
    Q_OBJECT

public:
    frmSetup(tavrin::SetupLogic& setup, tavrin::FaultReport report, QWidget* parent = nullptr);

    // Shows the state the setup holds, then runs modally until OK or Cancel.
    void showModal();

    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOk = nullptr;
    QGroupBox* frameCom = nullptr;
    std::array<QRadioButton*, tavrin::SetupLogic::kPorts> optCom{};

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void refresh();

    tavrin::SetupLogic& setup_;
    tavrin::FaultReport report_;
};
