#pragma once

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

// The axis frame at the bottom of the main window: full scale and minimum
// of the UV and conductivity axes, and the time axis's Full View or window.
// Only the controls; the axis panel's logic drives them.
class FrameScaleAxis : public QFrame {
    Q_OBJECT

public:
    explicit FrameScaleAxis(QWidget* parent = nullptr);

    // 0 "UV Axis", 1 "Time Axis", 2 "Conductivity Axis".
    std::array<QGroupBox*, 3> FrameAxis{};
    std::array<QComboBox*, 2> cmbYAxis{};
    std::array<QLabel*, 2> lblAxis{};
    std::array<QLineEdit*, 2> txtYAxisMin{};
    std::array<QLabel*, 2> lblAxisMin{};
    std::array<QPushButton*, 2> cmdSet{};
    std::array<QRadioButton*, 2> optTimeAxis{};
    QLineEdit* txtChartTime = nullptr;
    QLabel* lblWindow = nullptr;
    QPushButton* cmdSetTime = nullptr;
};
