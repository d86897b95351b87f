#pragma once

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QWidget>

// A window manager draws the caption in a bold face beside the window's icon
// and its title buttons; a window narrower than that cuts the caption.
inline int captionWidth(const QWidget& window) {
    constexpr int kIconAndButtons = 140;
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + kIconAndButtons;
}

// Keeps `layout`, the window's top layout, at least as wide as its caption.
inline void fitCaption(const QWidget& window, QBoxLayout& layout) { layout.addStrut(captionWidth(window)); }
