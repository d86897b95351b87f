#pragma once

#include "pelomar/ChartUiServices.h"

class QWidget;

namespace pelomar {

// Message boxes as modal QMessageBoxes over `parent`, the hourglass as the
// application's override cursor.
class QtChartUiServices : public ChartUiServices {
public:
    explicit QtChartUiServices(QWidget* parent) : parent_(parent) {}

    int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) override;
    void setBusy(bool busy) override;

private:
    QWidget* parent_;
};

}  // namespace pelomar
