#include <QtTest>

#include "ui/FrameScaleAxis.h"
#include "core/axis/AxisPanel.h"
#include "core/modGlobas.h"
#include "fakes/FakeAxisChart.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "ui/QtAxisControls.h"

using namespace tavrin;
using namespace tavrin::test;
using Entry = AxisPanelControls::Entry;
using Control = AxisPanelControls::Control;

namespace {

// The axis frame, the five bars and charts, and a panel over fake charts,
// bound to the adapter the way the window binds them.
struct Rig {
    QWidget window;
    FrameScaleAxis* frame = new FrameScaleAxis(&window);
    std::array<SlotScrollBar*, 5> bars{};
    std::array<QWidget*, 5> chartWidgets{};
    std::array<FakeAxisChart, 5> charts{};
    AxisViewState view;
    modGlobas globals;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    FakeSerialPort port;
    ErrorReporter reporter{ui, errorLog, clock, globals, port, {}};
    int errors = 0;
    std::unique_ptr<QtAxisControls> controls;
    std::unique_ptr<AxisPanel> panel;

    Rig() {
        std::array<AxisChart*, 5> axisCharts{};
        for (size_t i = 0; i < 5; ++i) {
            bars[i] = new SlotScrollBar(&window);
            chartWidgets[i] = new QWidget(&window);
            chartWidgets[i]->setFocusPolicy(Qt::StrongFocus);
            axisCharts[i] = &charts[i];
        }
        controls = std::make_unique<QtAxisControls>(*frame, bars, chartWidgets);
        panel = std::make_unique<AxisPanel>(AxisPanel::Services{
            *controls, axisCharts, view, globals, ui, [] { return false; }, [this](int16_t) { ++errors; }});
        controls->bind(*panel, reporter);
        panel->FillYAxisLists();
        for (int s = 0; s < 5; ++s) panel->InitSlot(s);
        window.show();
    }
    ~Rig() { controls->disconnect(); }
};

}  // namespace

// Every item of the axis panel's controls reaches its widget, reads back
// from it, and a change made through it runs the panel's handler as the
// fake's does.
class QtAxisControlsTest : public QObject {
    Q_OBJECT

private slots:
    void entriesCarryTheirTextsAndRunTheirChangeHandlers() {
        Rig rig;
        QtAxisControls& c = *rig.controls;
        const struct {
            Entry entry;
            QLineEdit* widget;
        } rows[] = {
            {Entry::cmbYAxis0, rig.frame->cmbYAxis[0]->lineEdit()},
            {Entry::cmbYAxis1, rig.frame->cmbYAxis[1]->lineEdit()},
            {Entry::txtYAxisMin0, rig.frame->txtYAxisMin[0]},
            {Entry::txtYAxisMin1, rig.frame->txtYAxisMin[1]},
            {Entry::txtChartTime, rig.frame->txtChartTime},
        };
        c.setEnabled(Control::txtChartTime, true);
        for (const auto& row : rows) {
            // A code-page character survives the way there and back.
            c.setText(row.entry, "7.5\xB5");
            QCOMPARE(row.widget->text(), QStringLiteral("7.5\u00B5"));
            QCOMPARE(c.text(row.entry), std::string("7.5\xB5"));
            row.widget->setCursorPosition(2);
            row.widget->deselect();
            const EntryState caret = c.entryState(row.entry);
            QCOMPARE(caret.Text, std::string("7.5\xB5"));
            QCOMPARE(caret.SelStart, 2);
            QCOMPARE(caret.SelText, std::string());
            c.selectAll(row.entry);
            const EntryState all = c.entryState(row.entry);
            QCOMPARE(all.SelStart, 0);
            QCOMPARE(all.SelText, std::string("7.5\xB5"));
            c.setFocus(row.entry);
            // A combo box takes the focus for its entry.
            QWidget* focused = rig.window.focusWidget();
            QVERIFY(focused == row.widget || focused == row.widget->parentWidget());
        }
        // The change handlers: an entry that differs from the slot's value
        // offers its Set button.
        c.setText(Entry::txtChartTime, "10.0");
        QVERIFY(!rig.frame->cmdSetTime->isEnabled());
        c.setText(Entry::txtChartTime, "5.0");
        QVERIFY(rig.frame->cmdSetTime->isEnabled());
        c.setText(Entry::txtYAxisMin1, "1.00");
        QVERIFY(rig.frame->cmdSet[1]->isEnabled());
        QCOMPARE(rig.errors, 0);
    }

