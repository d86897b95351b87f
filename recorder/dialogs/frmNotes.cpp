#include "dialogs/frmNotes.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "common/CodePage.h"
#include "dialogs/CaptionWidth.h"

frmNotes::frmNotes(tavrin::NotesLogic& editor, tavrin::FaultReport report, QWidget* parent)
    : QDialog(parent), editor_(editor), report_(std::move(report)) {
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
        tavrin::guardSlot(report_, "frmNotes.cmdOK_Click", [&] { editor_.cmdOk_Click(); });
        if (editor_.Closed) done(QDialog::Accepted);
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        takeText();
        tavrin::guardSlot(report_, "frmNotes.cmdCancel_Click", [&] { editor_.cmdCancel_Click(); });
        if (editor_.Closed) done(QDialog::Rejected);
    });
}

void frmNotes::takeText() { editor_.txtNotes = pelomar::toCodePage(txtNotes->toPlainText()); }

void frmNotes::showModal() {
    tavrin::guardSlot(report_, "frmNotes.LoadNotes", [&] { editor_.LoadNotes(); });
    txtNotes->setPlainText(pelomar::fromCodePage(editor_.txtNotes));
    exec();
}

void frmNotes::closeEvent(QCloseEvent* event) {
    takeText();
    bool cancel = false;
    tavrin::guardSlot(report_, "frmNotes.Form_Unload", [&] { cancel = editor_.Form_Unload(); });
    if (cancel) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

// Escape presses Cancel.
void frmNotes::reject() { cmdCancel->click(); }
