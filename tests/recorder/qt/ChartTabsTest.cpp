#include <QFile>
#include <QFontMetricsF>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "../../chart_control/support/RecordingUiServices.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeUi.h"
#include "ModalWindows.h"
#include "frmMain.h"
#include "ui/PelomarHost.h"
#include "qt/AppFakes.h"
#include "ui/QtChartTabs.h"

using namespace tavrin::test;
using pelomar::test::RecordingUiServices;

namespace {

// The main window over fakes, with the file dialog and the charts' own
// message boxes answered by the test.
struct Window {
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    FakeFileDialog files;
    FakeBusyCursor busy;
    RecordingUiServices chartUi;
    AppFakes fakes;
    std::unique_ptr<TavrinApplication> app;

    Window() {
        TavrinApplication::Services services{fakes.port, ui,          errorLog,  clock,      fakes.settings,
                                             fakes.probe, fakes.help, fakes.files, files,     fakes.printer,
                                             busy,        fakes.about};
        services.programFolder = fakes.programFolder();
        app = std::make_unique<TavrinApplication>(services);
        for (pelomar::Pelomar* chart : w().Chart) chart->setUiServices(&chartUi);
    }
    frmMain& w() { return app->window(); }

    void open(const QString& path) {
        files.answer = path.toStdString();
        w().menuItem(QStringLiteral("mnuOpenData"))->trigger();
    }
    QString tab(int index) const { return app->window().TabChart->tabText(index); }
};

// A data file of `points` points with the given notes.
void writeDataFile(const QString& path, int points, const std::string& notes) {
    pelomar::Pelomar chart;
    RecordingUiServices ui;
    chart.setUiServices(&ui);
    for (int i = 0; i < points; ++i) chart.AddPoints(static_cast<float>(i) / 100, 1);
    chart.UpdateNotes(notes);
    QVERIFY(chart.SaveToFile(path.toStdString()));
}

}  // namespace

class ChartTabsTest : public QObject {
    Q_OBJECT

private slots:
    // --- the adapters ---

    void tabStripCaptionsSelectionAndPages() {
        QWidget page;
        QTabBar bar(&page);
        bar.addTab(QStringLiteral("Chart Recorder"));
        for (int k = 1; k < 5; ++k) bar.addTab(QStringLiteral("(empty)"));
        std::array<QWidget*, 5> charts{};
        std::array<tavrin::SlotScrollBar*, 5> bars{};
        for (size_t i = 0; i < 5; ++i) {
            charts[i] = new QWidget(&page);
            bars[i] = new tavrin::SlotScrollBar(&page);
        }
        page.show();
        tavrin::QtChartTabs tabs(bar, charts, bars);
        int clicks = 0;
        tabs.bind([&] { ++clicks; });

        // Captions and tips are file names: UTF-8 as the file system holds
        // them, and bytes that are not UTF-8 come back as they went in.
        const struct {
            std::string name;
            QString shown;
        } names[] = {{"caf\xC3\xA9", QStringLiteral("caf\u00E9")},
                     {"\xCE\x94-run", QStringLiteral("\u0394-run")},
                     {"\xE8\xA9\xA6\xE6\x96\x99", QStringLiteral("\u8A66\u6599")},
                     {"M\xFCller", QStringLiteral("M\uFFFDller")}};
        for (const auto& n : names) {
            tabs.setCaption(2, n.name);
            QCOMPARE(bar.tabText(1), n.shown);
            QCOMPARE(tabs.caption(2), n.name);
            tabs.setToolTip(2, n.name + ".chd");
            QCOMPARE(bar.tabToolTip(1), n.shown + QStringLiteral(".chd"));
            QCOMPARE(tabs.toolTip(2), n.name + ".chd");
        }
        QCOMPARE(tabs.caption(1), std::string("Chart Recorder"));

        QCOMPARE(tabs.selectedTab(), 1);
        tabs.selectTab(3);
        QCOMPARE(bar.currentIndex(), 2);
        QCOMPARE(tabs.selectedTab(), 3);
        QCOMPARE(clicks, 1);
        tabs.selectTab(3);
        QCOMPARE(clicks, 1);
        QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(0).center());
        QCOMPARE(tabs.selectedTab(), 1);
        QCOMPARE(clicks, 2);

