#include "dialogs/frmDataRecovery.h"

#include <QFont>
#include <QGridLayout>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

#include "common/CodePage.h"
#include "dialogs/CaptionWidth.h"

frmDataRecovery::frmDataRecovery(tavrin::DataRecoveryLogic& recovery, tavrin::FaultReport report, QWidget* parent)
    : QDialog(parent), recovery_(recovery), report_(std::move(report)) {
    setWindowTitle(QStringLiteral("Tavrin - Recover Data"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
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
    // The heads stand over the list's character columns; placeHeadings puts them.
    headings_ = new QWidget(this);
    int headHeight = 0;
    for (size_t i = 4; i < 7; ++i) {
        lblPrompt[i]->setParent(headings_);
        lblPrompt[i]->adjustSize();
        headHeight = std::max(headHeight, lblPrompt[i]->height());
    }
    headings_->setFixedHeight(headHeight);
    layout->addWidget(headings_);
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
        tavrin::guardSlot(report_, "frmDataRecovery.cmdRecoverButton_Click",
                          [&] { recovery_.cmdRecoverButton_Click(); });
        fillList();
    });
    connect(cmdDoneButton, &QPushButton::clicked, this, [this] {
        tavrin::guardSlot(report_, "frmDataRecovery.cmdDoneButton_Click", [&] { recovery_.cmdDoneButton_Click(); });
    });
    recovery_.onListChanged = [this] { fillList(); };
    recovery_.onUnload = [this] { done(QDialog::Accepted); };
}

void frmDataRecovery::fillList() {
    filling_ = true;
    lstLogFiles->clear();
    for (const tavrin::DataRecoveryLogic::Line& line : recovery_.lstLogFiles) {
        auto* item = new QListWidgetItem(pelomar::fromCodePage(line.text), lstLogFiles);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    cmdRecoverButton->setEnabled(recovery_.cmdRecoverButtonEnabled);
}

int frmDataRecovery::columnX(int column) const {
    // Where an item's text starts in the list: past the frame, the check box
    // and the text margin the style leaves.
    QStyleOptionViewItem option;
    option.initFrom(lstLogFiles);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.rect = QRect(0, 0, lstLogFiles->viewport()->width(), lstLogFiles->fontMetrics().height());
    option.font = lstLogFiles->font();
    option.text = QStringLiteral("x");
    const QRect text = lstLogFiles->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, lstLogFiles);
    const int margin = lstLogFiles->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstLogFiles) + 1;
    const QPoint viewport = lstLogFiles->viewport()->mapTo(this, QPoint(0, 0));
    const int x = viewport.x() + text.x() + margin +
                  QFontMetrics(lstLogFiles->font()).horizontalAdvance(QString(column, QLatin1Char(' ')));
    return x - headings_->x();
}

void frmDataRecovery::placeHeadings() {
    // The list's lines: the name from column 2, the date from 32, the time from 45.
    const int columns[] = {2, 32, 45};
    for (size_t i = 0; i < 3; ++i) lblPrompt[4 + i]->move(columnX(columns[i]), 0);
}

void frmDataRecovery::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeHeadings();
}

void frmDataRecovery::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeHeadings();
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
