#include "dialogs/frmPrint.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <utility>

#include "common/CodePage.h"
#include "dialogs/CaptionWidth.h"

namespace {

// The title as the chart keeps it, in UTF-8: what the user types is a
// code-page text, a letter the code page lacks becoming "?", but a title
// made from a file's name keeps that name's letters.
std::string typedTitle(const QString& text, const QString& preset) {
    QString kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString letter = text.mid(i, length);
        i += length - 1;
        const bool inCodePage = pelomar::fromCodePage(pelomar::toCodePage(letter)) == letter;
        kept += inCodePage || preset.contains(letter) ? letter : QStringLiteral("?");
    }
    return kept.toStdString();
}

}  // namespace

frmPrint::frmPrint(tavrin::PrintLogic& setup, tavrin::FaultReport report, QWidget* parent)
    : QDialog(parent), setup_(setup), report_(std::move(report)) {
    setWindowTitle(QStringLiteral("Print"));
    setModal(true);
    setProperty("HelpContextID", tavrin::PrintLogic::kHelpContext);
    auto* layout = new QVBoxLayout(this);
    fitCaption(*this, *layout);
    auto* title = new QHBoxLayout;
    lblTitle = new QLabel(QStringLiteral("Print Title:"), this);
    txtTitel = new QLineEdit(this);
    title->addWidget(lblTitle);
    title->addWidget(txtTitel, 1);
    layout->addLayout(title);
    connect(txtTitel, &QLineEdit::textChanged, this,
            [this](const QString& text) { setup_.txtTitel = typedTitle(text, presetTitle_); });

    framePrint = new QGroupBox(QStringLiteral("Add Information to the report"), this);
    auto* grid = new QGridLayout(framePrint);
    auto box = [&](const char* caption, int row, int column) {
        auto* check = new QCheckBox(QString::fromLatin1(caption), framePrint);
        grid->addWidget(check, row, column);
        return check;
    };
    chkChromotogram = box("Chromatogram", 0, 0);
    chkUVTrace = box("UV Trace", 1, 1);
    chkCondTrace = box("Conductivity Trace", 2, 1);
    chkEvents = box("Events Marks", 3, 1);
    chkMethod = box("Method", 4, 0);
    chkNotes = box("Notes", 5, 0);
    layout->addWidget(framePrint);
    connect(chkChromotogram, &QCheckBox::toggled, this,
            [this](bool on) { run([&] { setup_.setChromotogram(on); }); });
    connect(chkUVTrace, &QCheckBox::toggled, this,
            [this](bool on) { run([&] { setup_.setTrace(setup_.chkUVTrace, on); }); });
    connect(chkCondTrace, &QCheckBox::toggled, this,
            [this](bool on) { run([&] { setup_.setTrace(setup_.chkCondTrace, on); }); });
    connect(chkEvents, &QCheckBox::toggled, this,
            [this](bool on) { run([&] { setup_.setTrace(setup_.chkEvents, on); }); });
    connect(chkMethod, &QCheckBox::toggled, this, [this](bool on) {
        run([&] {
            setup_.chkMethod = on;
            setup_.chkMethod_Click();
        });
    });
    connect(chkNotes, &QCheckBox::toggled, this, [this](bool on) {
        run([&] {
            setup_.chkNotes = on;
            setup_.chkNotes_Click();
        });
    });

    auto* buttons = new QHBoxLayout;
    cmdOk = new QPushButton(QStringLiteral("&Ok"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdPrintSetup = new QPushButton(QStringLiteral("&Print Setup"), this);
    cmdOk->setDefault(true);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdPrintSetup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(cmdOk, &QPushButton::clicked, this, [this] { run([&] { setup_.cmdOk_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { run([&] { setup_.cmdCancel_Click(); }); });
    connect(cmdPrintSetup, &QPushButton::clicked, this, [this] { run([&] { setup_.cmdPrintSetup_Click(); }); });
    setup_.onClose = [this] { done(QDialog::Accepted); };
}

template <typename Handler>
void frmPrint::run(Handler&& handler) {
    tavrin::guardSlot(report_, "frmPrint", handler);
    refresh();
}

void frmPrint::refresh() {
    const QSignalBlocker blocks[] = {QSignalBlocker(chkChromotogram), QSignalBlocker(chkUVTrace),
                                     QSignalBlocker(chkCondTrace),    QSignalBlocker(chkEvents),
                                     QSignalBlocker(chkMethod),       QSignalBlocker(chkNotes)};
    chkChromotogram->setChecked(setup_.chkChromotogram);
    chkUVTrace->setChecked(setup_.chkUVTrace);
    chkCondTrace->setChecked(setup_.chkCondTrace);
    chkEvents->setChecked(setup_.chkEvents);
    chkMethod->setChecked(setup_.chkMethod);
    chkNotes->setChecked(setup_.chkNotes);
    cmdOk->setEnabled(setup_.cmdOkEnabled);
    if (setup_.FocusOnCancel) cmdCancel->setFocus();
}

void frmPrint::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    txtTitel->setFocus();
}

void frmPrint::showModal() {
    run([&] { setup_.InitPrint(); });
    {
        const QSignalBlocker block(txtTitel);
        presetTitle_ = QString::fromStdString(setup_.txtTitel);
        txtTitel->setText(presetTitle_);
    }
    txtTitel->selectAll();
    exec();
}
