#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/window/FaultReport.h"
#include "core/dialogs/NotesLogic.h"

// "Notes": the current tab's notes, edited in place.
class frmNotes : public QDialog {
    Q_OBJECT

public:
    frmNotes(tavrin::NotesLogic& editor, tavrin::FaultReport report, QWidget* parent = nullptr);

    // Loads the notes, then runs modally until the editor lets it close.
    void showModal();

    QPlainTextEdit* txtNotes = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void takeText();
    tavrin::NotesLogic& editor_;
    tavrin::FaultReport report_;
};
