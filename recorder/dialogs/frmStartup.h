#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <optional>

#include "core/window/FaultReport.h"
#include "core/SettingsStore.h"
#include "platform/QtTimer.h"

// The splash window that loads the main window a second after it opens, and
// from then on the About box.
class frmStartup : public QDialog {
    Q_OBJECT

public:
    // loadMain loads and shows the main window.
    frmStartup(const tavrin::SettingsStore& settings, std::function<void()> loadMain, tavrin::FaultReport report,
               QWidget* parent = nullptr);

    void Form_Load();
    void TimerLoadMain_Timer();
    void cmdClose_Click() { hide(); }

    // "LogInfo" as it stood before this copy registered.
    const std::optional<tavrin::SettingsStore::Pairs>& LogInfoSettings() const { return logInfo_; }

    QLabel* picSplash = nullptr;
    QPushButton* cmdClose = nullptr;
    tavrin::QtTimer TimerLoadMain{1000};

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const tavrin::SettingsStore& settings_;
    std::function<void()> loadMain_;
    tavrin::FaultReport report_;
    std::optional<tavrin::SettingsStore::Pairs> logInfo_;
};
