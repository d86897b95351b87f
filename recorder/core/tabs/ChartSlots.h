#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/axis/AxisPanel.h"
#include "core/axis/AxisPanelControls.h"
#include "core/axis/AxisViewState.h"
#include "core/BusyCursor.h"
#include "core/tabs/ChartTabs.h"
#include "core/FileDialog.h"
#include "core/MainWindowControls.h"
#include "core/RecorderChart.h"
#include "core/tabs/SlotChart.h"
#include "core/UiServices.h"
#include "core/modGlobas.h"

namespace tavrin {

// The chart tabs' slots: slot 0 the live chart, 1..4 files opened into the
// next free slot. Opens, closes, clears and saves the slots' charts, saves
// the backup log as a log file, and keeps the tabs, menus and per-slot flags
// in step.
class ChartSlots {
public:
    static constexpr int kSlots = 5;
    static constexpr float kCaptionWidth = 1080;  // twips

    struct Services {
        // Chart(0) .. Chart(4).
        std::array<SlotChart*, kSlots> charts;
        RecorderChart& backupChart;     // Chart(5)
        LogRebuildChart& rebuildChart;  // Chart(6)
        ChartTabs& tabs;
        TabCommandControls& tabCommands;
        MainWindowControls& controls;
        AxisPanel& axis;
        AxisPanelControls& axisControls;
        AxisViewState& view;
        modGlobas& globals;
        FileDialog& fileDialog;
        UiServices& ui;
        BusyCursor& busy;
        CaptionMeasure& measure;
        // The live chart records.
        std::function<bool()> recording;
        std::function<void(int16_t)> handelError;
    };

    explicit ChartSlots(const Services& services);

    // Slots in use, slot 0 included.
    int16_t NumCharts = 1;
    // The file each slot was read from or last saved to; "" for the live
    // chart until it is saved.
    std::array<std::string, kSlots> FileNames{};

    void mnuOpenData_Click() { ShowOpenFileDialog(false); }
    void mnuOpenLog_Click() { ShowOpenFileDialog(true); }
    void ShowOpenFileDialog(bool IsLog);
    void OpenChartFile(const std::string& FileName);
    void TabChart_Click();
    void EnableChartScroll();
    void mnuClose_Click();
    void mnuClear_Click();
    void mnuSaveData_Click() { (void)saveData(); }
    void mnuSaveDataAs_Click() { (void)saveDataAs(); }
    void mnuSaveSlectedData_Click();
    void mnuSaveLog_Click();

    std::string FitTextToWidth(const std::string& text, float width) const;
    static std::string StripExtension(const std::string& text);
    static std::string GetFileTitle(const std::string& path);

private:
    enum class SaveOutcome { Saved, Cancelled, Failed };
    SaveOutcome saveData();
    SaveOutcome saveDataAs();
    // Re-reads the files of the slots above into the slots below; false, with
    // every chart showing what it showed before, when one read fails.
    bool moveSlotsDown(int closed);
    void freeTopSlot();
    void setFileCaption(int slot, const std::string& title);
    int current() const;
    SlotChart& chart(int slot) const { return *s_.charts[static_cast<size_t>(slot)]; }

    Services s_;
};

}  // namespace tavrin