    void buttonsAndTheTimeEntryAreEnabledOneByOne() {
        Rig rig;
        const struct {
            Control control;
            QWidget* widget;
        } rows[] = {
            {Control::cmdSet0, rig.frame->cmdSet[0]},
            {Control::cmdSet1, rig.frame->cmdSet[1]},
            {Control::cmdSetTime, rig.frame->cmdSetTime},
            {Control::txtChartTime, rig.frame->txtChartTime},
        };
        for (const auto& row : rows) {
            rig.controls->setEnabled(row.control, true);
            QVERIFY(row.widget->isEnabled());
            rig.controls->setEnabled(row.control, false);
            QVERIFY(!row.widget->isEnabled());
        }
    }

    void listsFillAndAPickRunsTheClickHandler() {
        Rig rig;
        QtAxisControls& c = *rig.controls;
        for (int list = 0; list < 2; ++list) {
            QComboBox* combo = rig.frame->cmbYAxis[static_cast<size_t>(list)];
            c.clearList(list);
            QCOMPARE(combo->count(), 0);
            c.addListItem(list, "1.0");
            c.addListItem(list, "2.0");
            QCOMPARE(combo->count(), 2);
            QCOMPARE(combo->itemText(1), QStringLiteral("2.0"));
        }
        // The pick shows in the entry and sets the axis minimum of its list.
        c.setText(Entry::txtYAxisMin0, "9");
        c.selectListItem(0, 1);
        // The Set handler it runs writes both back in the panel's format.
        QCOMPARE(c.text(Entry::cmbYAxis0), std::string("2.000"));
        QCOMPARE(c.text(Entry::txtYAxisMin0), std::string("-0.200"));
        c.setText(Entry::txtYAxisMin1, "9");
        c.selectListItem(1, 0);
        QCOMPARE(c.text(Entry::cmbYAxis1), std::string("1.0"));
        QCOMPARE(c.text(Entry::txtYAxisMin1), std::string("0.0"));
        // Picking the current item again still runs the handler.
        c.setText(Entry::txtYAxisMin1, "9");
        c.selectListItem(1, 0);
        QCOMPARE(c.text(Entry::txtYAxisMin1), std::string("0.0"));
    }

    void timeOptionsAndBarsFollowThePanel() {
        Rig rig;
        QtAxisControls& c = *rig.controls;
        QCOMPARE(c.selectedTimeOption(), 0);
        c.setEnabled(Control::txtChartTime, false);
        c.selectTimeOption(1);
        QVERIFY(rig.frame->optTimeAxis[1]->isChecked());
        QCOMPARE(c.selectedTimeOption(), 1);
        // The "Window:" handler opened the time entry.
        QVERIFY(rig.frame->txtChartTime->isEnabled());

        for (int slot = 0; slot < 5; ++slot) {
            SlotScrollBar& bar = *rig.bars[static_cast<size_t>(slot)];
            c.setScrollMax(slot, 40);
            QCOMPARE(c.scrollMax(slot), 40);
            QCOMPARE(bar.Max(), 40);
            c.setScrollChanges(slot, 2, 8);
            QCOMPARE(bar.singleStep(), 2);
            QCOMPARE(bar.pageStep(), 8);
            c.setScrollEnabled(slot, false);
            QVERIFY(!bar.isEnabled());
            c.setScrollEnabled(slot, true);
            QVERIFY(bar.isEnabled());
            QVERIFY(bar.isVisible());
            QVERIFY(!c.setScrollValue(slot, 41));
            QVERIFY(c.setScrollValue(slot, 30));
            QCOMPARE(c.scrollValue(slot), 30);
            QCOMPARE(bar.value(), 30);
            c.focusChart(slot);
            QCOMPARE(rig.window.focusWidget(), rig.chartWidgets[static_cast<size_t>(slot)]);
        }
        // A bar's new value moves the selected slot's window there.
        rig.globals.CurrentChart = 2;
        QVERIFY(c.setScrollValue(2, 12));
        QCOMPARE(rig.charts[2].XStart(), 12.0f);
        QCOMPARE(rig.charts[2].XEnd(), 12.0f + rig.view.ChartView[2].Window);
        // A Max below 0 keeps the value within the bar.
        c.setScrollMax(3, -5);
        QVERIFY(c.setScrollValue(3, -5));
        QCOMPARE(c.scrollValue(3), -5);

        c.selectTimeOption(0);
        QCOMPARE(c.selectedTimeOption(), 0);
        QVERIFY(rig.frame->optTimeAxis[0]->isChecked());
        QCOMPARE(rig.errors, 0);
    }
};

QTEST_MAIN(QtAxisControlsTest)
#include "QtAxisControlsTest.moc"
