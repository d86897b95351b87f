#include "OleColors.h"

#include <QApplication>
#include <QPalette>

namespace pelomar {

QColor toQColor(OleColor color) {
    if (color & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (color & 0xFFu) {
        case 0x05: return palette.color(QPalette::Base);         // window background
        case 0x08: return palette.color(QPalette::Text);         // window text
        case 0x0F: return palette.color(QPalette::Button);       // button face
        case 0x12: return palette.color(QPalette::ButtonText);   // button text
        case 0x17: return palette.color(QPalette::ToolTipText);  // tool-tip text
        case 0x18: return palette.color(QPalette::ToolTipBase);  // tool-tip background
        default: return palette.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace pelomar
