#pragma once

#include <QApplication>
#include <QCursor>

#include "core/BusyCursor.h"

namespace tavrin {

// The hourglass as the application's override cursor.
class QtBusyCursor : public BusyCursor {
public:
    void setBusy(bool busy) override {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (QApplication::overrideCursor() != nullptr)
            QApplication::restoreOverrideCursor();
    }
};

}  // namespace tavrin
