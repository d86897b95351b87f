#include "core/tabs/ChartSlots.h"

#include "common/RuntimeErrors.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>

#include "fakes/FakeAxisControls.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeChart.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeSlots.h"
#include "fakes/FakeUi.h"

namespace tavrin::test {
namespace {

using Item = MainWindowControls::Item;
using Answer = UiServices::Answer;
using Entry = AxisPanelControls::Entry;

constexpr int16_t kCancelSelected = 32755;

// The backup-log chart, told whether this copy has backups.
class BackupChart : public FakeChart {
public:
    bool IsLogFileExist2(const std::string& LogPath) override {
        asked.push_back(LogPath);
        return exists;
    }
    bool exists = true;
    std::vector<std::string> asked;
};

struct Rig {
    FakeDisk disk;
    std::array<std::unique_ptr<FakeSlotChart>, 5> charts;
    BackupChart backup;
    FakeRebuildChart rebuild;
    FakeChartTabs tabs;
    FakeTabCommands tabCommands;
    FakeControls controls;
    FakeAxisControls axisControls;
    AxisViewState view;
    modGlobas g;
    FakeFileDialog dialog;
    FakeUi ui;
    FakeBusyCursor busy;
    FakeCaptionMeasure measure;
    bool recording = false;
    std::vector<int16_t> errors;
    std::unique_ptr<AxisPanel> axis;
    std::unique_ptr<ChartSlots> slots;

    Rig() {
        std::array<AxisChart*, 5> axisCharts{};
        std::array<SlotChart*, 5> slotCharts{};
        for (size_t i = 0; i < charts.size(); ++i) {
            charts[i] = std::make_unique<FakeSlotChart>(disk);
            axisCharts[i] = slotCharts[i] = charts[i].get();
        }
        const auto handel = [this](int16_t code) { errors.push_back(code); };
        axis = std::make_unique<AxisPanel>(AxisPanel::Services{axisControls, axisCharts, view, g, ui,
                                                               [this] { return recording; }, handel});
        slots = std::make_unique<ChartSlots>(ChartSlots::Services{
            slotCharts, backup, rebuild, tabs, tabCommands, controls, *axis, axisControls, view, g, dialog, ui, busy,
            measure, [this] { return recording; }, handel});
        axisControls.panel = axis.get();
        tabs.click = [this] { slots->TabChart_Click(); };
        for (int16_t i = 0; i < 5; ++i)
            charts[static_cast<size_t>(i)]->onUnZoomEnd = [this, i] { axis->Chart_UnZoomEnd(i); };
        axis->FillYAxisLists();
        for (int s = 0; s < 5; ++s) axis->InitSlot(s);
        g.Saved[0] = true;
    }

    FakeSlotChart& chart(int slot) { return *charts[static_cast<size_t>(slot)]; }

    // A data file on the fake disk; its data names it.
    std::string file(const std::string& name, float duration = 30, const std::string& notes = "") {
        const std::string path = "/runs/" + name;
        disk.files[path] = {"data of " + name, duration, notes, "stored title"};
        return path;
    }

    void open(const std::string& path) {
        dialog.answer = path;
        slots->mnuOpenData_Click();
    }
};

TEST(ChartSlotsOpen, ReadsTheFileIntoTheNextSlotAndSelectsItsTab) {
    Rig r;
    const std::string path = r.file("run.1.chd", 30.4f);
    r.open(path);

    ASSERT_EQ(r.dialog.shown.size(), 1u);
    const FileDialog::Settings& d = r.dialog.shown[0];
    EXPECT_EQ(d.DialogTitle, "Open Data File...");
    EXPECT_EQ(d.Filter, "Pelomar Data(*.chd)|*.chd|All Files(*.*)|*.*");
    EXPECT_EQ(d.DefaultExt, "chd");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.Flags, 0);

