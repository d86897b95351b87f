#include "dialogs/frmExport.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <utility>

#include "common/CodePage.h"
#include "dialogs/CaptionWidth.h"

frmExport::frmExport(tavrin::ExportLogic& setup, tavrin::FaultReport report, QWidget* parent)
    : QDialog(parent), setup_(setup), report_(std::move(report)) {
    setWindowTitle(QStringLiteral("Export Data"));
    setModal(true);
    setProperty("HelpContextID", tavrin::ExportLogic::kHelpContext);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);

    frameData = new QGroupBox(QStringLiteral("Data Parameters for Export File"), this);
    auto* dataGrid = new QGridLayout(frameData);
    auto* regions = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optDataRegion[static_cast<size_t>(i)] = new QRadioButton(frameData);
        regions->addButton(optDataRegion[static_cast<size_t>(i)], i);
        dataGrid->addWidget(optDataRegion[static_cast<size_t>(i)], i, 0, 1, 4);
        connect(optDataRegion[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) run([&] { setup_.optDataRegion_Click(static_cast<int16_t>(i)); });
        });
    }
    lblSampRateCaption = new QLabel(QStringLiteral("Sampling Rate:                  "), frameData);
    cmbSamlingRate = new QComboBox(frameData);
    for (const char* rate : tavrin::ExportLogic::kRates) cmbSamlingRate->addItem(QString::fromLatin1(rate));
    lblPtPerSec = new QLabel(QStringLiteral("Points/sec  (Total:"), frameData);
    lblTotal = new QLabel(frameData);
    dataGrid->addWidget(lblSampRateCaption, 2, 0);
    dataGrid->addWidget(cmbSamlingRate, 2, 1);
    dataGrid->addWidget(lblPtPerSec, 2, 2);
    dataGrid->addWidget(lblTotal, 2, 3);
    lbTotal = new QLabel(QStringLiteral("Exported Data File will include:"), frameData);
    lblNumPoints = new QLabel(frameData);
    dataGrid->addWidget(lbTotal, 3, 0, 1, 2);
    dataGrid->addWidget(lblNumPoints, 3, 2, 1, 2);
    connect(cmbSamlingRate, &QComboBox::currentIndexChanged, this,
            [this](int index) { run([&] { setup_.cmbSamlingRate_Click(static_cast<int16_t>(index)); }); });
    layout->addWidget(frameData);

    frameContent = new QGroupBox(QStringLiteral("Select Information for Export File"), this);
    auto* content = new QGridLayout(frameContent);
    auto box = [&](const char* caption, bool tavrin::ExportLogic::*state, int row) {
        auto* check = new QCheckBox(QString::fromLatin1(caption), frameContent);
        content->addWidget(check, row, 0);
        connect(check, &QCheckBox::toggled, this, [this, state](bool on) {
            run([&] {
                setup_.*state = on;
                if (state == &tavrin::ExportLogic::chkMethod)
                    setup_.chkMethod_Click();
                else
                    setup_.chkContent_Click();
            });
        });
        return check;
    };
    chkUV = box("UV Data", &tavrin::ExportLogic::chkUV, 0);
    chkCond = box("Conductivity Data", &tavrin::ExportLogic::chkCond, 1);
    chkEvents = box("Event Marks", &tavrin::ExportLogic::chkEvents, 2);
    chkNotes = box("Notes", &tavrin::ExportLogic::chkNotes, 3);
    chkMethod = box("Method List", &tavrin::ExportLogic::chkMethod, 4);
    lblPosition = new QLabel(QStringLiteral("Method Position"), frameContent);
    content->addWidget(lblPosition, 0, 1);
    auto* positions = new QButtonGroup(this);
    const char* captions[] = {"Before Data", "After Data", "Separate Column"};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), frameContent);
        optMethodPos[static_cast<size_t>(i)] = option;
        positions->addButton(option, i);
        content->addWidget(option, i + 1, 1);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) run([&] { setup_.optMethodPos_Click(static_cast<int16_t>(i)); });
        });
    }
    layout->addWidget(frameContent);

    auto* buttons = new QHBoxLayout;
    cmdExport = new QPushButton(QStringLiteral("&Export"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdExport->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdExport, &QPushButton::clicked, this, [this] { run([&] { setup_.cmdExport_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { run([&] { setup_.cmdCancel_Click(); }); });
    setup_.onClose = [this] { accept(); };
}

template <typename Handler>
void frmExport::run(Handler&& handler) {
    tavrin::guardSlot(report_, "frmExport", handler);
    refresh();
}

void frmExport::refresh() {
    using pelomar::fromCodePage;
    const QSignalBlocker blocks[] = {QSignalBlocker(optDataRegion[0]), QSignalBlocker(optDataRegion[1]),
                                     QSignalBlocker(cmbSamlingRate),   QSignalBlocker(chkUV),
                                     QSignalBlocker(chkCond),          QSignalBlocker(chkEvents),
                                     QSignalBlocker(chkNotes),         QSignalBlocker(chkMethod),
                                     QSignalBlocker(optMethodPos[0]),  QSignalBlocker(optMethodPos[1]),
                                     QSignalBlocker(optMethodPos[2])};
    for (size_t i = 0; i < 2; ++i) {
        optDataRegion[i]->setText(fromCodePage(setup_.optDataRegionCaption[i]));
        optDataRegion[i]->setChecked(setup_.DataRegion == static_cast<int16_t>(i));
    }
    cmbSamlingRate->setCurrentIndex(setup_.cmbSamlingRateListIndex);
    lblTotal->setText(fromCodePage(setup_.lblTotal));
    lblNumPoints->setText(fromCodePage(setup_.lblNumPoints));
    chkUV->setChecked(setup_.chkUV);
    chkCond->setChecked(setup_.chkCond);
    chkEvents->setChecked(setup_.chkEvents);
    chkNotes->setChecked(setup_.chkNotes);
    chkMethod->setChecked(setup_.chkMethod);
    for (size_t i = 0; i < 3; ++i) {
        optMethodPos[i]->setEnabled(setup_.optMethodPosEnabled);
        optMethodPos[i]->setChecked(setup_.MethodPosOption == static_cast<int16_t>(i));
    }
    cmdExport->setEnabled(setup_.cmdExportEnabled);
    if (setup_.FocusOnCancel) cmdCancel->setFocus();
}

void frmExport::showModal() {
    run([&] { setup_.InitExport(); });
    if (!setup_.Closed) exec();
}
