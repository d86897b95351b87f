// Mouse handlers of the chart: each hands the pointer in chart coordinates
// to the mouse state machine. Nothing may escape an event handler.
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

#include "core/drawing/ChartMouse.h"
#include "pelomar/Pelomar.h"

#include "EventGuard.h"

namespace pelomar {

namespace {
int buttonOf(Qt::MouseButton b) {
    if (b == Qt::LeftButton) return core::ChartMouse::kLeft;
    if (b == Qt::RightButton) return core::ChartMouse::kRight;
    return 0;
}

int buttonsOf(Qt::MouseButtons b) {
    int out = 0;
    if (b & Qt::LeftButton) out |= core::ChartMouse::kLeft;
    if (b & Qt::RightButton) out |= core::ChartMouse::kRight;
    return out;
}
}  // namespace

void Pelomar::mousePressEvent(QMouseEvent* event) {
    guardEvent("mousePressEvent", [&] {
        const QPointF p = toChart(event->position());
        mouse_->MouseDown(buttonOf(event->button()), static_cast<float>(p.x()),
                          static_cast<float>(p.y()));
    });
}

void Pelomar::mouseMoveEvent(QMouseEvent* event) {
    guardEvent("mouseMoveEvent", [&] {
        const QPointF p = toChart(event->position());
        mouse_->MouseMove(buttonsOf(event->buttons()), static_cast<float>(p.x()),
                          static_cast<float>(p.y()));
    });
}

void Pelomar::mouseReleaseEvent(QMouseEvent* event) {
    guardEvent("mouseReleaseEvent", [&] {
        const QPointF p = toChart(event->position());
        mouse_->MouseUp(buttonOf(event->button()), static_cast<float>(p.x()),
                        static_cast<float>(p.y()));
    });
}

void Pelomar::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    guardEvent("mouseDoubleClickEvent", [&] { mouse_->DblClick(); });
}

// The pointer may leave without a move over the margin around the plot
// (straight up into a tab bar, or to another window).
void Pelomar::leaveEvent(QEvent* event) {
    guardEvent("leaveEvent", [&] { mouse_->MouseLeave(); });
    QWidget::leaveEvent(event);
}

bool Pelomar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblToolTip_ && event->type() == QEvent::MouseMove)
        guardEvent("ToolTipMouseMove", [&] { mouse_->ToolTipMouseMove(); });
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelomar
