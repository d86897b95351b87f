#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "core/window/FaultReport.h"
#include "core/dialogs/ExportLogic.h"

// "Export Data": range, sampling rate and content of the text export, over
// the setup's state.
class frmExport : public QDialog {
    Q_OBJECT

public:
    frmExport(tavrin::ExportLogic& setup, tavrin::FaultReport report, QWidget* parent = nullptr);

    // Loads the setup, then runs modally until Export or Cancel.
    void showModal();

    QGroupBox* frameData = nullptr;
    std::array<QRadioButton*, 2> optDataRegion{};
    QLabel* lblSampRateCaption = nullptr;
    QComboBox* cmbSamlingRate = nullptr;
    QLabel* lblPtPerSec = nullptr;
    QLabel* lblTotal = nullptr;
    QLabel* lbTotal = nullptr;
    QLabel* lblNumPoints = nullptr;
    QGroupBox* frameContent = nullptr;
    QCheckBox* chkUV = nullptr;
    QCheckBox* chkCond = nullptr;
    QCheckBox* chkEvents = nullptr;
    QCheckBox* chkNotes = nullptr;
    QCheckBox* chkMethod = nullptr;
    QLabel* lblPosition = nullptr;
    std::array<QRadioButton*, 3> optMethodPos{};
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void refresh();
    template <typename Handler>
    void run(Handler&& handler);

    tavrin::ExportLogic& setup_;
    tavrin::FaultReport report_;
};
