#pragma once

#include <QObject>
#include <array>

#include "ui/FrameScaleAxis.h"
#include "core/axis/AxisPanel.h"
#include "core/axis/AxisPanelControls.h"
#include "core/run/ErrorReporter.h"
#include "ui/SlotScrollBar.h"

namespace tavrin {

// The axis frame's widgets and the slots' scroll bars as the axis panel
// sets them. The panel's handlers hang on the signals that fire for changes
// made in code too, so a setter runs its handler within the call; key
// presses in the number entries pass the panel's key filter first.
class QtAxisControls : public QObject, public AxisPanelControls {
    Q_OBJECT

public:
    QtAxisControls(FrameScaleAxis& frame, std::array<SlotScrollBar*, 5> bars, std::array<QWidget*, 5> charts);

    // Routes the controls' events to the panel's handlers; a fault in one is
    // written to the error log by `errors`.
    void bind(AxisPanel& panel, ErrorReporter& errors);

    std::string text(Entry entry) const override;
    void setText(Entry entry, const std::string& text) override;
    EntryState entryState(Entry entry) const override;
    void selectAll(Entry entry) override;
    void setFocus(Entry entry) override;
    void setEnabled(Control control, bool enabled) override;
    void clearList(int list) override;
    void addListItem(int list, const std::string& text) override;
    void selectListItem(int list, int index) override;
    int selectedTimeOption() const override;
    void selectTimeOption(int option) override;
    int32_t scrollValue(int slot) const override;
    bool setScrollValue(int slot, int32_t value) override;
    int32_t scrollMax(int slot) const override;
    void setScrollMax(int slot, int32_t max) override;
    void setScrollChanges(int slot, int32_t smallChange, int32_t largeChange) override;
    void setScrollEnabled(int slot, bool enabled) override;
    void focusChart(int slot) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edit(Entry entry) const;
    SlotScrollBar* bar(int slot) const;

    FrameScaleAxis& frame_;
    std::array<SlotScrollBar*, 5> bars_;
    std::array<QWidget*, 5> charts_;
    template <typename Body>
    void guard(const char* handler, Body&& body) noexcept {
        errors_->guard(handler, body);
    }

    AxisPanel* panel_ = nullptr;
    ErrorReporter* errors_ = nullptr;
};

}  // namespace tavrin
