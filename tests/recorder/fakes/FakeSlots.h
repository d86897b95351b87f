#pragma once

#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/Utf8.h"

#include "core/tabs/ChartTabs.h"
#include "core/tabs/SlotChart.h"
#include "fakes/FakeAxisChart.h"

namespace tavrin::test {

// What a chart keeps in a data file, as the fake charts write and read it.
struct FakeChartFile {
    std::string data;
    float duration = 0;
    std::string notes;
    std::string title;
};

// Files by full name; a name in `unreadable` or `unwritable` fails.
struct FakeDisk {
    std::map<std::string, FakeChartFile> files;
    std::set<std::string> unreadable;
    std::set<std::string> unwritable;
};

// A chart slot over a fake disk. A read replaces the data, notes, title and
// the whole axis range; a failed read keeps everything, as the control does.
// Unzoom raises the UnZoomEnd handler given by the test.
class FakeSlotChart : public FakeAxisChartOf<SlotChart> {
public:
    explicit FakeSlotChart(FakeDisk& disk) : disk_(disk) {}

    bool ReadFromFile(const std::string& FileName) override {
        reads.push_back(FileName);
        const auto it = disk_.files.find(FileName);
        if (it == disk_.files.end() || disk_.unreadable.count(FileName) != 0) return false;
        data = it->second.data;
        duration = it->second.duration;
        notes = it->second.notes;
        title = it->second.title;
        xStart = 0;
        xEnd = duration > 0 ? duration : 10;
        y1Start = -0.2f;
        y1End = 2;
        y2Start = 0;
        y2End = 500;
        return true;
    }
    bool SaveToFile(const std::string& FileName) override {
        saves.push_back(FileName);
        if (disk_.unwritable.count(FileName) != 0) return false;
        disk_.files[FileName] = {data, duration, notes, title};
        return true;
    }
    bool SaveSelectedToFile(const std::string& FileName) override {
        selectedSaves.push_back(FileName);
        if (disk_.unwritable.count(FileName) != 0) return false;
        disk_.files[FileName] = {"selected " + data, duration, notes, title};
        return true;
    }
    std::string GetNotes() const override { return notes; }
    void UpdateNotes(const std::string& Notes) override { notes = Notes; }
    std::string GraphTitle() const override { return title; }
    void setGraphTitle(const std::string& value) override { title = value; }
    void Clear() override {
        data.clear();
        notes.clear();
        duration = 0;
        ++clears;
    }
    void Unzoom() override {
        ++unzooms;
        if (onUnZoomEnd) onUnZoomEnd();
    }

    std::string data;
    std::string notes;
    std::string title;
    int clears = 0;
    int unzooms = 0;
    std::vector<std::string> reads;
    std::vector<std::string> saves;
    std::vector<std::string> selectedSaves;
    std::function<void()> onUnZoomEnd;

private:
    FakeDisk& disk_;
};

class FakeRebuildChart : public LogRebuildChart {
public:
    struct Call {
        std::string LogPath;
        int16_t InstanceNumber;
        std::string FileName;
    };
    int16_t SaveLog2(const std::string& LogPath, int16_t InstanceNumber, const std::string& FileName) override {
        calls.push_back({LogPath, InstanceNumber, FileName});
        return result;
    }
    int16_t result = 0;
    std::vector<Call> calls;
};

// Tabs 1..5; selecting another tab runs `click`, as the tab strip does.
class FakeChartTabs : public ChartTabs {
public:
    FakeChartTabs() { captions = {"", "Chart Recorder", "(empty)", "(empty)", "(empty)", "(empty)"}; }

    std::string caption(int tab) const override { return captions.at(static_cast<size_t>(tab)); }
    void setCaption(int tab, const std::string& text) override { captions.at(static_cast<size_t>(tab)) = text; }
    std::string toolTip(int tab) const override { return toolTips.at(static_cast<size_t>(tab)); }
    void setToolTip(int tab, const std::string& text) override { toolTips.at(static_cast<size_t>(tab)) = text; }
    int selectedTab() const override { return selected; }
    void selectTab(int tab) override {
        if (tab == selected) return;
        selected = tab;
        if (click) click();
    }
    void bringToFront(int slot) override { front = slot; }

    // A user's click on a tab.
    void clickTab(int tab) { selectTab(tab); }

    std::array<std::string, 6> captions;
    std::array<std::string, 6> toolTips;
    int selected = 1;
    int front = 0;
    std::function<void()> click;
};

class FakeTabCommands : public TabCommandControls {
public:
    void setCloseEnabled(bool on) override { closeEnabled = on; }
    void setClearButton(const std::string& caption, const std::string& toolTip) override {
        clearCaption = caption;
        clearToolTip = toolTip;
    }
    void setSaveButtonToolTip(const std::string& toolTip) override { saveToolTip = toolTip; }

    bool closeEnabled = false;
    std::string clearCaption = "Clear";
    std::string clearToolTip;
    std::string saveToolTip;
};

// Each character (a UTF-8 sequence) is `perChar` twips wide, unless `wide`
// names it by its first byte.
class FakeCaptionMeasure : public CaptionMeasure {
public:
    float textWidth(const std::string& text) const override {
        float w = 0;
        for (size_t pos = 0; pos < text.size(); pos += pelomar::utf8CharLength(text, pos)) {
            const auto it = wide.find(text[pos]);
            w += it == wide.end() ? perChar : it->second;
        }
        return w;
    }
    float perChar = 90;
    std::map<char, float> wide;
};

}  // namespace tavrin::test
