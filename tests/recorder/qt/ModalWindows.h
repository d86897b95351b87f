#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "dialogs/frmLogName.h"

namespace tavrin::test {

// A timer that polls for a window; it goes with the application, or after a
// minute when no window came.
inline QTimer* pollingTimer() {
    auto* timer = new QTimer(QCoreApplication::instance());
    QTimer::singleShot(60000, timer, [timer] {
        timer->stop();
        timer->deleteLater();
    });
    return timer;
}

// Runs `act` on the next modal window once it is open, from its own event
// loop (a modal window blocks the caller until it closes).
inline void onModal(std::function<void(QWidget*)> act) {
    auto* timer = pollingTimer();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start(10);
}

// The first activation asks for the system name: keep the one offered
// (other windows that open before it are left alone).
inline void keepSystemName() {
    auto* timer = pollingTimer();
    QObject::connect(timer, &QTimer::timeout, timer, [timer] {
        auto* name = qobject_cast<frmLogName*>(QApplication::activeModalWidget());
        if (name == nullptr || !name->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        name->cmdOKButton->click();
    });
    timer->start(10);
}

}  // namespace tavrin::test
