#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

#include "core/registry/DataRecoveryLogic.h"
#include "dialogs/CaptionWidth.h"
#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmLogName.h"
#include "dialogs/frmMethod.h"
#include "dialogs/frmNoData.h"
#include "dialogs/frmNotes.h"
#include "dialogs/frmPrint.h"
#include "dialogs/frmSetup.h"
#include "fakes/FakeFaultReport.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeDialogChart.h"
#include "fakes/FakeFileDialog.h"
#include "core/registry/InstanceRegistry.h"
#include "core/registry/LogInfoRecord.h"
#include "core/registry/PosixRecorderFileSystem.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSettingsStore.h"
#include "ui/PelomarHost.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeTimer.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "platform/HtmlHelp.h"
#include "qt/ModalWindows.h"

using namespace tavrin::test;
using Item = tavrin::MainWindowControls::Item;

namespace {

struct ItemName {
    Item item;
    const char* name;
    bool button;
};

// All twenty items of the window's controls, with the action each one is.
const ItemName kItems[] = {
    {Item::mnuStart, "mnuStart", false},
    {Item::mnuStop, "mnuStop", false},
    {Item::mnuComPort, "mnuComPort", false},
    {Item::mnuSaveData, "mnuSaveData", false},
    {Item::mnuSaveSlectedData, "mnuSaveSlectedData", false},
    {Item::mnuSaveDataAs, "mnuSaveDataAs", false},
    {Item::mnuClear, "mnuClear", false},
    {Item::mnuPrint, "mnuPrint", false},
    {Item::mnuPrintSetup, "mnuPrintSetup", false},
    {Item::mnuExport, "mnuExport", false},
    {Item::mnuLogOn, "mnuLogOn", false},
    {Item::mnuLogOff, "mnuLogOff", false},
    {Item::cmdRecord, "cmdRecord", true},
    {Item::cmdStop, "cmdStop", true},
    {Item::cmdPrint, "cmdPrint", true},
    {Item::cmdSave, "cmdSave", true},
    {Item::cmdClear, "cmdClear", true},
    {Item::cmdLogOn, "cmdLogOn", true},
    {Item::cmdLogOff, "cmdLogOff", true},
    {Item::mnuSaveLog, "mnuSaveLog", false},
};

// A help viewer that fails the way the test says.
class FailingHelp : public tavrin::HelpViewer {
public:
    void ShowHelp(int32_t) override {
        ++calls;
        if (fault) fault();
    }
    std::function<void()> fault;
    int calls = 0;
};

}  // namespace

// Faults a new user met in the window, each driven through the real window.
class WindowFaultsTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;

    static QAction* action(frmMain& w, const ItemName& i) {
        return i.button ? w.toolButton(QString::fromLatin1(i.name)) : w.menuItem(QString::fromLatin1(i.name));
    }

