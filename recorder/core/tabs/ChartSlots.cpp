#include "core/tabs/ChartSlots.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "common/Guard.h"
#include "common/Utf8.h"
#include "core/ErrorCodes.h"
#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "core/SettingText.h"
#include "common/RuntimeError.h"

namespace tavrin {

using pelomar::core::roundHalfEven;
using Item = MainWindowControls::Item;
using Entry = AxisPanelControls::Entry;

namespace {

constexpr const char* kEmptyTab = "(empty)";
constexpr const char* kDataFilter = "Pelomar Data(*.chd)|*.chd|All Files(*.*)|*.*";
constexpr const char* kLogFilter = "Pelomar Log(*.chl)|*.chl|All Files(*.*)|*.*";
constexpr int32_t kSaveFlags = FileDialog::kOverwritePrompt | FileDialog::kHideReadOnly | FileDialog::kPathMustExist;
constexpr int kFileSlots = ChartSlots::kSlots - 1;
// The bar's Max and steps are whole numbers of the platform's Integer range.
constexpr double kScrollLimit = 32767;

// The items that a file tab enables and the recorder tab enables only while
// the live chart does not record.
constexpr Item kTabItems[] = {Item::mnuSaveData, Item::mnuSaveDataAs, Item::mnuSaveSlectedData,
                              Item::mnuPrint,    Item::mnuPrintSetup, Item::mnuExport,
                              Item::cmdPrint,    Item::cmdSave,       Item::cmdClear};

// A statement that goes on after a run-time error.
template <typename F>
void skip(F&& statement) {
    pelomar::skipRuntimeError(statement);
}

// A Single in the platform's default number-to-text form: its 7-digit
// decimal value without trailing zeros.
std::string singleText(float value, char separator) {
    char digits[32];
    const char* const end =
        std::to_chars(digits, digits + sizeof digits, static_cast<double>(value), std::chars_format::general, 7).ptr;
    double shown = 0;
    std::from_chars(digits, end, shown);
    return doubleToText(shown, separator);
}

bool endsInChl(const std::string& name) {
    const std::string last = name.size() > 3 ? name.substr(name.size() - 3) : name;
    std::string upper;
    for (const char c : last) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == "CHL";
}

int32_t scrollMaxFor(float duration, double window) {
    const double max = roundHalfEven(static_cast<double>(duration) + 0.5 - window);
    return static_cast<int32_t>(std::clamp(max, 0.0, kScrollLimit));
}

}  // namespace

ChartSlots::ChartSlots(const Services& services) : s_(services) {}

int ChartSlots::current() const { return std::clamp<int>(s_.globals.CurrentChart, 0, kSlots - 1); }

std::string ChartSlots::FitTextToWidth(const std::string& text, float width) const {
    if (text.empty() || s_.measure.textWidth(text) <= width) return text;
    const float room = width - s_.measure.textWidth("...");
    // A caption is a file name: it is cut between characters, never inside one.
    const size_t length = pelomar::utf8Length(text);
    std::string s = pelomar::utf8Left(text, 1);
    for (size_t n = length - 1; n >= 1; --n) {
        s = pelomar::utf8Left(text, n);
        if (s_.measure.textWidth(s) <= room) break;
    }
    return s + "...";
}

std::string ChartSlots::StripExtension(const std::string& text) { return text.substr(0, text.find('.')); }

std::string ChartSlots::GetFileTitle(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ChartSlots::setFileCaption(int slot, const std::string& title) {
    s_.tabs.setToolTip(slot + 1, title);
    s_.tabs.setCaption(slot + 1, FitTextToWidth(StripExtension(title), kCaptionWidth));
}

void ChartSlots::ShowOpenFileDialog(bool IsLog) {
    if (NumCharts == kSlots) {
        skip([&] {
            s_.ui.messageBox(std::string("The maximum number of files which can be opened at one time") + " is " +
                                 std::to_string(kFileSlots) +
                                 ".  To open another file you must close a file which is " + "already open first.",
                             "Open Data File Information!", UiServices::Buttons::Ok, UiServices::Icon::Information);
        });
        return;
    }
    FileDialog::Settings settings;
    settings.DialogTitle = IsLog ? "Open Log File..." : "Open Data File...";
    settings.Filter = IsLog ? kLogFilter : kDataFilter;
    settings.DefaultExt = IsLog ? "chl" : "chd";
    settings.FileName = "";
    std::string name;
    skip([&] { name = s_.fileDialog.ShowOpen(settings).FileName; });
    if (!name.empty()) skip([&] { OpenChartFile(name); });
}

void ChartSlots::OpenChartFile(const std::string& FileName) {
    // Every file tab in use: there is no slot to read into.
    if (NumCharts >= kSlots) return;
    BusyCursor::Scope busy(s_.busy);
    const int slot = NumCharts;
    const auto i = static_cast<size_t>(slot);
    NumCharts = static_cast<int16_t>(slot + 1);
    bool ok = false;
    try {
        ok = chart(slot).ReadFromFile(FileName);
    } catch (const pelomar::RuntimeError&) {
        ok = false;
    }
    if (!ok) {
        s_.tabs.setCaption(slot + 1, kEmptyTab);
        NumCharts = static_cast<int16_t>(slot);
        return;
    }
    FileNames[i] = FileName;
    s_.globals.Saved[i] = true;
    s_.view.WholeRunAxis[i] = true;
    s_.view.ChartZoomed[i] = false;
    const SlotChart& c = chart(slot);
    s_.view.ChartView[i] = {c.Y1Start(), c.Y1End(), c.Y2Start(), c.Y2End(), c.XStart(),
                            static_cast<float>(s_.view.ChartWindow[i])};
    skip([&] { s_.axisControls.setScrollMax(slot, scrollMaxFor(c.GetDuration(), s_.view.ChartWindow[i])); });
    const std::string title = GetFileTitle(FileName);
    setFileCaption(slot, title);
    chart(slot).setGraphTitle(StripExtension(title));
    s_.tabs.selectTab(slot + 1);
}

void ChartSlots::TabChart_Click() {
    const int idx = s_.tabs.selectedTab();
    if (idx < 1 || idx > NumCharts) {
        s_.tabs.selectTab(current() + 1);
        return;
    }
    s_.globals.CurrentChart = static_cast<int16_t>(idx - 1);
    const int cur = current();
    const auto i = static_cast<size_t>(cur);
    if (cur != 0) {
        const std::string caption = s_.tabs.caption(idx);
        s_.controls.setEnabled(Item::mnuClear, false);
        s_.tabCommands.setClearButton("Close", "Close " + caption);
        s_.tabCommands.setSaveButtonToolTip("Save " + caption);
        s_.tabCommands.setCloseEnabled(true);
        for (const Item item : kTabItems) s_.controls.setEnabled(item, true);
    } else {
        const bool en = !s_.recording();
        s_.tabCommands.setCloseEnabled(false);
        s_.controls.setEnabled(Item::mnuClear, en);
        for (const Item item : kTabItems) s_.controls.setEnabled(item, en);
        s_.tabCommands.setClearButton("Clear", "Clear Chart Recorder data");
        s_.tabCommands.setSaveButtonToolTip("Save Chart Recorder data");
    }
    s_.tabs.bringToFront(cur);
    chart(cur).Redraw();
    const char sep = s_.globals.DecimalSeparator;
    s_.axisControls.setText(Entry::txtChartTime, s_.view.ChartZoomed[i]
                                                     ? singleText(s_.view.ChartView[i].Window, sep)
                                                     : doubleToText(s_.view.ChartWindow[i], sep));
    s_.axisControls.selectTimeOption(s_.view.WholeRunAxis[i] ? 0 : 1);
    if (s_.axisControls.selectedTimeOption() == 1) EnableChartScroll();
    s_.axis.ShowAxisValues();
}

void ChartSlots::EnableChartScroll() { s_.axis.EnableChartScroll(); }

void ChartSlots::mnuClose_Click() {
    try {
        const int cur = current();
        if (cur == 0 || cur >= NumCharts) return;
        if (!s_.globals.Saved[static_cast<size_t>(cur)]) {
            s_.ui.beep();
            const UiServices::Answer answer = s_.ui.messageBox(
                std::string("The Data is NOT saved.") + "  Save the data before closing the Chart ?",
                "Data Not Saved!", UiServices::Buttons::YesNoCancel, UiServices::Icon::None);
            if (answer == UiServices::Answer::Cancel) return;
            // A save that failed keeps the tab open with its data; a cancelled
            // Save As still closes it, as No does.
            if (answer == UiServices::Answer::Yes && saveData() == SaveOutcome::Failed) return;
        }
        if (!moveSlotsDown(cur)) {
            s_.handelError(code::kTabRereadFailed);
            return;
        }
        freeTopSlot();
        s_.tabs.selectTab(1);
    } catch (const pelomar::RuntimeError& e) {
        s_.handelError(static_cast<int16_t>(e.number()));
    }
}

bool ChartSlots::moveSlotsDown(int closed) {
    const int top = NumCharts - 1;
    if (closed >= top) return true;

    // What travels with a chart rather than with its file, and each touched
    // chart's axis ranges (a read resets them).
    struct Kept {
        std::string notes, title;
        float xStart, xEnd, y1Start, y1End, y2Start, y2End;
    };
    std::array<Kept, kSlots> kept{};
    for (int j = closed; j <= top; ++j) {
        const SlotChart& c = chart(j);
        kept[static_cast<size_t>(j)] = {c.GetNotes(), c.GraphTitle(), c.XStart(), c.XEnd(),
                                        c.Y1Start(),  c.Y1End(),      c.Y2Start(), c.Y2End()};
    }
    const auto read = [&](int j, const std::string& name) {
        try {
            return chart(j).ReadFromFile(name);
        } catch (const pelomar::RuntimeError&) {
            return false;
        }
    };

    // Each chart takes the file of the slot above it. The closed chart's own
    // file may no longer be readable, so that chart is read last, once its
    // new file was read: a failed close never needs it back from disk. The
    // chart above it is read from its own file first, so that every chart
    // the moves overwrite can be read back from a file just read.
    enum class Holds { Untouched, TriedOnly, Own, Other };
    std::array<Holds, kSlots> holds{};
    const auto move = [&](int j, int from) {
        const bool ok = read(j, FileNames[static_cast<size_t>(from)]);
        Holds& h = holds[static_cast<size_t>(j)];
        if (ok)
            h = from == j ? Holds::Own : Holds::Other;
        else if (h == Holds::Untouched)
            h = Holds::TriedOnly;  // the data stays; the read reset the view
        return ok;
    };
    bool ok = move(closed + 1, closed + 1);
    for (int j = closed + 1; ok && j < top; ++j) ok = move(j, j + 1);
    if (ok) ok = move(closed, closed + 1);

    if (!ok) {
        // Put back what the reads replaced; a chart that holds another file
        // is read back from its own, which was read without fault just now.
        for (int j = closed; j <= top; ++j) {
            const auto i = static_cast<size_t>(j);
            const Holds h = holds[i];
            if (h == Holds::Untouched) continue;
            const Kept& k = kept[i];
            SlotChart& c = chart(j);
            if (h == Holds::Other) (void)read(j, FileNames[i]);
            if (h != Holds::TriedOnly) {
                skip([&] { c.UpdateNotes(k.notes); });
                skip([&] { c.setGraphTitle(k.title); });
            }
            skip([&] {
                c.setXStart(k.xStart);
                c.setXEnd(k.xEnd);
                c.setY1Start(k.y1Start);
                c.setY1End(k.y1End);
                c.setY2Start(k.y2Start);
                c.setY2End(k.y2End);
            });
            // A read drops a mouse zoom: the slot shows its window again.
            if (s_.view.ChartZoomed[i]) {
                s_.view.ChartZoomed[i] = false;
                s_.view.ChartView[i] = {k.y1Start, k.y1End, k.y2Start, k.y2End, k.xStart,
                                        static_cast<float>(s_.view.ChartWindow[i])};
            }
        }
        skip([&] { s_.axis.ShowAxisValues(); });
        skip([&] { chart(current()).Redraw(); });
        return false;
    }

    for (int j = closed; j < top; ++j) {
        const auto i = static_cast<size_t>(j);
        const Kept& above = kept[i + 1];
        SlotChart& c = chart(j);
        FileNames[i] = FileNames[i + 1];
        s_.globals.Saved[i] = s_.globals.Saved[i + 1];
        c.UpdateNotes(above.notes);
        c.setGraphTitle(above.title);
        s_.tabs.setCaption(j + 1, s_.tabs.caption(j + 2));
        s_.tabs.setToolTip(j + 1, s_.tabs.toolTip(j + 2));
        // The chart was read afresh: its slot starts over as a newly opened
        // file, keeping the window length of the slot it came from.
        s_.view.ChartWindow[i] = s_.view.ChartWindow[i + 1];
        s_.view.WholeRunAxis[i] = true;
        s_.view.ChartZoomed[i] = false;
        const float window = static_cast<float>(s_.view.ChartWindow[i]);
        s_.view.ChartView[i] = {c.Y1Start(), c.Y1End(), c.Y2Start(), c.Y2End(), c.XStart(), window};
        skip([&] { s_.axisControls.setScrollMax(j, scrollMaxFor(c.GetDuration(), s_.view.ChartWindow[i])); });
        double large = roundHalfEven(window);
        double small = 1;
        if (large >= 1)
            small = std::max(1.0, roundHalfEven(window / 10.0f));
        else
            large = 1;
        skip([&] {
            s_.axisControls.setScrollChanges(j, static_cast<int32_t>(std::min(small, kScrollLimit)),
                                             static_cast<int32_t>(std::min(large, kScrollLimit)));
        });
        skip([&] { s_.axisControls.setScrollValue(j, 0); });
        skip([&] { s_.axisControls.setScrollEnabled(j, false); });
    }
    return true;
}

void ChartSlots::freeTopSlot() {
    s_.tabs.setCaption(NumCharts, kEmptyTab);
    s_.tabs.setToolTip(NumCharts, "");
    NumCharts = static_cast<int16_t>(NumCharts - 1);
    const int f = NumCharts;
    const auto i = static_cast<size_t>(f);
    FileNames[i].clear();
    s_.globals.Saved[i] = true;
    SlotChart& c = chart(f);
    c.Clear();
    c.setXEnd(10);
    s_.view.ChartWindow[i] = 10.0;
    s_.view.WholeRunAxis[i] = true;
    s_.view.ChartZoomed[i] = false;
    s_.axisControls.setScrollValue(f, 0);
    s_.axisControls.setScrollEnabled(f, false);
    c.Unzoom();
}

void ChartSlots::mnuClear_Click() {
    if (current() != 0) return;
    auto& saved = s_.globals.Saved;
    if (!saved[0]) {
        s_.ui.beep();
        const UiServices::Answer answer = s_.ui.messageBox(
            std::string("The Chart Recorder Data is NOT saved.") + "  Save the data before clearing the Chart ?",
            "Data Not Saved!", UiServices::Buttons::YesNoCancel, UiServices::Icon::None);
        if (answer == UiServices::Answer::Cancel) return;
        if (answer == UiServices::Answer::Yes) {
            (void)saveData();
            // Unsaved data is never cleared: a failed or cancelled save keeps it.
            if (!saved[0]) return;
        }
        saved[0] = true;
    }
    SlotChart& c = chart(0);
    c.setGraphTitle("Chart Recorder");
    c.Clear();
    c.Unzoom();
    s_.axisControls.setText(Entry::txtChartTime, "10");
    FileNames[0].clear();
}

ChartSlots::SaveOutcome ChartSlots::saveData() {
    const int cur = current();
    const std::string name = FileNames[static_cast<size_t>(cur)];
    // A log file is never overwritten as data.
    if (name.empty() || endsInChl(name)) return saveDataAs();
    bool ok = false;
    {
        BusyCursor::Scope busy(s_.busy);
        try {
            ok = chart(cur).SaveToFile(name);
        } catch (const pelomar::RuntimeError&) {
            ok = false;
        }
    }
    if (!ok) {
        s_.handelError(code::kDataSaveFailed);
        return SaveOutcome::Failed;
    }
    s_.globals.Saved[static_cast<size_t>(cur)] = true;
    return SaveOutcome::Saved;
}

ChartSlots::SaveOutcome ChartSlots::saveDataAs() {
    const int cur = current();
    const auto i = static_cast<size_t>(cur);
    FileDialog::Settings settings;
    settings.DialogTitle = "Save Data File As...";
    settings.Filter = kDataFilter;
    settings.DefaultExt = "chd";
    settings.FileName = endsInChl(FileNames[i]) ? "" : FileNames[i];
    settings.Flags = kSaveFlags;
    const FileDialog::Result result = s_.fileDialog.ShowSave(settings);
    const std::string& path = result.FileName;
    const std::string& title = result.FileTitle;
    const std::string base = StripExtension(title);
    if (path.empty()) return SaveOutcome::Cancelled;
    bool ok = false;
    try {
        ok = chart(cur).SaveToFile(path);
    } catch (const pelomar::RuntimeError&) {
        ok = false;
    }
    if (!ok) {
        s_.handelError(code::kDataSaveFailed);
        return SaveOutcome::Failed;
    }
    if (cur != 0) setFileCaption(cur, title);
    s_.globals.Saved[i] = true;
    FileNames[i] = path;
    chart(cur).setGraphTitle(base);
    return SaveOutcome::Saved;
}

void ChartSlots::mnuSaveSlectedData_Click() {
    const int cur = current();
    FileDialog::Settings settings;
    settings.DialogTitle = "Save Selected Data As...";
    settings.Filter = kDataFilter;
    settings.DefaultExt = "chd";
    settings.FileName = "";
    settings.Flags = kSaveFlags;
    const std::string name = s_.fileDialog.ShowSave(settings).FileName;
    if (name.empty()) return;
    bool ok = false;
    try {
        ok = chart(cur).SaveSelectedToFile(name);
    } catch (const pelomar::RuntimeError&) {
        ok = false;
    }
    if (!ok) s_.handelError(code::kDataSaveFailed);
}

void ChartSlots::mnuSaveLog_Click() {
    modGlobas& g = s_.globals;
    g.LogSaved = true;
    try {
        if (!s_.backupChart.IsLogFileExist2(g.LogPath)) {
            // Nothing is left to save.
            s_.handelError(code::kNoBackupLog);
            return;
        }
        FileDialog::Settings settings;
        settings.DialogTitle = "Save Log File As...";
        settings.Filter = kLogFilter;
        settings.DefaultExt = "chl";
        settings.FileName = pelomar::codePageToUtf8(g.LogName);  // the system name as a file name
        settings.Flags = kSaveFlags;
        const std::string name = s_.fileDialog.ShowSave(settings).FileName;
        // This dialog reports a cancel as an error.
        if (name.empty()) throw pelomar::RuntimeError(pelomar::core::err::kCancelSelected);
        if (s_.rebuildChart.SaveLog2(g.LogPath, g.InstanceNumber, name) == 0) {
            s_.controls.setEnabled(Item::mnuSaveLog, false);
        } else {
            s_.handelError(code::kLogRebuildFailed);
            g.LogSaved = false;
        }
    } catch (const pelomar::RuntimeError& e) {
        s_.handelError(static_cast<int16_t>(e.number()));
        g.LogSaved = false;
    }
}

}  // namespace tavrin
