#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <array>

#include "core/window/FaultReport.h"
#include "core/registry/DataRecoveryLogic.h"

// "Tavrin - Recover Data": the leftover logs as a check list, Recover and Done.
class frmDataRecovery : public QDialog {
    Q_OBJECT

public:
    frmDataRecovery(tavrin::DataRecoveryLogic& recovery, tavrin::FaultReport report, QWidget* parent = nullptr);

    // The start-up's step: lists the logs and, when there are any, runs the
    // window modally; with none, deletes all logs unseen.
    void OfferRecovery();
    // Shows the lines the recovery holds, modally.
    void showModal();

    std::array<QLabel*, 7> lblPrompt{};
    QListWidget* lstLogFiles = nullptr;
    QPushButton* cmdRecoverButton = nullptr;
    QPushButton* cmdDoneButton = nullptr;

    // Left edge, in the heads' row, of character column `column` of a line.
    int columnX(int column) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    void placeHeadings();
    QWidget* headings_ = nullptr;
    tavrin::DataRecoveryLogic& recovery_;
    tavrin::FaultReport report_;
    bool filling_ = false;
};
