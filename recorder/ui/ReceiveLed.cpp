#include "ui/ReceiveLed.h"

#include <QPainter>

namespace tavrin {

ReceiveLed::ReceiveLed(QWidget* parent) : QWidget(parent) { setFixedSize(14, 14); }

void ReceiveLed::setFillColor(int32_t color) {
    if (color == fillColor_) return;
    fillColor_ = color;
    update();
}

void ReceiveLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const auto c = static_cast<uint32_t>(fillColor_);
    p.setBrush(QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                      static_cast<int>((c >> 16) & 0xFF)));
    p.setPen(Qt::gray);
    p.drawEllipse(rect().adjusted(1, 1, -2, -2));
}

}  // namespace tavrin
