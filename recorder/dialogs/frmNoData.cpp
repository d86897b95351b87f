#include "dialogs/frmNoData.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/CaptionWidth.h"

frmNoData::frmNoData(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tavrin"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
    layout->addWidget(new QLabel(QStringLiteral("No data is being received."), this));
    auto* buttons = new QHBoxLayout;
    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdSetup = new QPushButton(QStringLiteral("&Setup"), this);
    cmdExit = new QPushButton(QStringLiteral("&Exit"), this);
    cmdSetup->setDefault(true);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdSetup);
    buttons->addWidget(cmdExit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto close = [this](Choice choice) {
        choice_ = choice;
        accept();
    };
    connect(cmdOk, &QPushButton::clicked, this, [close] { close(Choice::Ok); });
    connect(cmdSetup, &QPushButton::clicked, this, [close] { close(Choice::Setup); });
    connect(cmdExit, &QPushButton::clicked, this, [close] { close(Choice::Exit); });
}

tavrin::NoDataDialog::Choice frmNoData::showModal() {
    // Escape and the close box are the cancel button, Exit.
    choice_ = Choice::Exit;
    exec();
    return choice_;
}
