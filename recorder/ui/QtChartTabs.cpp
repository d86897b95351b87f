#include "ui/QtChartTabs.h"

#include <QFontMetricsF>

#include "core/window/MainLayout.h"
#include "common/FileNames.h"

namespace tavrin {

QtChartTabs::QtChartTabs(QTabBar& tabBar, std::array<QWidget*, 5> charts, std::array<SlotScrollBar*, 5> bars)
    : tabBar_(tabBar), charts_(charts), bars_(bars) {}

void QtChartTabs::bind(std::function<void()> TabChart_Click) {
    connect(&tabBar_, &QTabBar::currentChanged, this, [click = std::move(TabChart_Click)] { click(); });
}

std::string QtChartTabs::caption(int tab) const { return shownBytes(tabBar_.tabText(tab - 1), captions_, tab); }

void QtChartTabs::setCaption(int tab, const std::string& text) {
    keep(captions_, tab, text);
    tabBar_.setTabText(tab - 1, pelomar::nameToQt(text));
}

std::string QtChartTabs::toolTip(int tab) const {
    return shownBytes(tabBar_.tabToolTip(tab - 1), toolTips_, tab);
}

void QtChartTabs::setToolTip(int tab, const std::string& text) {
    keep(toolTips_, tab, text);
    tabBar_.setTabToolTip(tab - 1, pelomar::nameToQt(text));
}

void QtChartTabs::keep(std::array<std::string, 5>& texts, int tab, const std::string& text) {
    if (tab >= 1 && tab <= static_cast<int>(texts.size())) texts[static_cast<size_t>(tab - 1)] = text;
}

// A name that is not UTF-8 shows with replacement characters; the bytes it
// was given are what a caption that moves to another tab carries along.
std::string QtChartTabs::shownBytes(const QString& shown, const std::array<std::string, 5>& texts, int tab) {
    if (tab >= 1 && tab <= static_cast<int>(texts.size())) {
        const std::string& kept = texts[static_cast<size_t>(tab - 1)];
        if (pelomar::nameToQt(kept) == shown) return kept;
    }
    return shown.toStdString();
}

int QtChartTabs::selectedTab() const { return tabBar_.currentIndex() + 1; }

void QtChartTabs::selectTab(int tab) { tabBar_.setCurrentIndex(tab - 1); }

void QtChartTabs::bringToFront(int slot) {
    if (slot < 0 || slot >= static_cast<int>(charts_.size())) return;
    if (front_ == 0) liveBarShown_ = !bars_[0]->isHidden();
    for (size_t s = 0; s < charts_.size(); ++s) {
        if (static_cast<int>(s) == slot) continue;
        bars_[s]->hide();
        charts_[s]->hide();
    }
    SlotScrollBar* bar = bars_[static_cast<size_t>(slot)];
    bar->setVisible(slot != 0 || liveBarShown_);
    bar->raise();
    QWidget* chart = charts_[static_cast<size_t>(slot)];
    chart->show();
    chart->raise();
    front_ = slot;
}

void QtTabCommandControls::setClearButton(const std::string& caption, const std::string& toolTip) {
    cmdClear_.setText(pelomar::nameToQt(caption));
    cmdClear_.setToolTip(pelomar::nameToQt(toolTip));
}

void QtTabCommandControls::setSaveButtonToolTip(const std::string& toolTip) {
    cmdSave_.setToolTip(pelomar::nameToQt(toolTip));
}

float QtCaptionMeasure::textWidth(const std::string& text) const {
    const QFontMetricsF metrics(window_.font());
    return static_cast<float>(metrics.horizontalAdvance(pelomar::nameToQt(text)) * kTwipsPerPixel);
}

}  // namespace tavrin
