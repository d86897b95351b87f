#pragma once

#include <QWidget>

#include "core/FileDialog.h"

namespace tavrin {

// The open and save dialogs over QFileDialog.
class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}

    void setParent(QWidget* parent) { parent_ = parent; }

    Result ShowOpen(const Settings& settings) override;
    Result ShowSave(const Settings& settings) override;

private:
    Result show(const Settings& settings, bool save);

    QWidget* parent_;
};

}  // namespace tavrin
