#include "dialogs/frmLogName.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/CodePage.h"
#include "dialogs/CaptionWidth.h"

frmLogName::frmLogName(tavrin::LogNameLogic& entry, QWidget* parent) : QDialog(parent), entry_(entry) {
    setWindowTitle(QStringLiteral("Enter Vestrel Kado System Name"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
    lblPrompt = new QLabel(
        QStringLiteral("Valid characters:   0-9, A-Z, and a-z Maximum length:   25 characters"), this);
    lblPrompt->setWordWrap(true);
    layout->addWidget(lblPrompt);
    txtLogFileName = new QLineEdit(QStringLiteral("Default"), this);
    txtLogFileName->setMaxLength(static_cast<int>(tavrin::LogNameLogic::kMaxLength));
    txtLogFileName->installEventFilter(this);
    layout->addWidget(txtLogFileName);
    auto* buttons = new QHBoxLayout;
    cmdOKButton = new QPushButton(QStringLiteral("OK"), this);
    cmdCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOKButton->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(cmdOKButton);
    buttons->addWidget(cmdCancelButton);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(txtLogFileName, &QLineEdit::textChanged, this, [this](const QString& text) {
        const std::string kept = entry_.txtLogFileName_Change(pelomar::toCodePage(text));
        if (pelomar::fromCodePage(kept) != text) {
            const QSignalBlocker block(txtLogFileName);
            txtLogFileName->setText(pelomar::fromCodePage(kept));
        }
        refresh();
    });
    connect(cmdOKButton, &QPushButton::clicked, this, [this] { entry_.cmdOKButton_Click(); });
    connect(cmdCancelButton, &QPushButton::clicked, this, [this] { entry_.cmdCancelButton_Click(); });
    entry_.onHide = [this] { done(QDialog::Accepted); };
}

void frmLogName::refresh() { cmdOKButton->setEnabled(entry_.cmdOKButtonEnabled); }

bool frmLogName::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtLogFileName && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Keys that type nothing (arrows, Delete, Enter, Escape) are no input.
        if (text.size() == 1 && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter &&
            key->key() != Qt::Key_Escape && key->key() != Qt::Key_Delete && key->key() != Qt::Key_Tab) {
            const char16_t c = text.at(0).unicode();
            const int ascii = c == u'\b' ? 8 : (c < 128 ? static_cast<int>(c) : 255);
            if (entry_.txtLogFileName_KeyPress(ascii) == 0) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLogName::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtLogFileName->setFocus();
    txtLogFileName->selectAll();
}

// Escape and the close box are Cancel.
void frmLogName::reject() {
    if (!entry_.Hidden) entry_.cmdCancelButton_Click();
}

void frmLogName::mnuLogName_Click() {
    entry_.mnuLogName_Click([this] {
        {
            const QSignalBlocker block(txtLogFileName);
            txtLogFileName->setText(pelomar::fromCodePage(entry_.txtLogFileName));
        }
        refresh();
        exec();
    });
}
