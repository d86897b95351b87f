#include "dialogs/frmSetup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "dialogs/CaptionWidth.h"

frmSetup::frmSetup(tavrin::SetupLogic& setup, tavrin::FaultReport report, QWidget* parent)
    : QDialog(parent), setup_(setup), report_(std::move(report)) {
    setWindowTitle(QStringLiteral("Data Collection Setup"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
    frameCom = new QGroupBox(QStringLiteral("COM Port"), this);
    auto* grid = new QGridLayout(frameCom);
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < tavrin::SetupLogic::kPorts; ++i) {
        auto* option = new QRadioButton(QStringLiteral("COM %1").arg(i + 1), frameCom);
        optCom[static_cast<size_t>(i)] = option;
        group->addButton(option, i);
        grid->addWidget(option, i % 5, i / 5);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) setup_.optCom_Click(static_cast<int16_t>(i));
        });
    }
    layout->addWidget(frameCom);
    auto* buttons = new QHBoxLayout;
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setDefault(true);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdOk);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOk, &QPushButton::clicked, this, [this] {
        tavrin::guardSlot(report_, "frmSetup.cmdOk_Click", [&] { setup_.cmdOk_Click(); });
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { setup_.cmdCancel_Click(); });
    setup_.onHide = [this] { accept(); };
}

void frmSetup::refresh() {
    for (int i = 0; i < tavrin::SetupLogic::kPorts; ++i) {
        QRadioButton* option = optCom[static_cast<size_t>(i)];
        option->setEnabled(setup_.optComEnabled[static_cast<size_t>(i)]);
        option->setToolTip(QString::fromStdString(setup_.optComToolTip[static_cast<size_t>(i)]));
        if (i == setup_.CheckedOption) option->setChecked(true);
    }
    cmdCancel->setEnabled(setup_.cmdCancelEnabled);
}

void frmSetup::showModal() {
    refresh();
    setup_.Hidden = false;
    exec();
}

void frmSetup::closeEvent(QCloseEvent* event) {
    // While Cancel is disabled a port must be confirmed with OK.
    if (!setup_.cmdCancelEnabled) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmSetup::reject() {
    // Escape is the cancel button.
    if (setup_.cmdCancelEnabled && !setup_.Hidden) setup_.cmdCancel_Click();
}
