#include "ui/SlotScrollBar.h"

#include <algorithm>

namespace tavrin {

SlotScrollBar::SlotScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setRange(0, 0);
    setSingleStep(1);
    setPageStep(10);
}

void SlotScrollBar::setMax(int32_t max) {
    max_ = max;
    setRange(std::min<int32_t>(0, max), std::max<int32_t>(0, max));
}

bool SlotScrollBar::trySetValue(int32_t value) {
    if (value < minimum() || value > maximum()) return false;
    setValue(value);
    return true;
}

void SlotScrollBar::focusInEvent(QFocusEvent* event) {
    QScrollBar::focusInEvent(event);
    emit gotFocus();
}

}  // namespace tavrin
