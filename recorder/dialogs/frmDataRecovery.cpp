#include "dialogs/frmDataRecovery.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "pelomar/CodePage.h"

frmDataRecovery::frmDataRecovery(tavrin::DataRecovery& recovery, QWidget* parent)
    : QDialog(parent), recovery_(recovery) {
    setWindowTitle(QStringLiteral("Tavrin - Recover Data"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    const char* texts[] = {
        "One or more Log files from previous operation have been found!",
        "This situation occurs when Tavrin is not closed properly.  The most frequent cause of this situation is a "
        "power failure during operation.",
        "In most cases, data from the previous operation can be recovered.  Please select all log files that you "
        "wish to recover data from using the list below.",
        "(Note:  When the Log File name is unknown a unique number is assigned.)",
        "Log File Name",
        "Date",
        "Time"};
    for (size_t i = 0; i < lblPrompt.size(); ++i) {
        lblPrompt[i] = new QLabel(QString::fromLatin1(texts[i]), this);
        if (i == 0 || i >= 4) {
            QFont bold = lblPrompt[i]->font();
            bold.setBold(true);
            lblPrompt[i]->setFont(bold);
        }
        if (i < 4) {
            lblPrompt[i]->setWordWrap(true);
            layout->addWidget(lblPrompt[i]);
        }
    }
    auto* heads = new QHBoxLayout;
    heads->addWidget(lblPrompt[4], 3);
    heads->addWidget(lblPrompt[5], 1);
    heads->addWidget(lblPrompt[6], 1);
    layout->addLayout(heads);
    lstLogFiles = new QListWidget(this);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::Monospace);
    lstLogFiles->setFont(fixed);
    lstLogFiles->setMinimumSize(520, 160);
    layout->addWidget(lstLogFiles);
    auto* buttons = new QHBoxLayout;
    cmdRecoverButton = new QPushButton(QStringLiteral("Recover"), this);
    cmdDoneButton = new QPushButton(QStringLiteral("Done"), this);
    cmdRecoverButton->setEnabled(false);
    buttons->addStretch();
    buttons->addWidget(cmdRecoverButton);
    buttons->addWidget(cmdDoneButton);
    layout->addLayout(buttons);
    setMinimumWidth(560);

    connect(lstLogFiles, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_) return;
        recovery_.lstLogFiles_ItemCheck(static_cast<size_t>(lstLogFiles->row(item)),
                                        item->checkState() == Qt::Checked);
        cmdRecoverButton->setEnabled(recovery_.cmdRecoverButtonEnabled);
    });
    connect(cmdRecoverButton, &QPushButton::clicked, this, [this] {
        try {
            recovery_.cmdRecoverButton_Click();
        } catch (...) {
        }
        fillList();
    });
    connect(cmdDoneButton, &QPushButton::clicked, this, [this] {
        try {
            recovery_.cmdDoneButton_Click();
        } catch (...) {
        }
    });
    recovery_.onListChanged = [this] { fillList(); };
    recovery_.onUnload = [this] { done(QDialog::Accepted); };
}

void frmDataRecovery::fillList() {
    filling_ = true;
    lstLogFiles->clear();
    for (const tavrin::DataRecovery::Line& line : recovery_.lstLogFiles) {
        auto* item = new QListWidgetItem(pelomar::fromCodePage(line.text), lstLogFiles);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    cmdRecoverButton->setEnabled(recovery_.cmdRecoverButtonEnabled);
}

void frmDataRecovery::showModal() {
    fillList();
    exec();
}

void frmDataRecovery::OfferRecovery() {
    // A close other than Done deletes nothing: the logs are offered again at
    // the next start.
    recovery_.OfferRecovery([this] {
        fillList();
        exec();
    });
}
