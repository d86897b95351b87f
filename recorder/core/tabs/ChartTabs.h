#pragma once

#include <string>

namespace tavrin {

// The five chart tabs (1 the live chart, 2..5 the file slots) and the slot
// pages they show. Captions and tool tips here are file names, so they are
// the file system's bytes (UTF-8), like every text of this file. Selecting a tab in code runs the tab strip's click
// handler within the call, as a click does; selecting the selected tab runs
// nothing.
class ChartTabs {
public:
    virtual ~ChartTabs() = default;
    virtual std::string caption(int tab) const = 0;
    virtual void setCaption(int tab, const std::string& text) = 0;
    virtual std::string toolTip(int tab) const = 0;
    virtual void setToolTip(int tab, const std::string& text) = 0;
    virtual int selectedTab() const = 0;
    virtual void selectTab(int tab) = 0;
    // The slot's scroll bar and then its chart come to the front.
    virtual void bringToFront(int slot) = 0;
};

// The items that follow the selected tab beyond those of the run control:
// "&Close" and the toolbar's Clear/Close and Save buttons' texts.
class TabCommandControls {
public:
    virtual ~TabCommandControls() = default;
    virtual void setCloseEnabled(bool enabled) = 0;
    virtual void setClearButton(const std::string& caption, const std::string& toolTip) = 0;
    virtual void setSaveButtonToolTip(const std::string& toolTip) = 0;
};

// Width of a caption (UTF-8) in the main window's font, in twips.
class CaptionMeasure {
public:
    virtual ~CaptionMeasure() = default;
    virtual float textWidth(const std::string& text) const = 0;
};

}  // namespace tavrin
