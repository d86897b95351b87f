#pragma once

#include <QScrollBar>
#include <cstdint>

namespace tavrin {

// A chart slot's horizontal bar: Min 0 and a Max that may go below 0, the
// Value anywhere between the two. A Value outside them is refused rather
// than clamped, and a new Max pulls the Value in, as a change.
class SlotScrollBar : public QScrollBar {
    Q_OBJECT

public:
    explicit SlotScrollBar(QWidget* parent = nullptr);

    int32_t Max() const { return max_; }
    void setMax(int32_t max);
    // false: outside 0 to Max, nothing changes.
    bool trySetValue(int32_t value);

signals:
    void gotFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    int32_t max_ = 0;
};

}  // namespace tavrin
