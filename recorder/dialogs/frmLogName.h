#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/dialogs/LogNameLogic.h"

// "Enter Vestrel Kado System Name": the system-name entry over its state.
class frmLogName : public QDialog {
    Q_OBJECT

public:
    explicit frmLogName(tavrin::LogNameLogic& entry, QWidget* parent = nullptr);

    // Runs the whole mnuLogName_Click: shows the window modally and rewrites
    // the instance record afterwards.
    void mnuLogName_Click();

    QLineEdit* txtLogFileName = nullptr;
    QPushButton* cmdOKButton = nullptr;
    QPushButton* cmdCancelButton = nullptr;
    QLabel* lblPrompt = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void refresh();
    tavrin::LogNameLogic& entry_;
};
