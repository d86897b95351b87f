#pragma once

#include <QWidget>

#include "core/UiServices.h"

namespace tavrin {

// Message boxes over QMessageBox, the beep over QApplication.
class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                      Icon icon) override;
    Answer messageBoxWithDefault(const std::string& text, const std::string& title, Buttons buttons,
                                 Icon icon, Answer defaultAnswer) override;
    void beep() override;

private:
    Answer show(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                const Answer* defaultAnswer);

    QWidget* parent_;
};

}  // namespace tavrin
