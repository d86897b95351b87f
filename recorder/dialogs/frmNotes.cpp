#include "dialogs/frmNotes.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/CodePage.h"
#include "dialogs/CaptionWidth.h"

frmNotes::frmNotes(tavrin::NotesLogic& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle(QStringLiteral("Notes"));
    setModal(true);
    setProperty("HelpContextID", tavrin::NotesLogic::kHelpContext);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setMinimumSize(420, 260);
    layout->addWidget(txtNotes);
    auto* buttons = new QHBoxLayout;
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    // Enter stays in the text.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        takeText();
        try {
            editor_.cmdOk_Click();
        } catch (...) {
        }
        if (editor_.Closed) done(QDialog::Accepted);
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        takeText();
        try {
            editor_.cmdCancel_Click();
        } catch (...) {
        }
        if (editor_.Closed) done(QDialog::Rejected);
    });
}

void frmNotes::takeText() { editor_.txtNotes = pelomar::toCodePage(txtNotes->toPlainText()); }

void frmNotes::showModal() {
    try {
        editor_.LoadNotes();
    } catch (...) {
    }
    txtNotes->setPlainText(pelomar::fromCodePage(editor_.txtNotes));
    exec();
}

void frmNotes::closeEvent(QCloseEvent* event) {
    takeText();
    bool cancel = false;
    try {
        cancel = editor_.Form_Unload();
    } catch (...) {
    }
    if (cancel) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// Escape presses Cancel.
void frmNotes::reject() { cmdCancel->click(); }