    EXPECT_EQ(r.slots->NumCharts, 2);
    EXPECT_EQ(r.slots->FileNames[1], path);
    EXPECT_TRUE(r.g.Saved[1]);
    EXPECT_EQ(r.chart(1).data, "data of run.1.chd");
    EXPECT_EQ(r.chart(1).title, "run");
    EXPECT_EQ(r.tabs.captions[2], "run");
    EXPECT_EQ(r.tabs.toolTips[2], "run.1.chd");
    EXPECT_EQ(r.tabs.selected, 2);
    EXPECT_EQ(r.g.CurrentChart, 1);
    EXPECT_EQ(r.tabs.front, 1);
    EXPECT_TRUE(r.view.WholeRunAxis[1]);
    EXPECT_FALSE(r.view.ChartZoomed[1]);
    // 30.4 + 0.5 - 10 rounds to 21.
    EXPECT_EQ(r.axisControls.bars[1].max, 21);
    EXPECT_FALSE(r.busy.busy);
    EXPECT_EQ(r.busy.times, 1);
}

TEST(ChartSlotsOpen, LogDialogAndCancelAndUnreadableFile) {
    Rig r;
    r.dialog.answer = "";
    r.slots->mnuOpenLog_Click();
    ASSERT_EQ(r.dialog.shown.size(), 1u);
    EXPECT_EQ(r.dialog.shown[0].DialogTitle, "Open Log File...");
    EXPECT_EQ(r.dialog.shown[0].Filter, "Pelomar Log(*.chl)|*.chl|All Files(*.*)|*.*");
    EXPECT_EQ(r.dialog.shown[0].DefaultExt, "chl");
    EXPECT_EQ(r.slots->NumCharts, 1);
    EXPECT_TRUE(r.chart(1).reads.empty());

    r.open("/runs/missing.chd");
    EXPECT_EQ(r.slots->NumCharts, 1);
    EXPECT_EQ(r.tabs.captions[2], "(empty)");
    EXPECT_EQ(r.tabs.selected, 1);
    EXPECT_EQ(r.g.CurrentChart, 0);
    EXPECT_TRUE(r.slots->FileNames[1].empty());
    EXPECT_FALSE(r.busy.busy);

    // The slot given back takes the next file.
    r.open(r.file("b.chd"));
    EXPECT_EQ(r.slots->NumCharts, 2);
    EXPECT_EQ(r.tabs.captions[2], "b");
}

TEST(ChartSlotsOpen, FourFilesOpenShowTheLimitBoxAndNoDialog) {
    Rig r;
    for (const char* n : {"a.chd", "b.chd", "c.chd", "d.chd"}) r.open(r.file(n));
    ASSERT_EQ(r.slots->NumCharts, 5);
    r.open(r.file("e.chd"));
    r.slots->mnuOpenLog_Click();

    EXPECT_EQ(r.dialog.shown.size(), 4u);
    ASSERT_EQ(r.ui.boxes.size(), 2u);
    for (const FakeUi::Box& box : r.ui.boxes) {
        EXPECT_EQ(box.text,
                  "The maximum number of files which can be opened at one time is 4.  To open another file you "
                  "must close a file which is already open first.");
        EXPECT_EQ(box.title, "Open Data File Information!");
        EXPECT_EQ(box.buttons, UiServices::Buttons::Ok);
        EXPECT_EQ(box.icon, UiServices::Icon::Information);
    }
    EXPECT_EQ(r.slots->NumCharts, 5);
    // A file named at start with every slot in use reads nothing.
    r.slots->OpenChartFile(r.file("f.chd"));
    EXPECT_EQ(r.slots->NumCharts, 5);
}

TEST(ChartSlotsCaption, NamesAndWidths) {
    Rig r;
    // 90 twips a character: 12 fit in 1080; "..." takes 270.
    struct Case {
        const char* path;
        const char* caption;
        const char* toolTip;
    };
    const Case cases[] = {
        {"/runs/noextension", "noextension", "noextension"},
        {"/runs/run.2024.01.chd", "run", "run.2024.01.chd"},
        {"/runs/exactly12chr.chd", "exactly12chr", "exactly12chr.chd"},
        {"/runs/thirteen-char.chd", "thirteen-...", "thirteen-char.chd"},
        // Names are UTF-8: widths and cuts go by characters, not bytes.
        {"/Pr\xC3\xBC""fung/L\xC3\xB6sung \xC2\xB5.chd", "L\xC3\xB6sung \xC2\xB5", "L\xC3\xB6sung \xC2\xB5.chd"},
        {"/\xE8\xA9\xA6\xE6\x96\x99/\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99"
         "\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99.chd",
         "\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99"
         "\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99",
         "\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99"
         "\xE8\xA9\xA6\xE6\x96\x99\xE8\xA9\xA6\xE6\x96\x99.chd"},
        {"/d/\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94.chl",
         "\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94...",
         "\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94\xCE\x94.chl"},
        // Bytes that are not UTF-8 are a character each.
        {"/old/M\xFC""ller-und-S\xF6hne.chd", "M\xFC""ller-un...", "M\xFC""ller-und-S\xF6hne.chd"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.disk.files[c.path] = {"x", 5, "", ""};
        rig.open(c.path);
        EXPECT_EQ(rig.tabs.captions[2], c.caption) << c.path;
        EXPECT_EQ(rig.tabs.toolTips[2], c.toolTip) << c.path;
    }

    // Nine characters fit beside "..." (810 twips of room).
    EXPECT_EQ(r.slots->FitTextToWidth("abcdefghijklmnop", 1080), "abcdefghi...");
    // Not even one character fits: the first one stays.
    r.measure.wide['W'] = 2000;
    EXPECT_EQ(r.slots->FitTextToWidth("WWide", 1080), "W...");
    EXPECT_EQ(r.slots->FitTextToWidth("W", 1080), "W...");
    EXPECT_EQ(r.slots->FitTextToWidth("", 1080), "");
}

TEST(ChartSlotsCaption, FileTitleAndExtension) {
    EXPECT_EQ(ChartSlots::GetFileTitle("/home/u/runs/a.b.chd"), "a.b.chd");
    EXPECT_EQ(ChartSlots::GetFileTitle("plain.chd"), "plain.chd");
    EXPECT_EQ(ChartSlots::GetFileTitle("/runs/"), "");
    // This platform's separator only.
    EXPECT_EQ(ChartSlots::GetFileTitle("C:\\runs\\a.chd"), "C:\\runs\\a.chd");
    EXPECT_EQ(ChartSlots::StripExtension("a.b.chd"), "a");
    EXPECT_EQ(ChartSlots::StripExtension("none"), "none");
    EXPECT_EQ(ChartSlots::StripExtension(".hidden"), "");
}

TEST(ChartSlotsTabs, AnEmptyTabIsRefusedAndThePreviousStaysSelected) {
    Rig r;
    r.open(r.file("a.chd"));
    r.open(r.file("b.chd"));
    r.tabs.clickTab(2);
    ASSERT_EQ(r.g.CurrentChart, 1);

    r.tabs.clickTab(4);
    EXPECT_EQ(r.tabs.selected, 2);
    EXPECT_EQ(r.g.CurrentChart, 1);
    EXPECT_EQ(r.tabs.front, 1);
    r.tabs.clickTab(5);
    EXPECT_EQ(r.tabs.selected, 2);
}

TEST(ChartSlotsTabs, MenusAndButtonsFollowTheTab) {
    Rig r;
    r.open(r.file("sample.chd"));
    EXPECT_EQ(r.controls.isEnabled(Item::mnuClear), 0);
    EXPECT_TRUE(r.tabCommands.closeEnabled);
    EXPECT_EQ(r.tabCommands.clearCaption, "Close");
    EXPECT_EQ(r.tabCommands.clearToolTip, "Close sample");
    EXPECT_EQ(r.tabCommands.saveToolTip, "Save sample");
    for (Item i : {Item::mnuSaveData, Item::mnuSaveDataAs, Item::mnuSaveSlectedData, Item::mnuPrint,
                   Item::mnuPrintSetup, Item::mnuExport, Item::cmdPrint, Item::cmdSave, Item::cmdClear})
        EXPECT_EQ(r.controls.isEnabled(i), 1);

    for (const bool recording : {true, false}) {
        r.recording = recording;
        r.tabs.clickTab(2);
        r.tabs.clickTab(1);
        EXPECT_EQ(r.g.CurrentChart, 0);
        EXPECT_FALSE(r.tabCommands.closeEnabled);
        EXPECT_EQ(r.tabCommands.clearCaption, "Clear");
        EXPECT_EQ(r.tabCommands.clearToolTip, "Clear Chart Recorder data");
        EXPECT_EQ(r.tabCommands.saveToolTip, "Save Chart Recorder data");
        for (Item i : {Item::mnuClear, Item::mnuSaveData, Item::mnuSaveDataAs, Item::mnuSaveSlectedData,
                       Item::mnuPrint, Item::mnuPrintSetup, Item::mnuExport, Item::cmdPrint, Item::cmdSave,
                       Item::cmdClear})
            EXPECT_EQ(r.controls.isEnabled(i), recording ? 0 : 1) << static_cast<int>(i);
    }
}

TEST(ChartSlotsTabs, EachSlotKeepsItsOwnTimeAxis) {
    Rig r;
    r.open(r.file("long.chd", 60));
    // Window of 20 minutes on the file tab.
    r.axisControls.type(Entry::txtChartTime, "20");
    r.axisControls.selectTimeOption(1);
    ASSERT_FALSE(r.view.WholeRunAxis[1]);
    ASSERT_EQ(r.view.ChartWindow[1], 20.0);

    r.tabs.clickTab(1);
    EXPECT_EQ(r.axisControls.option, 0);
    EXPECT_EQ(r.axisControls.text(Entry::txtChartTime), "10.0");

    r.tabs.clickTab(2);
    EXPECT_EQ(r.axisControls.option, 1);
    EXPECT_TRUE(r.axisControls.bars[1].enabled);
    EXPECT_EQ(r.axisControls.text(Entry::txtChartTime), "20.0");
    EXPECT_EQ(r.chart(1).xEnd - r.chart(1).xStart, 20);
}

// Three files open in tabs 2 to 4.
struct ThreeOpen : Rig {
    std::string a, b, c;
    ThreeOpen() {
        a = file("a.chd", 5, "notes a");
        b = file("b.chd", 15, "notes b");
        c = file("c.chd", 25, "notes c");
        for (const std::string& p : {a, b, c}) open(p);
        // Edits that live only in the charts.
        chart(2).notes = "edited notes b";
        chart(3).title = "retitled c";
        g.Saved[2] = false;
    }
};

TEST(ChartSlotsClose, TheSecondOfThreeReReadsTheOnesAboveFromDisk) {
    ThreeOpen r;
    r.tabs.clickTab(2);
    r.ui.answer = Answer::No;
    r.chart(2).reads.clear();
    r.slots->mnuClose_Click();

    EXPECT_EQ(r.slots->NumCharts, 3);
    EXPECT_EQ(r.chart(1).reads.back(), r.b);
    // Slot 2 is read from its own file first, so that a later failure could
    // read it back.
    EXPECT_EQ(r.chart(2).reads, (std::vector<std::string>{r.b, r.c}));
    EXPECT_EQ(r.chart(1).data, "data of b.chd");
    EXPECT_EQ(r.chart(2).data, "data of c.chd");
    EXPECT_EQ(r.chart(1).notes, "edited notes b");
    EXPECT_EQ(r.chart(1).title, "b");
    EXPECT_EQ(r.chart(2).notes, "notes c");
    EXPECT_EQ(r.chart(2).title, "retitled c");
    EXPECT_EQ(r.slots->FileNames[1], r.b);
    EXPECT_EQ(r.slots->FileNames[2], r.c);
    EXPECT_TRUE(r.slots->FileNames[3].empty());
    EXPECT_FALSE(r.g.Saved[1]);
    EXPECT_TRUE(r.g.Saved[2]);
    EXPECT_EQ(r.tabs.captions[2], "b");
    EXPECT_EQ(r.tabs.captions[3], "c");
    EXPECT_EQ(r.tabs.captions[4], "(empty)");
    EXPECT_EQ(r.tabs.toolTips[4], "");
    EXPECT_EQ(r.tabs.selected, 1);
    EXPECT_EQ(r.g.CurrentChart, 0);
    // The freed chart is empty and back at its start.
    EXPECT_EQ(r.chart(3).clears, 1);
    EXPECT_EQ(r.chart(3).unzooms, 1);
    EXPECT_EQ(r.chart(3).xEnd, 10);
    EXPECT_EQ(r.view.ChartWindow[3], 10.0);
    EXPECT_FALSE(r.axisControls.bars[3].enabled);
    // The slot was saved: no question.
    EXPECT_TRUE(r.ui.boxes.empty());
    EXPECT_TRUE(r.errors.empty());
}

TEST(ChartSlotsClose, AnUnreadableFileMovesNothing) {
    // Either of the two files that would move down.
    for (const int unreadable : {2, 3}) {
        ThreeOpen r;
        r.disk.unreadable.insert(unreadable == 2 ? r.b : r.c);
        // Mouse zooms on the tab above and on the tab being closed.
        r.tabs.clickTab(3);
        r.axis->Chart_ZoomEnd(2, 2, 6, 0, 1, 0, 100);
        r.tabs.clickTab(2);
        r.axis->Chart_ZoomEnd(1, 1, 3, 0, 1, 0, 100);
        const auto captions = r.tabs.captions;
        const auto toolTips = r.tabs.toolTips;
        const auto names = r.slots->FileNames;
        const auto saved = r.g.Saved;
        r.slots->mnuClose_Click();

        EXPECT_EQ(r.errors, std::vector<int16_t>{-19}) << unreadable;
        EXPECT_EQ(r.slots->NumCharts, 4);
        EXPECT_EQ(r.tabs.captions, captions);
        EXPECT_EQ(r.tabs.toolTips, toolTips);
        EXPECT_EQ(r.slots->FileNames, names);
        EXPECT_EQ(r.g.Saved, saved);
        EXPECT_EQ(r.tabs.selected, 2);
        EXPECT_EQ(r.g.CurrentChart, 1);
        const char* data[] = {"", "data of a.chd", "data of b.chd", "data of c.chd"};
        const char* notes[] = {"", "notes a", "edited notes b", "notes c"};
        const char* titles[] = {"", "a", "b", "retitled c"};
        for (int s = 1; s <= 3; ++s) {
            EXPECT_EQ(r.chart(s).data, data[s]) << unreadable << " slot " << s;
            EXPECT_EQ(r.chart(s).notes, notes[s]) << unreadable << " slot " << s;
            EXPECT_EQ(r.chart(s).title, titles[s]) << unreadable << " slot " << s;
        }
        EXPECT_EQ(r.chart(4).clears, 0);
        // The closed tab's chart was never read: it keeps its zoom.
        EXPECT_EQ(r.chart(1).reads, std::vector<std::string>{r.a}) << unreadable;
        EXPECT_TRUE(r.view.ChartZoomed[1]);
        EXPECT_EQ(r.view.ChartView[1].Window, 2.0f);
        EXPECT_EQ(r.axisControls.text(Entry::txtChartTime), "2.0");
        // The reads dropped the zoom above: that slot shows its window again.
        EXPECT_FALSE(r.view.ChartZoomed[2]);
        EXPECT_EQ(r.view.ChartView[2].XStart, r.chart(2).xStart);
        EXPECT_EQ(r.view.ChartView[2].Window, 10.0f);
    }
}

// One to four files open, each chart with edits of its own that only the
// chart holds: notes, title and axis ranges.
struct FilesOpen : Rig {
    explicit FilesOpen(int n) {
        for (int s = 1; s <= n; ++s) {
            const std::string name = "f" + std::to_string(s);
            paths[static_cast<size_t>(s)] = file(name + ".chd", 10.0f * static_cast<float>(s), "notes " + name);
            open(paths[static_cast<size_t>(s)]);
            chart(s).notes = "edited notes " + name;
            chart(s).title = "retitled " + name;
            chart(s).y1End = static_cast<float>(s);
            chart(s).y2End = 100.0f * static_cast<float>(s);
        }
        if (n >= 2) g.Saved[2] = false;
        ui.answer = Answer::No;
    }

    // What a slot shows: its chart's content and ranges and its view state.
    std::string shows(int s) {
        const FakeSlotChart& c = chart(s);
        const auto i = static_cast<size_t>(s);
        const ChartViewRec& v = view.ChartView[i];
        std::ostringstream o;
        o << c.data << " | " << c.duration << " | " << c.notes << " | " << c.title << " | axes " << c.xStart << ' '
          << c.xEnd << ' ' << c.y1Start << ' ' << c.y1End << ' ' << c.y2Start << ' ' << c.y2End << " | view "
          << v.Y1Start << ' ' << v.Y1End << ' ' << v.Y2Start << ' ' << v.Y2End << ' ' << v.XStart << ' ' << v.Window
          << " | window " << view.ChartWindow[i] << (view.WholeRunAxis[i] ? " whole" : " part")
          << (view.ChartZoomed[i] ? " zoomed" : "");
        return o.str();
    }

    std::array<std::string, 5> paths;
};

TEST(ChartSlotsClose, AFailedCloseLeavesEverySlotAsItWas) {
    struct Case {
        int open;
        int closed;                // slot of the tab being closed
        std::set<int> unreadable;  // slots whose files can no longer be read
        bool closes;
    };
    const Case cases[] = {
        {2, 1, {2}, false},
        {2, 1, {1, 2}, false},
        {2, 1, {1}, true},  // its own file is never read again
        {2, 2, {2}, true},
        {3, 1, {2}, false},
        {3, 1, {3}, false},
        {3, 1, {1, 2}, false},
        {3, 1, {1, 3}, false},
        {3, 2, {3}, false},
        {3, 2, {2, 3}, false},
        {3, 3, {3}, true},
        {4, 1, {4}, false},
        {4, 1, {1, 4}, false},
        {4, 1, {1, 3}, false},
        {4, 2, {3}, false},
        {4, 2, {2, 4}, false},
        {4, 3, {3, 4}, false},
        {4, 1, {1, 2, 3, 4}, false},
        {4, 4, {4}, true},
    };
    for (const Case& k : cases) {
        std::ostringstream label;
        label << k.open << " open, closing " << k.closed << ", unreadable";
        for (const int s : k.unreadable) label << ' ' << s;
        SCOPED_TRACE(label.str());

        FilesOpen r(k.open);
        r.tabs.clickTab(k.closed + 1);
        // A mouse zoom on the tab being closed.
        FakeSlotChart& zoomed = r.chart(k.closed);
        zoomed.xStart = 1;
        zoomed.xEnd = 3;
        zoomed.y1Start = 0;
        zoomed.y1End = 1;
        zoomed.y2Start = 0;
        zoomed.y2End = 100;
        r.axis->Chart_ZoomEnd(static_cast<int16_t>(k.closed), 1, 3, 0, 1, 0, 100);
        for (const int s : k.unreadable) r.disk.unreadable.insert(r.paths[static_cast<size_t>(s)]);

        std::array<std::string, 5> before;
        for (int s = 0; s < 5; ++s) before[static_cast<size_t>(s)] = r.shows(s);
        const auto captions = r.tabs.captions;
        const auto toolTips = r.tabs.toolTips;
        const auto names = r.slots->FileNames;
        const auto saved = r.g.Saved;
        const std::string chartTime = r.axisControls.text(Entry::txtChartTime);
        r.slots->mnuClose_Click();

        if (k.closes) {
            EXPECT_TRUE(r.errors.empty());
            EXPECT_EQ(r.slots->NumCharts, k.open);
            for (int s = k.closed; s < k.open; ++s)
                EXPECT_EQ(r.slots->FileNames[static_cast<size_t>(s)], names[static_cast<size_t>(s) + 1]);
            EXPECT_EQ(r.tabs.selected, 1);
            continue;
        }
        EXPECT_EQ(r.errors, std::vector<int16_t>{-19});
        EXPECT_EQ(r.slots->NumCharts, k.open + 1);
        for (int s = 0; s < 5; ++s) EXPECT_EQ(r.shows(s), before[static_cast<size_t>(s)]) << "slot " << s;
        EXPECT_EQ(r.tabs.captions, captions);
        EXPECT_EQ(r.tabs.toolTips, toolTips);
        EXPECT_EQ(r.slots->FileNames, names);
        EXPECT_EQ(r.g.Saved, saved);
        EXPECT_EQ(r.tabs.selected, k.closed + 1);
        EXPECT_EQ(r.g.CurrentChart, k.closed);
        EXPECT_EQ(r.axisControls.text(Entry::txtChartTime), chartTime);
        // Nothing was freed.
        for (int s = 1; s < 5; ++s) EXPECT_EQ(r.chart(s).clears, 0) << "slot " << s;
    }
}

TEST(ChartSlotsClose, TheLastTabMovesNothing) {
    ThreeOpen r;
    r.tabs.clickTab(4);
    r.slots->mnuClose_Click();
    EXPECT_EQ(r.slots->NumCharts, 3);
    EXPECT_EQ(r.chart(1).reads.size(), 1u);
    EXPECT_EQ(r.chart(2).reads.size(), 1u);
    EXPECT_EQ(r.chart(3).clears, 1);
    EXPECT_EQ(r.tabs.captions[4], "(empty)");
    EXPECT_EQ(r.tabs.captions[3], "b");
    EXPECT_EQ(r.tabs.selected, 1);
    // On the recorder tab Close does nothing.
    r.slots->mnuClose_Click();
    EXPECT_EQ(r.slots->NumCharts, 3);
}

TEST(ChartSlotsClose, AnUnsavedLogFileAsksForANameAndACancelStillCloses) {
    Rig r;
    const std::string log = "/runs/night.CHL";
    r.disk.files[log] = {"log data", 40, "", ""};
    r.dialog.answer = log;
    r.slots->mnuOpenLog_Click();
    r.g.Saved[1] = false;

    r.ui.answer = Answer::Cancel;
    r.slots->mnuClose_Click();
    EXPECT_EQ(r.slots->NumCharts, 2);
    ASSERT_EQ(r.ui.boxes.size(), 1u);
    EXPECT_EQ(r.ui.boxes[0].text, "The Data is NOT saved.  Save the data before closing the Chart ?");
    EXPECT_EQ(r.ui.boxes[0].title, "Data Not Saved!");
    EXPECT_EQ(r.ui.boxes[0].buttons, UiServices::Buttons::YesNoCancel);
    EXPECT_EQ(r.ui.beeps, 1);

    r.ui.answer = Answer::Yes;
    r.dialog.answer = "";
    r.slots->mnuClose_Click();
    ASSERT_EQ(r.dialog.shown.size(), 2u);
    const FileDialog::Settings& d = r.dialog.shown[1];
    EXPECT_EQ(d.DialogTitle, "Save Data File As...");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.Flags, 2054);
    EXPECT_EQ(r.slots->NumCharts, 1);
    EXPECT_EQ(r.tabs.captions[2], "(empty)");
    EXPECT_TRUE(r.errors.empty());
}

TEST(ChartSlotsClose, AFailedSaveKeepsTheTab) {
    Rig r;
    const std::string path = r.file("a.chd");
    r.open(path);
    r.g.Saved[1] = false;
    r.disk.unwritable.insert(path);
    r.ui.answer = Answer::Yes;
    r.slots->mnuClose_Click();
    EXPECT_EQ(r.errors, std::vector<int16_t>{-16});
    EXPECT_EQ(r.slots->NumCharts, 2);
    EXPECT_FALSE(r.g.Saved[1]);
    EXPECT_EQ(r.tabs.captions[2], "a");
    EXPECT_EQ(r.chart(1).data, "data of a.chd");
}

TEST(ChartSlotsClear, UnsavedDataIsClearedOnlyOnceSaved) {
    struct Case {
        Answer answer;
        const char* saveAs;  // "" cancels the dialog
        bool unwritable;
        bool cleared;
    };
    const Case cases[] = {
        {Answer::Cancel, "", false, false},
        {Answer::Yes, "", false, false},
        {Answer::Yes, "/runs/live.chd", true, false},
        {Answer::Yes, "/runs/live.chd", false, true},
        {Answer::No, "", false, true},
    };
    for (const Case& c : cases) {
        Rig r;
        r.chart(0).data = "live run";
        r.chart(0).title = "Chart Recorder";
        r.g.Saved[0] = false;
        r.ui.answer = c.answer;
        r.dialog.answer = c.saveAs;
        if (c.unwritable) r.disk.unwritable.insert(c.saveAs);
        r.slots->mnuClear_Click();

        const std::string what = std::string(c.saveAs) + " answer " + std::to_string(static_cast<int>(c.answer));
        ASSERT_EQ(r.ui.boxes.size(), 1u);
        EXPECT_EQ(r.ui.boxes[0].text, "The Chart Recorder Data is NOT saved.  Save the data before clearing the Chart ?");
        EXPECT_EQ(r.ui.boxes[0].title, "Data Not Saved!");
        EXPECT_EQ(r.chart(0).data, c.cleared ? "" : "live run") << what;
        EXPECT_EQ(r.g.Saved[0], c.cleared) << what;
        EXPECT_TRUE(r.slots->FileNames[0].empty()) << what;
        if (c.cleared) {
            EXPECT_EQ(r.chart(0).title, "Chart Recorder");
            EXPECT_EQ(r.chart(0).unzooms, 1);
            EXPECT_EQ(r.axisControls.text(Entry::txtChartTime), "10");
        }
        if (c.answer == Answer::Yes && *c.saveAs != '\0' && !c.unwritable) {
            EXPECT_EQ(r.disk.files[c.saveAs].data, "live run");
        }
    }
}

TEST(ChartSlotsSave, ALogFileIsNeverOverwrittenAsData) {
    Rig r;
    const std::string log = "/runs/night.chl";
    r.disk.files[log] = {"log data", 40, "", ""};
    r.open(log);
    r.dialog.answer = "";
    r.slots->mnuSaveData_Click();
    ASSERT_EQ(r.dialog.shown.size(), 2u);
    EXPECT_EQ(r.dialog.shown[1].DialogTitle, "Save Data File As...");
    EXPECT_EQ(r.dialog.shown[1].Filter, "Pelomar Data(*.chd)|*.chd|All Files(*.*)|*.*");
    EXPECT_EQ(r.dialog.shown[1].DefaultExt, "chd");
    EXPECT_EQ(r.dialog.shown[1].FileName, "");
    EXPECT_TRUE(r.chart(1).saves.empty());

    // Saved under a data name, the tab follows it.
    r.g.Saved[1] = false;
    r.dialog.answer = "/runs/night copy.v2.chd";
    r.slots->mnuSaveData_Click();
    EXPECT_EQ(r.chart(1).saves, std::vector<std::string>{"/runs/night copy.v2.chd"});
    EXPECT_EQ(r.slots->FileNames[1], "/runs/night copy.v2.chd");
    EXPECT_TRUE(r.g.Saved[1]);
    EXPECT_EQ(r.tabs.captions[2], "night copy");
    EXPECT_EQ(r.tabs.toolTips[2], "night copy.v2.chd");
    EXPECT_EQ(r.chart(1).title, "night copy");

    // Now Save writes to that name without a dialog.
    r.slots->mnuSaveData_Click();
    EXPECT_EQ(r.dialog.shown.size(), 3u);
    EXPECT_EQ(r.chart(1).saves.size(), 2u);
    EXPECT_EQ(r.busy.busy, false);

    // Save As offers the current name.
    r.dialog.answer = "";
    r.slots->mnuSaveDataAs_Click();
    EXPECT_EQ(r.dialog.shown.back().FileName, "/runs/night copy.v2.chd");
}

TEST(ChartSlotsSave, AFailedSaveChangesNothing) {
    Rig r;
    const std::string path = r.file("a.chd");
    r.open(path);
    r.g.Saved[1] = false;
    r.disk.unwritable = {path, "/runs/other.chd"};
    r.slots->mnuSaveData_Click();
    r.dialog.answer = "/runs/other.chd";
    r.slots->mnuSaveDataAs_Click();
    EXPECT_EQ(r.errors, (std::vector<int16_t>{-16, -16}));
    EXPECT_FALSE(r.g.Saved[1]);
    EXPECT_EQ(r.slots->FileNames[1], path);
    EXPECT_EQ(r.tabs.captions[2], "a");
    EXPECT_EQ(r.chart(1).title, "a");
}

TEST(ChartSlotsSave, TheLiveChartKeepsItsTabCaption) {
    Rig r;
    r.g.Saved[0] = false;
    r.dialog.answer = "/runs/today.chd";
    r.slots->mnuSaveData_Click();
    EXPECT_EQ(r.tabs.captions[1], "Chart Recorder");
    EXPECT_EQ(r.slots->FileNames[0], "/runs/today.chd");
    EXPECT_EQ(r.chart(0).title, "today");
    EXPECT_TRUE(r.g.Saved[0]);
}

TEST(ChartSlotsSave, SaveSelectedChangesNoTabTitleOrFlag) {
    Rig r;
    const std::string path = r.file("a.chd");
    r.open(path);
    r.g.Saved[1] = false;
    r.dialog.answer = "/runs/part.chd";
    r.slots->mnuSaveSlectedData_Click();
    const FileDialog::Settings& d = r.dialog.shown.back();
    EXPECT_EQ(d.DialogTitle, "Save Selected Data As...");
    EXPECT_EQ(d.Filter, "Pelomar Data(*.chd)|*.chd|All Files(*.*)|*.*");
    EXPECT_EQ(d.DefaultExt, "chd");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.Flags, 2054);
    EXPECT_EQ(r.chart(1).selectedSaves, std::vector<std::string>{"/runs/part.chd"});
    EXPECT_EQ(r.disk.files["/runs/part.chd"].data, "selected data of a.chd");
    EXPECT_FALSE(r.g.Saved[1]);
    EXPECT_EQ(r.slots->FileNames[1], path);
    EXPECT_EQ(r.tabs.captions[2], "a");
    EXPECT_EQ(r.tabs.toolTips[2], "a.chd");
    EXPECT_EQ(r.chart(1).title, "a");