private slots:
    void theAdapterHonoursEveryItem() {
        static_assert(std::size(kItems) == tavrin::ActionControls::kItems);
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        tavrin::MainWindowControls& controls = app.controls();
        for (const ItemName& i : kItems) {
            QAction* a = action(w, i);
            QVERIFY2(a != nullptr, i.name);
            controls.setEnabled(i.item, false);
            QVERIFY2(!a->isEnabled(), i.name);
            controls.setEnabled(i.item, true);
            QVERIFY2(a->isEnabled(), i.name);
        }
        for (const auto& [pressed, released] :
             {std::pair{Item::cmdRecord, Item::cmdStop}, std::pair{Item::cmdStop, Item::cmdRecord},
              std::pair{Item::cmdLogOff, Item::cmdLogOn}, std::pair{Item::cmdLogOn, Item::cmdLogOff}}) {
            controls.showPressed(pressed);
            QVERIFY(action(w, kItems[static_cast<int>(pressed)])->isChecked());
            QVERIFY(!action(w, kItems[static_cast<int>(released)])->isChecked());
        }
        controls.setReceiveLedColor(0x0000FF);
        QCOMPARE(w.ShapeReciveLed->FillColor(), 0x0000FF);
        controls.setLiveScrollMax(12);
        controls.setLiveScrollValue(7);
        QCOMPARE(w.ScrollChart[0]->Max(), 12);
        QCOMPARE(w.ScrollChart[0]->value(), 7);
        controls.setLiveScrollVisible(false);
        QVERIFY(w.ScrollChart[0]->isHidden());
        controls.setLiveScrollVisible(true);
        QVERIFY(!w.ScrollChart[0]->isHidden());
    }

    void anAdapterWithoutEveryItemIsRefused() {
        tavrin::ReceiveLed led;
        tavrin::SlotScrollBar bar;
        QAction start;
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 tavrin::ActionControls({{Item::mnuStart, &start}}, led, bar, {}));
    }

    void recordingDisablesWhatCannotRunDuringARun() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        w.mnuStart_Click();
        for (const char* name : {"mnuSaveData", "mnuSaveDataAs", "mnuSaveSlectedData", "mnuClear", "mnuExport",
                                 "mnuPrint", "mnuPrintSetup", "mnuComPort", "mnuStart"})
            QVERIFY2(!w.menuItem(QString::fromLatin1(name))->isEnabled(), name);
        for (const char* key : {"cmdSave", "cmdPrint", "cmdClear"})
            QVERIFY2(!w.toolButton(QString::fromLatin1(key))->isEnabled(), key);
        w.mnuStop_Click();
        for (const char* name : {"mnuSaveData", "mnuSaveDataAs", "mnuSaveSlectedData", "mnuClear", "mnuExport",
                                 "mnuPrint", "mnuPrintSetup"})
            QVERIFY2(w.menuItem(QString::fromLatin1(name))->isEnabled(), name);
        for (const char* key : {"cmdSave", "cmdPrint", "cmdClear"})
            QVERIFY2(w.toolButton(QString::fromLatin1(key))->isEnabled(), key);
    }

    // A run recorded and ended in Full View, then "Window:": the live bar is
    // there to reach the whole run.
    void windowAfterARunEndedInFullViewShowsTheLiveBar() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        keepSystemName();
        w.show();
        QTRY_VERIFY(w.windowTitle().contains(QStringLiteral("- System:")));
        w.mnuStart_Click();
        for (int i = 0; i < 30 * 300 + 1; ++i) w.Chart[0]->AddPoints(0.1f, 5.f);
        w.mnuStop_Click();
        QVERIFY(!w.ScrollChart[0]->isVisible());
        w.frameScaleAxis->optTimeAxis[1]->click();
        QVERIFY(w.ScrollChart[0]->isVisible());
        QVERIFY(w.ScrollChart[0]->isEnabled());
        QCOMPARE(w.ScrollChart[0]->Max(), 20);
        w.ScrollChart[0]->setValue(20);
        QCOMPARE(w.Chart[0]->XEnd(), 30.f);
    }

    void theLastTabIsNotUnderTheReceiveFrame() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        keepSystemName();
        w.show();
        QTRY_VERIFY(w.windowTitle().contains(QStringLiteral("- System:")));
        // At the design size and at the narrowest the window allows, with
        // file captions as wide as a caption may be (1080 twips).
        QString caption = QStringLiteral("Run 1234567890");
        while (w.TabChart->fontMetrics().horizontalAdvance(caption) > 72) caption.chop(1);
        for (int k = 1; k < 5; ++k) w.TabChart->setTabText(k, caption);
        for (const int width : {w.width(), 10}) {
            w.resize(width, w.height());
            QTest::qWait(20);
            const QRect last(w.TabChart->mapTo(w.centralWidget(), w.TabChart->tabRect(4).topLeft()),
                             w.TabChart->tabRect(4).size());
            QVERIFY2(!last.intersects(w.frameLeds->geometry()), qPrintable(QString::number(w.width())));
        }
    }

    void atTheMinimumSizeTheTimeAxisCaptionIsUncovered() {
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        keepSystemName();
        w.show();
        QTRY_VERIFY(w.windowTitle().contains(QStringLiteral("- System:")));
        w.resize(10, 10);
        QTest::qWait(50);
        const QRect frame = w.frameScaleAxis->geometry();
        for (int i = 0; i < 5; ++i) {
            const QRect bar = w.ScrollChart[i]->geometry();
            QVERIFY2(bar.bottom() < frame.top(), qPrintable(QStringLiteral("bar %1 %2 frame %3").arg(i).arg(bar.bottom()).arg(frame.top())));
            QVERIFY(w.Chart[i]->geometry().bottom() < bar.top() + 1);
        }
    }

    void everyDialogShowsItsWholeCaption() {
        FakeDialogChart chart;
        FakeFileDialog files;
        FakeBusyCursor cursor;
        tavrin::modGlobas g;
        tavrin::ExportLogic exportSetup({chart, files, cursor, nullptr}, 0, 0, '.');
        frmExport exportWindow(exportSetup, failOnFault());
        tavrin::PrintChoices choices;
        tavrin::PrintLogic printSetup(chart, choices, nullptr);
        frmPrint printWindow(printSetup, failOnFault());
        tavrin::NotesLogic notes(chart, g, ui, nullptr);
        frmNotes notesWindow(notes, failOnFault());
        frmMethod methodWindow(chart, nullptr, failOnFault());
        tavrin::LogNameLogic name({g, ui, nullptr, nullptr});
        frmLogName nameWindow(name);
        frmNoData noData;
        FakeSerialPort probe;
        FakeSerialPort mainPort;
        FakeScheduler scheduler;
        FakeTimer timer(scheduler, 5000);
        tavrin::SetupLogic portSetup(mainPort, probe, timer, g, ui);
        frmSetup setupWindow(portSetup, failOnFault());
        QWidget* windows[] = {&exportWindow, &printWindow, &notesWindow, &methodWindow,
                              &nameWindow,   &noData,      &setupWindow};
        for (QWidget* window : windows) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QFont bold = QApplication::font();
            bold.setBold(true);
            // The caption in a bold face, and room for an icon and three buttons.
            const int needed = QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 3 * 24 + 24;
            QVERIFY2(window->width() >= needed, qPrintable(window->windowTitle()));
            window->hide();
        }
    }

    void theRecoveryHeadingsStandOverTheirColumns() {
        QTemporaryDir dir;
        tavrin::modGlobas g;
        pelomar::Pelomar logChart;
        tavrin::PelomarHost recorderChart(logChart);
        tavrin::PosixRecorderFileSystem files;
        FakeSettingsStore settings;
        tavrin::InstanceRegistry registry({settings, files, ui, recorderChart}, g, dir.path().toStdString(), false);
        tavrin::DataRecoveryLogic recovery({g, ui, registry, nullptr});
        recovery.AddItem(tavrin::FormatLogInfoLine("Bench 2|12/10/2026|15:30:07|417"), false);
        frmDataRecovery w(recovery, failOnFault());
        QTimer::singleShot(0, &w, [&] {
            // Where each column's first character is drawn in the list.
            QListWidgetItem* item = w.lstLogFiles->item(0);
            const QRect row = w.lstLogFiles->visualItemRect(item);
            const QString text = item->text();
            const QFontMetrics fm(w.lstLogFiles->font());
            const int indicator = w.style()->pixelMetric(QStyle::PM_IndicatorWidth);
            const int textStart = w.lstLogFiles->viewport()->mapTo(&w, row.topLeft()).x() + indicator;
            const int charWidth = fm.horizontalAdvance(QLatin1Char('x'));
            const int heads[] = {2, 32, 45};
            for (int k = 0; k < 3; ++k) {
                const int column = textStart + fm.horizontalAdvance(text.left(heads[k]));
                const int head = w.lblPrompt[4 + k]->mapTo(&w, QPoint(0, 0)).x();
                QVERIFY2(std::abs(head - column) <= 2 * charWidth,
                         qPrintable(QStringLiteral("%1: head %2, column %3").arg(k).arg(head).arg(column)));
            }
            QVERIFY(w.lblPrompt[4]->isVisible());
            w.close();
        });
        w.showModal();
    }

    // A fault in a command leaves a trace in the error log and the window
    // goes on; an expected run-time error passes as before, without one.
    void aFaultInAHandlerIsLoggedAndTheWindowRunsOn() {
        AppFakes fakes;
        FailingHelp help;
        TavrinApplication::Services services{port,        ui,          errorLog,         clock,
                                             fakes.settings, fakes.probe, help,          fakes.files,
                                             fakes.fileDialog, fakes.printer, fakes.cursor, fakes.about};
        services.programFolder = fakes.programFolder();
        TavrinApplication app(services);
        frmMain& w = app.window();
        errorLog.entries.clear();
        help.fault = [] { throw pelomar::RuntimeError(53); };
        w.mnuIntro_Click();
        QCOMPARE(help.calls, 1);
        QVERIFY(errorLog.entries.empty());

        help.fault = [] { throw std::logic_error("viewer broken"); };
        w.mnuIntro_Click();
        QCOMPARE(errorLog.entries.size(), size_t{1});
        QCOMPARE(errorLog.entries[0],
                 std::string("12/10/2026 10:22:01 AM\r\nUnexpected error in ShowHelp: viewer broken\r\n"));

        // The window still answers its commands.
        w.LoadSettings();
        QVERIFY(w.recorder().globals.LogOn);
        w.cmdLogOff->trigger();
        QVERIFY(!w.recorder().globals.LogOn);
        help.fault = nullptr;
        w.mnuIntro_Click();
        QCOMPARE(help.calls, 3);
        QCOMPARE(errorLog.entries.size(), size_t{1});
    }

    // A dialog's handler hands a fault to its report and closes as before; a
    // run-time error passes without one.
    void aFaultInADialogHandlerIsReported() {
        FakeDialogChart chart;
        FakeFaultReport faults;
        std::function<void()> fault = [] { throw pelomar::RuntimeError(53); };
        frmMethod w(chart, [&] { fault(); }, faults.report());
        const auto pressOk = [&] {
            QTimer::singleShot(0, &w, [&] { w.cmdClose->click(); });
            w.showModal();
            QVERIFY(!w.isVisible());
        };
        pressOk();
        QVERIFY(faults.faults.empty());

        fault = [] { throw std::logic_error("button gone"); };
        pressOk();
        QCOMPARE(faults.faults, std::vector<std::string>{"frmMethod.CloseMethod: button gone"});
    }

    void aHelpFileThatCannotBeShownIsReported() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Tavrin.html"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        int opened = 0;
        tavrin::HtmlHelp noViewer(file, &ui, [&](const QUrl&) {
            ++opened;
            return false;
        });
        ui.boxes.clear();
        noViewer.ShowHelp(1);
        QCOMPARE(opened, 1);
        QCOMPARE(ui.boxes.size(), size_t{1});
        QVERIFY(ui.boxes[0].text.find("cannot be shown") != std::string::npos);
        QCOMPARE(ui.boxes[0].icon, tavrin::UiServices::Icon::Exclamation);

        tavrin::HtmlHelp viewer(file, &ui, [&](const QUrl&) { return true; });
        viewer.ShowHelp(3);
        QCOMPARE(ui.boxes.size(), size_t{1});

        // The path reads as the file system has it, in any letters.
        const QString missingFile = dir.filePath(QStringLiteral("Pr\u00FCf \u0394/none.html"));
        tavrin::HtmlHelp missing(missingFile, &ui, [&](const QUrl&) { return true; });
        missing.ShowHelp(1);
        QCOMPARE(ui.boxes.size(), size_t{2});
        QCOMPARE(QString::fromStdString(ui.boxes[1].text),
                 QStringLiteral("The help file ") + missingFile + QStringLiteral(" was not found."));
    }
};

QTEST_MAIN(WindowFaultsTest)
#include "WindowFaultsTest.moc"
