#pragma once

#include <QAction>
#include <QObject>
#include <QTabBar>
#include <QWidget>
#include <array>
#include <string>
#include <functional>

#include "core/tabs/ChartTabs.h"
#include "ui/SlotScrollBar.h"

namespace tavrin {

// The tab strip over TabChart (tab k is index k - 1) and the slot pages:
// only the front slot's chart and scroll bar show. The live bar keeps the
// visibility the run control gave it while another slot is in front.
class QtChartTabs : public QObject, public ChartTabs {
    Q_OBJECT

public:
    QtChartTabs(QTabBar& tabBar, std::array<QWidget*, 5> charts, std::array<SlotScrollBar*, 5> bars);

    // A change of the selected tab, by a click or in code, runs the tab
    // strip's click handler (the slots' TabChart_Click) within the change;
    // the handler guards itself.
    void bind(std::function<void()> TabChart_Click);

    std::string caption(int tab) const override;
    void setCaption(int tab, const std::string& text) override;
    std::string toolTip(int tab) const override;
    void setToolTip(int tab, const std::string& text) override;
    int selectedTab() const override;
    void selectTab(int tab) override;
    void bringToFront(int slot) override;

private:
    static void keep(std::array<std::string, 5>& texts, int tab, const std::string& text);
    static std::string shownBytes(const QString& shown, const std::array<std::string, 5>& texts, int tab);

    QTabBar& tabBar_;
    std::array<std::string, 5> captions_;
    std::array<std::string, 5> toolTips_;
    std::array<QWidget*, 5> charts_;
    std::array<SlotScrollBar*, 5> bars_;
    int front_ = 0;
    bool liveBarShown_ = true;
};

// "&Close" and the toolbar's Clear/Close and Save buttons; their texts name
// the tab's file, so they are UTF-8 like the captions.
class QtTabCommandControls : public TabCommandControls {
public:
    QtTabCommandControls(QAction& mnuClose, QAction& cmdClear, QAction& cmdSave)
        : mnuClose_(mnuClose), cmdClear_(cmdClear), cmdSave_(cmdSave) {}

    void setCloseEnabled(bool enabled) override { mnuClose_.setEnabled(enabled); }
    void setClearButton(const std::string& caption, const std::string& toolTip) override;
    void setSaveButtonToolTip(const std::string& toolTip) override;

private:
    QAction& mnuClose_;
    QAction& cmdClear_;
    QAction& cmdSave_;
};

// Text widths in the window's font, in twips of the window's fixed scale.
class QtCaptionMeasure : public CaptionMeasure {
public:
    explicit QtCaptionMeasure(const QWidget& window) : window_(window) {}
    float textWidth(const std::string& text) const override;

private:
    const QWidget& window_;
};

}  // namespace tavrin