    r.disk.unwritable.insert("/runs/part.chd");
    r.slots->mnuSaveSlectedData_Click();
    EXPECT_EQ(r.errors, std::vector<int16_t>{-16});
    r.dialog.answer = "";
    r.slots->mnuSaveSlectedData_Click();
    EXPECT_EQ(r.chart(1).selectedSaves.size(), 2u);
}

TEST(ChartSlotsSaveLog, OutcomesAndMenu) {
    struct Case {
        bool backups;
        const char* answer;
        int16_t result;
        bool logSaved;
        int menu;  // mnuSaveLog: -1 untouched, 0 disabled
        std::vector<int16_t> errors;
    };
    const Case cases[] = {
        {false, "/runs/x.chl", 0, true, -1, {-22}},
        {true, "/runs/x.chl", 0, true, 0, {}},
        {true, "", 0, false, -1, {kCancelSelected}},
        {true, "/runs/x.chl", 61, false, -1, {-17}},
    };
    for (const Case& c : cases) {
        Rig r;
        r.g.LogPath = "/data/Log/A1/";
        // The system name is a code-page text; as a file name it is UTF-8.
        r.g.LogName = "S\xE4ule \x80 4";
        r.g.InstanceNumber = 3;
        r.backup.exists = c.backups;
        r.rebuild.result = c.result;
        r.dialog.answer = c.answer;
        r.slots->mnuSaveLog_Click();

        const std::string what = std::string(c.answer) + " backups " + std::to_string(c.backups);
        EXPECT_EQ(r.backup.asked, std::vector<std::string>{"/data/Log/A1/"}) << what;
        EXPECT_EQ(r.g.LogSaved, c.logSaved) << what;
        EXPECT_EQ(r.controls.isEnabled(Item::mnuSaveLog), c.menu) << what;
        EXPECT_EQ(r.errors, c.errors) << what;
        if (c.errors == std::vector<int16_t>{kCancelSelected}) {
            EXPECT_EQ(pelomar::core::errorText(kCancelSelected), "Cancel was selected.");
        }
        if (!c.backups) {
            EXPECT_TRUE(r.dialog.shown.empty());
            continue;
        }
        ASSERT_EQ(r.dialog.shown.size(), 1u);
        const FileDialog::Settings& d = r.dialog.shown[0];
        EXPECT_EQ(d.DialogTitle, "Save Log File As...");
        EXPECT_EQ(d.Filter, "Pelomar Log(*.chl)|*.chl|All Files(*.*)|*.*");
        EXPECT_EQ(d.DefaultExt, "chl");
        EXPECT_EQ(d.FileName, "S\xC3\xA4ule \xE2\x82\xAC 4");
        EXPECT_EQ(d.Flags, 2054);
        if (*c.answer != '\0') {
            ASSERT_EQ(r.rebuild.calls.size(), 1u);
            EXPECT_EQ(r.rebuild.calls[0].LogPath, "/data/Log/A1/");
            EXPECT_EQ(r.rebuild.calls[0].InstanceNumber, 3);
            EXPECT_EQ(r.rebuild.calls[0].FileName, "/runs/x.chl");
        } else {
            EXPECT_TRUE(r.rebuild.calls.empty());
        }
    }
}

}  // namespace
}  // namespace tavrin::test
