#include "frmMain.h"

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Tavrin MS"));
    resize(8650 / 15, 6300 / 15);
}
