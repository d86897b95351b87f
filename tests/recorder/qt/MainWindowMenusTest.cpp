#include <QMenuBar>
#include <QtTest>

#include "core/window/HelpViewer.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"

using namespace tavrin::test;

namespace {

class RecordingHelp : public tavrin::HelpViewer {
public:
    void ShowHelp(int32_t context) override { contexts.push_back(context); }
    std::vector<int32_t> contexts;
};

}  // namespace

class MainWindowMenusTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    RecordingHelp help;
    AppFakes fakes;

    TavrinApplication::Services services() {
        TavrinApplication::Services s{port, ui,          errorLog,         clock,         fakes.settings, fakes.probe,
                                      help, fakes.files, fakes.fileDialog, fakes.printer, fakes.cursor,   fakes.about};
        s.programFolder = fakes.programFolder();
        return s;
    }

private slots:
    void menuItemsCarryTheirCaptionsKeysAndStartState() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        struct Row {
            const char* name;
            const char* caption;
            QKeySequence key;
            bool enabled;
        };
        const Row rows[] = {
            {"mnuOpenData", "&Open Data...", QKeySequence(QStringLiteral("Ctrl+O")), true},
            {"mnuClose", "&Close", QKeySequence(QStringLiteral("Ctrl+C")), false},
            {"mnuSaveSlectedData", "Save Selec&ted Data As...", {}, true},
            {"mnuSaveLog", "Save Lo&g...", {}, false},
            {"mnuPrint", "&Print...", QKeySequence(QStringLiteral("Ctrl+P")), true},
            {"mnuStop", "&Stop", QKeySequence(QStringLiteral("Ctrl+T")), false},
            {"mnuLogOff", "Log O&FF", {}, true},
            {"mnuLogName", "Kado System &Name", {}, true},
            {"mnuComPort", "COM &Port", {}, true},
            {"mnuNotes", "&Notes", QKeySequence(QStringLiteral("Ctrl+N")), true},
            {"mnuIntro", "Introduction to &Tavrin", {}, true},
        };
        for (const Row& r : rows) {
            QAction* a = w.menuItem(QLatin1String(r.name));
            QVERIFY2(a != nullptr, r.name);
            QCOMPARE(a->text(), QLatin1String(r.caption));
            QCOMPARE(a->shortcut(), r.key);
            if (QLatin1String(r.name) != QLatin1String("mnuStop") && QLatin1String(r.name) != QLatin1String("mnuLogOff"))
                QCOMPARE(a->isEnabled(), r.enabled);
        }
        QStringList tops;
        for (QAction* a : w.menuBar()->actions()) tops << a->text();
        QCOMPARE(tops, (QStringList{QStringLiteral("&File"), QStringLiteral("Collect &Data"), QStringLiteral("&View"),
                                    QStringLiteral("&Help")}));
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin MS - Kado System: Default"));
    }

    void toolbarButtonsInOrderWithTheirTips() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        QStringList keys;
        for (QAction* a : w.Toolsbar->actions())
            if (!a->isSeparator()) keys << a->objectName();
        QCOMPARE(keys, (QStringList{"cmdOpen", "cmdSave", "cmdPrint", "cmdClear", "cmdRecord", "cmdStop", "cmdMethod",
                                    "cmdNotes", "cmdLogOn", "cmdLogOff"}));
        QCOMPARE(w.toolButton(QStringLiteral("cmdClear"))->toolTip(), QStringLiteral("Clear Chart Recorder  data"));
        QCOMPARE(w.toolButton(QStringLiteral("cmdNotes"))->toolTip(), QStringLiteral("Show Notes "));
        QCOMPARE(w.toolButton(QStringLiteral("cmdRecord"))->toolTip(), QStringLiteral("Start record form Kado"));
        QVERIFY(w.cmdStop->isChecked() && !w.cmdRecord->isChecked());
    }

    void clearClosesAFileTabAndClearsTheLiveChartOtherwise() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        std::vector<std::string> ran;
        w.commands.mnuClose_Click = [&] { ran.push_back("close"); };
        w.commands.mnuClear_Click = [&] { ran.push_back("clear"); };
        QAction* clear = w.toolButton(QStringLiteral("cmdClear"));
        clear->trigger();
        w.recorder().globals.CurrentChart = 2;
        clear->trigger();
        QCOMPARE(ran, (std::vector<std::string>{"clear", "close"}));
    }

    void methodWindowClosingLeavesTheButtonReleasedWithShowTip() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        QAction* button = w.toolButton(QStringLiteral("cmdMethod"));
        QString tipWhileOpen;
        int unloads = 0;
        // The modal window releases its button and calls back as it closes.
        w.commands.showMethodWindow = [&] {
            tipWhileOpen = button->toolTip();
            button->setChecked(false);
            w.Toolsbar_ButtonClick(button);
        };
        w.commands.unloadMethodWindow = [&] { ++unloads; };
        w.mnuMethod_Click();
        QCOMPARE(tipWhileOpen, QStringLiteral("Hide method form"));
        QVERIFY(!button->isChecked());
        QCOMPARE(button->toolTip(), QStringLiteral("Show method form"));
        QCOMPARE(unloads, 1);
    }

    void helpIndexOpensTheContentsAndF1StaysOnContextOne() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        tavrin::test::keepSystemName();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.menuItem(QStringLiteral("mnuIndex"))->trigger();
        QTest::keyClick(&w, Qt::Key_F1);
        w.menuItem(QStringLiteral("mnuIntro"))->trigger();
        QCOMPARE(help.contexts, (std::vector<int32_t>{0, 1, 1}));
        QCOMPARE(w.menuItem(QStringLiteral("mnuSaveSlectedData"))->property("HelpContextID").toInt(), 9);
        QCOMPARE(w.menuItem(QStringLiteral("mnuComPort"))->property("HelpContextID").toInt(), 6);
    }

    void layoutSnapsAndPlacesTheFramesAroundTheTabStrip() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        tavrin::test::keepSystemName();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(200, 200);
        // The axis frame's width + 100 twips, and 5000 twips, at 15 twips a pixel.
        QVERIFY(w.frameScaleAxis->width() >= 560);
        QTRY_COMPARE(w.width(), w.frameScaleAxis->width() + 7);
        QTRY_COMPARE(w.height(), 333);
        w.resize(900, 640);
        QTRY_COMPARE(w.width(), 900);
        QTRY_COMPARE(w.frameScaleAxis->geometry().bottom(), w.centralWidget()->height() - 1);
        const QWidget* form = w.centralWidget();
        QCOMPARE(w.frameScaleAxis->x(), (form->width() - w.frameScaleAxis->width()) / 2);
        QCOMPARE(w.frameLeds->geometry().topRight(), QPoint(form->width() - 1, w.Toolsbar->height()));
        QCOMPARE(w.TabChart->y(), w.Toolsbar->height() + 7);  // 100 twips
        const QRect chart = w.Chart[0]->geometry();
        const QRect scroll = w.ScrollChart[0]->geometry();
        QCOMPARE(chart.top(), w.TabChart->geometry().bottom() + 1);
        QCOMPARE(scroll.top(), chart.bottom() + 1);
        QCOMPARE(scroll.width(), form->width());
        QVERIFY(std::abs(w.frameScaleAxis->y() - (scroll.bottom() + 1) - 7) <= 1);
    }
};

QTEST_MAIN(MainWindowMenusTest)
#include "MainWindowMenusTest.moc"