        // The run control hid the live bar: it stays hidden across a switch.
        bars[0]->hide();
        tabs.bringToFront(2);
        for (size_t i = 0; i < 5; ++i) {
            QCOMPARE(charts[i]->isVisible(), i == 2);
            QCOMPARE(bars[i]->isVisible(), i == 2);
        }
        tabs.bringToFront(0);
        QVERIFY(charts[0]->isVisible());
        QVERIFY(!charts[2]->isVisible());
        QVERIFY(!bars[0]->isVisible());
        QVERIFY(!bars[2]->isVisible());
        bars[0]->show();
        tabs.bringToFront(1);
        QVERIFY(!bars[0]->isVisible());
        tabs.bringToFront(0);
        QVERIFY(bars[0]->isVisible());
        QVERIFY(charts[0]->isVisible());
    }

    void tabCommandItems() {
        QAction close(QStringLiteral("&Close"));
        QAction clear(QStringLiteral("Clear"));
        QAction save(QStringLiteral("Save"));
        tavrin::QtTabCommandControls items(close, clear, save);
        items.setCloseEnabled(false);
        QVERIFY(!close.isEnabled());
        items.setCloseEnabled(true);
        QVERIFY(close.isEnabled());
        items.setClearButton("Close", "Close \xCE\x94-run caf\xC3\xA9");
        QCOMPARE(clear.text(), QStringLiteral("Close"));
        QCOMPARE(clear.toolTip(), QStringLiteral("Close \u0394-run caf\u00E9"));
        items.setSaveButtonToolTip("Save \xE8\xA9\xA6\xE6\x96\x99");
        QCOMPARE(save.toolTip(), QStringLiteral("Save \u8A66\u6599"));
        QCOMPARE(save.text(), QStringLiteral("Save"));
    }

    void captionWidthInTwipsOfTheWindowFont() {
        QWidget window;
        window.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        const tavrin::QtCaptionMeasure measure(window);
        const QFontMetricsF metrics(window.font());
        QCOMPARE(measure.textWidth("Chart Recorder"),
                 static_cast<float>(metrics.horizontalAdvance(QStringLiteral("Chart Recorder")) * 15));
        QCOMPARE(measure.textWidth("\xC3\xA9\xCE\x94"),
                 static_cast<float>(metrics.horizontalAdvance(QStringLiteral("\u00E9\u0394")) * 15));
        QCOMPARE(measure.textWidth(""), 0.0f);
        const float small = measure.textWidth("WWW");
        window.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        QVERIFY(measure.textWidth("WWW") > small);
    }

    void slotChartOverTheControl() {
        QTemporaryDir dir;
        const std::string file = dir.filePath(QStringLiteral("a.chd")).toStdString();
        const std::string part = dir.filePath(QStringLiteral("part.chd")).toStdString();
        pelomar::Pelomar a;
        pelomar::Pelomar b;
        RecordingUiServices ui;
        a.setUiServices(&ui);
        b.setUiServices(&ui);
        for (int i = 0; i < 120; ++i) a.AddPoints(0.1f, 2);
        tavrin::PelomarHost sa(a);
        tavrin::PelomarHost sb(b);

        sa.setGraphTitle("run a");
        QCOMPARE(sa.GraphTitle(), std::string("run a"));
        sa.UpdateNotes("notes a");
        QCOMPARE(sa.GetNotes(), std::string("notes a"));
        sa.setXStart(1);
        sa.setXEnd(3);
        sa.setY1Start(-0.5f);
        sa.setY1End(1);
        sa.setY2Start(10);
        sa.setY2End(100);
        QCOMPARE(sa.XStart(), 1.0f);
        QCOMPARE(sa.XEnd(), 3.0f);
        QCOMPARE(sa.Y1Start(), -0.5f);
        QCOMPARE(sa.Y1End(), 1.0f);
        QCOMPARE(sa.Y2Start(), 10.0f);
        QCOMPARE(sa.Y2End(), 100.0f);
        QCOMPARE(sa.GetDuration(), a.GetDuration());
        QVERIFY(sa.GetDuration() > 0);
        sa.Redraw();

        QVERIFY(sa.SaveToFile(file));
        QVERIFY(sb.ReadFromFile(file));
        QCOMPARE(b.NumPoints(), 120);
        QCOMPARE(sb.GetNotes(), std::string("notes a"));
        QVERIFY(sa.SaveSelectedToFile(part));
        QVERIFY(QFile::exists(QString::fromStdString(part)));

        // A failed read keeps the data.
        QVERIFY(!sb.ReadFromFile(dir.filePath(QStringLiteral("missing.chd")).toStdString()));
        QCOMPARE(b.NumPoints(), 120);
        QVERIFY(!sa.SaveToFile(dir.filePath(QStringLiteral("no/such/folder.chd")).toStdString()));

        QSignalSpy unzoomed(&b, &pelomar::Pelomar::UnZoomEnd);
        sb.Unzoom();
        QCOMPARE(unzoomed.count(), 1);
        sb.Clear();
        QCOMPARE(b.NumPoints(), 0);
    }

    void rebuildChartWritesALogFileFromBackups() {
        QTemporaryDir dir;
        const std::string logPath = dir.filePath(QStringLiteral("A1")).toStdString() + "/";
        QVERIFY(QDir().mkpath(QString::fromStdString(logPath)));
        pelomar::Pelomar backup;
        pelomar::Pelomar rebuild;
        RecordingUiServices ui;
        backup.setUiServices(&ui);
        rebuild.setUiServices(&ui);
        tavrin::PelomarHost chart(rebuild);
        const std::string out = dir.filePath(QStringLiteral("run.chl")).toStdString();
        QVERIFY(chart.SaveLog2(logPath, 1, out) != 0);

        for (int i = 0; i < 50; ++i) backup.AddPoints(0.2f, 3);
        QCOMPARE(backup.BackUpLog2(logPath, 1, 20000, 24), int16_t(0));
        QCOMPARE(chart.SaveLog2(logPath, 1, out), int16_t(0));
        QVERIFY(QFileInfo(QString::fromStdString(out)).size() > 0);
    }

    // --- the window ---

    void fourFilesOpenThenOpenShowsTheLimitBox() {
        QTemporaryDir dir;
        Window win;
        frmMain& w = win.w();
        w.show();
        for (const char* name : {"a.chd", "b.chd", "c.chd", "d.chd"}) {
            writeDataFile(dir.filePath(QString::fromLatin1(name)), 10, "");
            win.open(dir.filePath(QString::fromLatin1(name)));
        }
        QCOMPARE(win.tab(4), QStringLiteral("d"));
        QCOMPARE(w.TabChart->currentIndex(), 4);
        QVERIFY(w.Chart[4]->isVisible());
        QVERIFY(!w.Chart[0]->isVisible());

        w.toolButton(QStringLiteral("cmdOpen"))->trigger();
        QCOMPARE(win.files.shown.size(), size_t(4));
        QCOMPARE(win.ui.boxes.size(), size_t(1));
        QCOMPARE(win.ui.boxes[0].title, std::string("Open Data File Information!"));
        QCOMPARE(win.ui.boxes[0].text,
                 std::string("The maximum number of files which can be opened at one time is 4.  To open another "
                             "file you must close a file which is already open first."));
    }

    void aFileTabShowsItsChartAndTakesTheCloseButton() {
        QTemporaryDir dir;
        Window win;
        frmMain& w = win.w();
        w.show();
        const QString path = dir.filePath(QStringLiteral("evening run.v2.chd"));
        writeDataFile(path, 300, "");
        win.open(path);
        QCOMPARE(win.tab(1), QStringLiteral("evening run"));
        QCOMPARE(w.TabChart->tabToolTip(1), QStringLiteral("evening run.v2.chd"));
        QCOMPARE(w.Chart[1]->NumPoints(), 300);
        QCOMPARE(w.Chart[1]->GraphTitle(), std::string("evening run"));
        QVERIFY(w.Chart[1]->isVisible());
        QVERIFY(w.ScrollChart[1]->isVisible());
        QVERIFY(!w.ScrollChart[0]->isVisible());
        QVERIFY(w.menuItem(QStringLiteral("mnuClose"))->isEnabled());
        QCOMPARE(w.toolButton(QStringLiteral("cmdClear"))->text(), QStringLiteral("Close"));
        QCOMPARE(w.toolButton(QStringLiteral("cmdClear"))->toolTip(), QStringLiteral("Close evening run"));

        // A file tab can be saved and printed even while the live chart
        // records; the recorder tab cannot.
        w.mnuStart_Click();
        w.TabChart->setCurrentIndex(0);
        for (const char* item : {"mnuSaveData", "mnuSaveDataAs", "mnuSaveSlectedData", "mnuPrint", "mnuExport",
                                 "mnuClear"})
            QVERIFY2(!w.menuItem(QString::fromLatin1(item))->isEnabled(), item);
        QVERIFY(!w.toolButton(QStringLiteral("cmdSave"))->isEnabled());
        QCOMPARE(w.toolButton(QStringLiteral("cmdSave"))->toolTip(), QStringLiteral("Save Chart Recorder data"));
        w.TabChart->setCurrentIndex(1);
        for (const char* item : {"mnuSaveData", "mnuSaveDataAs", "mnuSaveSlectedData", "mnuPrint", "mnuExport"})
            QVERIFY2(w.menuItem(QString::fromLatin1(item))->isEnabled(), item);
        QVERIFY(!w.menuItem(QStringLiteral("mnuClear"))->isEnabled());
        QVERIFY(w.toolButton(QStringLiteral("cmdSave"))->isEnabled());
        QCOMPARE(w.toolButton(QStringLiteral("cmdSave"))->toolTip(), QStringLiteral("Save evening run"));
        w.mnuStop_Click();

        // The toolbar's Close closes the file tab.
        w.toolButton(QStringLiteral("cmdClear"))->trigger();
        QCOMPARE(win.tab(1), QStringLiteral("(empty)"));
        QCOMPARE(w.TabChart->currentIndex(), 0);
        QVERIFY(w.Chart[0]->isVisible());
        QVERIFY(!w.Chart[1]->isVisible());
        QCOMPARE(w.Chart[1]->NumPoints(), 0);
        QVERIFY(!w.menuItem(QStringLiteral("mnuClose"))->isEnabled());
        QCOMPARE(w.toolButton(QStringLiteral("cmdClear"))->text(), QStringLiteral("Clear"));
    }

    void anEmptyTabClickKeepsThePreviousTab() {
        QTemporaryDir dir;
        Window win;
        frmMain& w = win.w();
        keepSystemName();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The first activation's system-name window has come and gone.
        QTRY_VERIFY(win.app->startup().activated() && QApplication::activeModalWidget() == nullptr);
        writeDataFile(dir.filePath(QStringLiteral("a.chd")), 10, "");
        win.open(dir.filePath(QStringLiteral("a.chd")));
        QCOMPARE(w.TabChart->currentIndex(), 1);

        QTest::mouseClick(w.TabChart, Qt::LeftButton, {}, w.TabChart->tabRect(3).center());
        QCOMPARE(w.TabChart->currentIndex(), 1);
        QCOMPARE(w.recorder().globals.CurrentChart, int16_t(1));
        QVERIFY(w.Chart[1]->isVisible());

        QTest::mouseClick(w.TabChart, Qt::LeftButton, {}, w.TabChart->tabRect(0).center());
        QCOMPARE(w.TabChart->currentIndex(), 0);
        QCOMPARE(w.recorder().globals.CurrentChart, int16_t(0));
        QVERIFY(w.Chart[0]->isVisible());
    }

    void closingTheSecondOfThreeReReadsTheOthers_data() {
        QTest::addColumn<QStringList>("unreadable");
        QTest::newRow("all readable") << QStringList();
        QTest::newRow("third file gone") << QStringList{QStringLiteral("c.chd")};
        QTest::newRow("second file gone") << QStringList{QStringLiteral("b.chd")};
        QTest::newRow("closed and third file gone") << QStringList{QStringLiteral("a.chd"), QStringLiteral("c.chd")};
    }
    void closingTheSecondOfThreeReReadsTheOthers() {
        QFETCH(QStringList, unreadable);
        QTemporaryDir dir;
        Window win;
        frmMain& w = win.w();
        w.show();
        const int points[] = {10, 20, 30};
        const char* names[] = {"a.chd", "b.chd", "c.chd"};
        for (int i = 0; i < 3; ++i) {
            writeDataFile(dir.filePath(QString::fromLatin1(names[i])), points[i], std::string("notes ") + names[i]);
            win.open(dir.filePath(QString::fromLatin1(names[i])));
        }
        // Notes edited in the window travel with the chart.
        w.Chart[2]->UpdateNotes("edited b");
        w.Chart[3]->setGraphTitle("retitled c");
        w.TabChart->setCurrentIndex(1);
        QVERIFY(w.Chart[1]->isVisible());
        // Ranges that only the charts hold.
        for (int s = 1; s <= 3; ++s) w.Chart[s]->setY1End(static_cast<float>(s));
        w.Chart[1]->setXStart(0.02f);
        w.Chart[1]->setXEnd(0.05f);
        for (const QString& name : unreadable) QVERIFY(QFile::remove(dir.filePath(name)));
        win.chartUi.boxes.clear();

        w.menuItem(QStringLiteral("mnuClose"))->trigger();

        if (unreadable.isEmpty()) {
            QCOMPARE(win.tab(1), QStringLiteral("b"));
            QCOMPARE(win.tab(2), QStringLiteral("c"));
            QCOMPARE(win.tab(3), QStringLiteral("(empty)"));
            QCOMPARE(w.TabChart->tabToolTip(3), QString());
            QCOMPARE(w.Chart[1]->NumPoints(), 20);
            QCOMPARE(w.Chart[2]->NumPoints(), 30);
            QCOMPARE(w.Chart[3]->NumPoints(), 0);
            QCOMPARE(w.Chart[1]->GetNotes(), std::string("edited b"));
            QCOMPARE(w.Chart[2]->GetNotes(), std::string("notes c.chd"));
            QCOMPARE(w.Chart[1]->GraphTitle(), std::string("b"));
            QCOMPARE(w.Chart[2]->GraphTitle(), std::string("retitled c"));
            QCOMPARE(w.TabChart->currentIndex(), 0);
            QVERIFY(w.Chart[0]->isVisible());
            QVERIFY(win.ui.boxes.empty());
            QCOMPARE(app(win).NumCharts, int16_t(3));
            return;
        }
        QCOMPARE(win.ui.boxes.size(), size_t(1));
        QCOMPARE(win.ui.boxes[0].text, std::string("Disk reading error while closing"));
        QCOMPARE(win.ui.boxes[0].title, std::string("FILE CLOSE ERROR!"));
        QCOMPARE(win.tab(1), QStringLiteral("a"));
        QCOMPARE(win.tab(2), QStringLiteral("b"));
        QCOMPARE(win.tab(3), QStringLiteral("c"));
        QCOMPARE(w.TabChart->currentIndex(), 1);
        QCOMPARE(w.Chart[1]->NumPoints(), 10);
        QCOMPARE(w.Chart[2]->NumPoints(), 20);
        QCOMPARE(w.Chart[3]->NumPoints(), 30);
        QCOMPARE(w.Chart[1]->GetNotes(), std::string("notes a.chd"));
        QCOMPARE(w.Chart[2]->GetNotes(), std::string("edited b"));
        QCOMPARE(w.Chart[3]->GraphTitle(), std::string("retitled c"));
        for (int s = 1; s <= 3; ++s) QCOMPARE(w.Chart[s]->Y1End(), static_cast<float>(s));
        QCOMPARE(w.Chart[1]->XStart(), 0.02f);
        QCOMPARE(w.Chart[1]->XEnd(), 0.05f);
        // The one file that could not be read, reported by the chart.
        QCOMPARE(win.chartUi.boxes.size(), size_t(1));
        QVERIFY(w.Chart[1]->isVisible());
        QCOMPARE(app(win).NumCharts, int16_t(4));
    }

    void saveSelectedChangesNoTabTitleOrFlag() {
        QTemporaryDir dir;
        Window win;
        frmMain& w = win.w();
        const QString path = dir.filePath(QStringLiteral("a.chd"));
        writeDataFile(path, 200, "");
        win.open(path);
        w.recorder().globals.Saved[1] = false;
        const QString part = dir.filePath(QStringLiteral("part.chd"));
        win.files.answer = part.toStdString();
        w.menuItem(QStringLiteral("mnuSaveSlectedData"))->trigger();

        QCOMPARE(win.files.shown.back().DialogTitle, std::string("Save Selected Data As..."));
        QCOMPARE(win.files.shown.back().Flags, 2054);
        QVERIFY(QFileInfo(part).size() > 0);
        QCOMPARE(win.tab(1), QStringLiteral("a"));
        QCOMPARE(w.TabChart->tabToolTip(1), QStringLiteral("a.chd"));
        QCOMPARE(w.Chart[1]->GraphTitle(), std::string("a"));
        QVERIFY(!w.recorder().globals.Saved[1]);
        QCOMPARE(app(win).FileNames[1], path.toStdString());
        QVERIFY(win.ui.boxes.empty());
    }

private:
    static tavrin::ChartSlots& app(Window& win) { return win.app->chartSlots(); }
};

QTEST_MAIN(ChartTabsTest)
#include "ChartTabsTest.moc"
