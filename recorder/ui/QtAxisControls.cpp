#include "ui/QtAxisControls.h"

#include <QKeyEvent>

#include "common/CodePage.h"

namespace tavrin {

namespace {

// The character code a key press types, 0 for keys that type none (arrows,
// Delete, Home): those go to the entry unfiltered.
int16_t typedKey(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) return kKeyEnter;
    if (key.key() == Qt::Key_Backspace) return kKeyBackspace;
    if ((key.modifiers() & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return static_cast<int16_t>(key.key() - Qt::Key_A + 1);
    const QString text = key.text();
    if (text.isEmpty()) return 0;
    const char16_t c = text.at(0).unicode();
    return c < 256 ? static_cast<int16_t>(c) : static_cast<int16_t>('?');
}

}  // namespace

QtAxisControls::QtAxisControls(FrameScaleAxis& frame, std::array<SlotScrollBar*, 5> bars,
                               std::array<QWidget*, 5> charts)
    : frame_(frame), bars_(bars), charts_(charts) {}

QLineEdit* QtAxisControls::edit(Entry entry) const {
    switch (entry) {
    case Entry::cmbYAxis0: return frame_.cmbYAxis[0]->lineEdit();
    case Entry::cmbYAxis1: return frame_.cmbYAxis[1]->lineEdit();
    case Entry::txtYAxisMin0: return frame_.txtYAxisMin[0];
    case Entry::txtYAxisMin1: return frame_.txtYAxisMin[1];
    case Entry::txtChartTime: return frame_.txtChartTime;
    }
    return frame_.txtChartTime;
}

SlotScrollBar* QtAxisControls::bar(int slot) const {
    return slot >= 0 && slot < 5 ? bars_[static_cast<size_t>(slot)] : nullptr;
}

void QtAxisControls::bind(AxisPanel& panel, ErrorReporter& errors) {
    panel_ = &panel;
    errors_ = &errors;
    for (int16_t i = 0; i < 2; ++i) {
        connect(frame_.cmbYAxis[static_cast<size_t>(i)], &QComboBox::editTextChanged, this,
                [this, i] { guard("cmbYAxis_Change", [&] { panel_->cmbYAxis_Change(i); }); });
        connect(frame_.cmbYAxis[static_cast<size_t>(i)], &QComboBox::activated, this,
                [this, i] { guard("cmbYAxis_Click", [&] { panel_->cmbYAxis_Click(i); }); });
        connect(frame_.txtYAxisMin[static_cast<size_t>(i)], &QLineEdit::textChanged, this,
                [this, i] { guard("txtYAxisMin_Change", [&] { panel_->txtYAxisMin_Change(i); }); });
        connect(frame_.cmdSet[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { guard("cmdSet_Click", [&] { panel_->cmdSet_Click(i); }); });
        connect(frame_.optTimeAxis[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) guard("optTimeAxis_Click", [&] { panel_->optTimeAxis_Click(i); });
        });
    }
    connect(frame_.txtChartTime, &QLineEdit::textChanged, this,
            [this] { guard("txtChartTime_Change", [&] { panel_->txtChartTime_Change(); }); });
    connect(frame_.cmdSetTime, &QPushButton::clicked, this,
            [this] { guard("cmdSetTime_Click", [&] { panel_->cmdSetTime_Click(); }); });
    for (int16_t s = 0; s < 5; ++s) {
        SlotScrollBar* b = bar(s);
        if (b == nullptr) continue;
        // Tracking is on: dragging the thumb moves the window while it moves.
        connect(b, &QScrollBar::valueChanged, this,
                [this, s] { guard("ScrollChart_Change", [&] { panel_->ScrollChart_Change(s); }); });
        connect(b, &SlotScrollBar::gotFocus, this,
                [this, s] { guard("ScrollChart_GotFocus", [&] { panel_->ScrollChart_GotFocus(s); }); });
    }
    for (const Entry e : {Entry::cmbYAxis0, Entry::cmbYAxis1, Entry::txtYAxisMin0, Entry::txtYAxisMin1,
                          Entry::txtChartTime})
        edit(e)->installEventFilter(this);
}

bool QtAxisControls::eventFilter(QObject* watched, QEvent* event) {
    if (panel_ == nullptr) return QObject::eventFilter(watched, event);
    const auto entryOf = [&](Entry& found) {
        for (const Entry e : {Entry::cmbYAxis0, Entry::cmbYAxis1, Entry::txtYAxisMin0, Entry::txtYAxisMin1,
                              Entry::txtChartTime})
            if (watched == edit(e)) {
                found = e;
                return true;
            }
        return false;
    };
    Entry entry{};
    if (!entryOf(entry)) return QObject::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        int16_t key = typedKey(*static_cast<QKeyEvent*>(event));
        if (key == 0) return false;
        guard("KeyPress", [&] {
            switch (entry) {
            case Entry::cmbYAxis0: panel_->cmbYAxis_KeyPress(0, key); break;
            case Entry::cmbYAxis1: panel_->cmbYAxis_KeyPress(1, key); break;
            case Entry::txtYAxisMin0: panel_->txtYAxisMin_KeyPress(0, key); break;
            case Entry::txtYAxisMin1: panel_->txtYAxisMin_KeyPress(1, key); break;
            case Entry::txtChartTime: panel_->txtChartTime_KeyPress(key); break;
            }
        });
        return key == 0;
    }
    if (event->type() == QEvent::FocusIn) {
        guard("GotFocus", [&] {
            if (entry == Entry::txtYAxisMin0) panel_->txtYAxisMin_GotFocus(0);
            if (entry == Entry::txtYAxisMin1) panel_->txtYAxisMin_GotFocus(1);
            if (entry == Entry::txtChartTime) panel_->txtChartTime_GotFocus();
        });
    }
    return false;
}

std::string QtAxisControls::text(Entry entry) const { return pelomar::toCodePage(edit(entry)->text()); }

void QtAxisControls::setText(Entry entry, const std::string& text) {
    const QString t = pelomar::fromCodePage(text);
    if (entry == Entry::cmbYAxis0 || entry == Entry::cmbYAxis1)
        frame_.cmbYAxis[entry == Entry::cmbYAxis0 ? 0 : 1]->setEditText(t);
    else
        edit(entry)->setText(t);
}

EntryState QtAxisControls::entryState(Entry entry) const {
    const QLineEdit* e = edit(entry);
    return {pelomar::toCodePage(e->text()),
            static_cast<int32_t>(e->hasSelectedText() ? e->selectionStart() : e->cursorPosition()),
            pelomar::toCodePage(e->selectedText())};
}

void QtAxisControls::selectAll(Entry entry) { edit(entry)->selectAll(); }

void QtAxisControls::setFocus(Entry entry) { edit(entry)->setFocus(); }

void QtAxisControls::setEnabled(Control control, bool enabled) {
    switch (control) {
    case Control::cmdSet0: frame_.cmdSet[0]->setEnabled(enabled); break;
    case Control::cmdSet1: frame_.cmdSet[1]->setEnabled(enabled); break;
    case Control::cmdSetTime: frame_.cmdSetTime->setEnabled(enabled); break;
    case Control::txtChartTime: frame_.txtChartTime->setEnabled(enabled); break;
    }
}

void QtAxisControls::clearList(int list) { frame_.cmbYAxis[list == 0 ? 0 : 1]->clear(); }

void QtAxisControls::addListItem(int list, const std::string& text) {
    frame_.cmbYAxis[list == 0 ? 0 : 1]->addItem(pelomar::fromCodePage(text));
}

void QtAxisControls::selectListItem(int list, int index) {
    QComboBox* combo = frame_.cmbYAxis[list == 0 ? 0 : 1];
    combo->setCurrentIndex(index);
    // The entry shows the pick even when the index was already current.
    combo->setEditText(combo->itemText(index));
    if (panel_ != nullptr) panel_->cmbYAxis_Click(static_cast<int16_t>(list == 0 ? 0 : 1));
}

int QtAxisControls::selectedTimeOption() const { return frame_.optTimeAxis[1]->isChecked() ? 1 : 0; }

void QtAxisControls::selectTimeOption(int option) { frame_.optTimeAxis[option == 1 ? 1 : 0]->setChecked(true); }

int32_t QtAxisControls::scrollValue(int slot) const { return bar(slot) ? bar(slot)->value() : 0; }

bool QtAxisControls::setScrollValue(int slot, int32_t value) { return bar(slot) && bar(slot)->trySetValue(value); }

int32_t QtAxisControls::scrollMax(int slot) const { return bar(slot) ? bar(slot)->Max() : 0; }

void QtAxisControls::setScrollMax(int slot, int32_t max) {
    if (bar(slot)) bar(slot)->setMax(max);
}

void QtAxisControls::setScrollChanges(int slot, int32_t smallChange, int32_t largeChange) {
    if (!bar(slot)) return;
    bar(slot)->setSingleStep(smallChange);
    bar(slot)->setPageStep(largeChange);
}

void QtAxisControls::setScrollEnabled(int slot, bool enabled) {
    if (!bar(slot)) return;
    bar(slot)->setEnabled(enabled);
    // Only the current slot's bar is enabled, and an enabled bar must be
    // reachable: the live bar hidden for a run that ended in Full View shows
    // again once "Window:" is picked.
    if (enabled) bar(slot)->show();
}

void QtAxisControls::focusChart(int slot) {
    if (slot >= 0 && slot < 5 && charts_[static_cast<size_t>(slot)] != nullptr)
        charts_[static_cast<size_t>(slot)]->setFocus();
}

}  // namespace tavrin
