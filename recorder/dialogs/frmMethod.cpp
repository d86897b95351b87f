#include "dialogs/frmMethod.h"

#include <QFont>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "dialogs/CaptionWidth.h"
#include "core/dialogs/BoxText.h"
#include "common/CodePage.h"

frmMethod::frmMethod(tavrin::DialogChart& chart, std::function<void()> releaseButton, tavrin::FaultReport report,
                     QWidget* parent)
    : QDialog(parent), chart_(chart), releaseButton_(std::move(releaseButton)), report_(std::move(report)) {
    setWindowTitle(QStringLiteral("Method"));
    setModal(true);
    setProperty("HelpContextID", kHelpContext);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
    txtMethod = new QPlainTextEdit(this);
    txtMethod->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    txtMethod->setFont(fixed);
    txtMethod->setReadOnly(true);
    txtMethod->setMinimumSize(480, 300);
    layout->addWidget(txtMethod);
    auto* buttons = new QHBoxLayout;
    cmdClose = new QPushButton(QStringLiteral("&OK"), this);
    cmdClose->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdClose, &QPushButton::clicked, this, &frmMethod::CloseMethod);
}

void frmMethod::LoadMethod() {
    std::string methods;
    tavrin::guardSlot(report_, "frmMethod.LoadMethod", [&] { methods = chart_.GetAllMethods(); });
    txtMethod->setPlainText(pelomar::fromCodePage(tavrin::toBoxText(methods)));
}

void frmMethod::CloseMethod() {
    if (!released_) {
        released_ = true;
        tavrin::guardSlot(report_, "frmMethod.CloseMethod", [&] {
            if (releaseButton_) releaseButton_();
        });
    }
    done(QDialog::Accepted);
}

void frmMethod::showModal() {
    released_ = false;
    LoadMethod();
    exec();
}

void frmMethod::closeEvent(QCloseEvent* event) {
    CloseMethod();
    event->accept();
}

// Escape presses OK.
void frmMethod::reject() { CloseMethod(); }
