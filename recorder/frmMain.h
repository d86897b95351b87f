#pragma once

#include <QMainWindow>

// The recorder's main window.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
};
