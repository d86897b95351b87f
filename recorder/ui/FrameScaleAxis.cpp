#include "ui/FrameScaleAxis.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>

namespace {

// The frame is laid out for about 8400 by 1575 twips (560 by 105 pixels);
// the entries are short numbers.
constexpr int kEntryWidth = 64;
constexpr int kButtonWidth = 36;

void compact(QGridLayout* grid) {
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
}

QGroupBox* yAxisFrame(const QString& caption, const QString& unit, QComboBox*& list, QLabel*& unitLabel,
                      QLineEdit*& minimum, QLabel*& minimumLabel, QPushButton*& set, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    auto* grid = new QGridLayout(frame);
    compact(grid);
    list = new QComboBox(frame);
    list->setMaximumWidth(kEntryWidth);
    list->setEditable(true);
    // Enter applies the entry; it must not grow the list.
    list->setInsertPolicy(QComboBox::NoInsert);
    // A typed full scale stays as typed: "50" must not become "500.0".
    list->setCompleter(nullptr);
    unitLabel = new QLabel(unit, frame);
    minimum = new QLineEdit(frame);
    minimum->setMaximumWidth(kEntryWidth);
    minimumLabel = new QLabel(QStringLiteral("Axis Minimum"), frame);
    set = new QPushButton(QStringLiteral("Set"), frame);
    set->setMaximumWidth(kButtonWidth);
    set->setEnabled(false);
    grid->addWidget(list, 0, 0);
    grid->addWidget(unitLabel, 0, 1);
    grid->addWidget(set, 0, 2, 2, 1);
    grid->addWidget(minimum, 1, 0);
    grid->addWidget(minimumLabel, 1, 1);
    return frame;
}

}  // namespace

FrameScaleAxis::FrameScaleAxis(QWidget* parent) : QFrame(parent) {
    auto* row = new QHBoxLayout(this);
    // The frame sits on the window's bottom edge: a small margin keeps the
    // axis frames' lower borders in sight.
    row->setContentsMargins(0, 0, 0, 3);
    row->setSpacing(4);
    FrameAxis[0] = yAxisFrame(QStringLiteral("UV Axis"), QStringLiteral("AUFS"), cmbYAxis[0], lblAxis[0],
                              txtYAxisMin[0], lblAxisMin[0], cmdSet[0], this);
    FrameAxis[2] = yAxisFrame(QStringLiteral("Conductivity Axis"), QStringLiteral("mSFS"), cmbYAxis[1], lblAxis[1],
                              txtYAxisMin[1], lblAxisMin[1], cmdSet[1], this);

    FrameAxis[1] = new QGroupBox(QStringLiteral("Time Axis"), this);
    auto* grid = new QGridLayout(FrameAxis[1]);
    compact(grid);
    optTimeAxis[0] = new QRadioButton(QStringLiteral("Full View"), FrameAxis[1]);
    optTimeAxis[1] = new QRadioButton(QStringLiteral("Window:"), FrameAxis[1]);
    auto* options = new QButtonGroup(this);
    options->addButton(optTimeAxis[0], 0);
    options->addButton(optTimeAxis[1], 1);
    optTimeAxis[0]->setChecked(true);
    txtChartTime = new QLineEdit(QStringLiteral("10.0"), FrameAxis[1]);
    txtChartTime->setMaximumWidth(kEntryWidth);
    txtChartTime->setEnabled(false);
    lblWindow = new QLabel(QStringLiteral("Minutes"), FrameAxis[1]);
    cmdSetTime = new QPushButton(QStringLiteral("Set"), FrameAxis[1]);
    cmdSetTime->setMaximumWidth(kButtonWidth);
    cmdSetTime->setEnabled(false);
    grid->addWidget(optTimeAxis[0], 0, 0);
    grid->addWidget(optTimeAxis[1], 1, 0);
    grid->addWidget(txtChartTime, 1, 1);
    grid->addWidget(lblWindow, 1, 2);
    grid->addWidget(cmdSetTime, 0, 3, 2, 1);

    row->addWidget(FrameAxis[0]);
    row->addWidget(FrameAxis[2]);
    row->addWidget(FrameAxis[1]);
}
