#pragma once

#include <QWidget>

#include "core/UiServices.h"

namespace tavrin {

// Message boxes over QMessageBox, the beep over QApplication.
class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void messageBox(const std::string& text, const std::string& title, Icon icon) override;
    void beep() override;

private:
    QWidget* parent_;
};

}  // namespace tavrin
