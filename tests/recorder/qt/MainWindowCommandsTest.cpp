#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmLogName.h"
#include "dialogs/frmMethod.h"
#include "dialogs/frmNotes.h"
#include "dialogs/frmPrint.h"
#include "dialogs/frmStartup.h"
#include "fakes/FakeFaultReport.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakePrinterDialog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"

using namespace tavrin::test;


// Every menu item and toolbar button of the dialogs reaches its window.
class MainWindowCommandsTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    FakeFileDialog files;
    FakePrinterDialog printer;
    FakeBusyCursor cursor;
    AppFakes fakes;

    TavrinApplication::Services services() { return services(fakes.about); }
    TavrinApplication::Services services(QDialog& about) {
        TavrinApplication::Services s{port,       ui,          errorLog, clock,   fakes.settings, fakes.probe,
                                      fakes.help, fakes.files, files,    printer, cursor,         about};
        s.programFolder = fakes.programFolder();
        return s;
    }

    // Triggers `item` and returns the title of the window it opened, closed
    // with its button `close` (object name of the member, or a caption).
    static QString openAndClose(QAction* item, const QString& closeCaption) {
        QString title;
        onModal([&](QWidget* modal) {
            title = modal->windowTitle();
            for (QPushButton* b : modal->findChildren<QPushButton*>()) {
                if (b->text() == closeCaption && b->isVisible()) {
                    b->click();
                    return;
                }
            }
            modal->close();
        });
        item->trigger();
        return title;
    }

private slots:
    void everyDialogItemOpensItsWindow() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        struct Row {
            const char* item;
            const char* title;
            const char* close;
        };
        const Row rows[] = {
            {"mnuExport", "Export Data", "&Cancel"},
            {"mnuPrint", "Print", "&Cancel"},
            {"mnuMethod", "Method", "&OK"},
            {"mnuNotes", "Notes", "&Cancel"},
            {"mnuLogName", "Enter Vestrel Kado System Name", "&Cancel"},
        };
        for (const Row& r : rows) {
            QAction* item = w.menuItem(QString::fromLatin1(r.item));
            QVERIFY2(item != nullptr, r.item);
            QCOMPARE(openAndClose(item, QString::fromLatin1(r.close)), QString::fromLatin1(r.title));
            QVERIFY2(QApplication::activeModalWidget() == nullptr, r.item);
        }
        // Nothing was printed and no box came up on the way.
        QVERIFY(ui.boxes.empty());
        QCOMPARE(printer.shown, 0);
    }

    // Only the program's end is left to the one who starts the program.
    void noCommandHookIsLeftEmpty() {
        FakeSettingsStore noSettings;
        frmStartup splash(noSettings, nullptr, failOnFault());
        splash.TimerLoadMain.stop();
        TavrinApplication::Services s = services(splash);
        TavrinApplication app(s);
        const frmMain::Commands& c = app.window().commands;
        const std::pair<const char*, bool> hooks[] = {
            {"mnuOpenData_Click", bool(c.mnuOpenData_Click)},
            {"mnuOpenLog_Click", bool(c.mnuOpenLog_Click)},
            {"mnuClose_Click", bool(c.mnuClose_Click)},
            {"mnuSaveData_Click", bool(c.mnuSaveData_Click)},
            {"mnuSaveDataAs_Click", bool(c.mnuSaveDataAs_Click)},
            {"mnuSaveSlectedData_Click", bool(c.mnuSaveSlectedData_Click)},
            {"mnuSaveLog_Click", bool(c.mnuSaveLog_Click)},
            {"mnuExport_Click", bool(c.mnuExport_Click)},
            {"mnuPrintSetup_Click", bool(c.mnuPrintSetup_Click)},
            {"mnuPrint_Click", bool(c.mnuPrint_Click)},
            {"mnuClear_Click", bool(c.mnuClear_Click)},
            {"mnuLogName_Click", bool(c.mnuLogName_Click)},
            {"mnuAbout_Click", bool(c.mnuAbout_Click)},
            {"showMethodWindow", bool(c.showMethodWindow)},
            {"unloadMethodWindow", bool(c.unloadMethodWindow)},
            {"showNotesWindow", bool(c.showNotesWindow)},
            {"unloadNotesWindow", bool(c.unloadNotesWindow)},
            {"showDataRecovery", bool(c.showDataRecovery)},
            {"OpenChartFile", bool(c.OpenChartFile)},
        };
        for (const auto& [name, set] : hooks) QVERIFY2(set, name);
    }

    void toolbarButtonsOpenTheirWindowsAndAreReleasedOnClose() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        QCOMPARE(openAndClose(w.toolButton(QStringLiteral("cmdPrint")), QStringLiteral("&Cancel")),
                 QStringLiteral("Print"));
        for (const char* key : {"cmdMethod", "cmdNotes"}) {
            QAction* button = w.toolButton(QString::fromLatin1(key));
            // A click presses the toggle first, then runs its handler.
            onModal([](QWidget* modal) { modal->close(); });
            button->trigger();
            QVERIFY2(!button->isChecked(), key);
            QVERIFY2(button->toolTip().startsWith(QStringLiteral("Show ")), key);
            QVERIFY2(QApplication::activeModalWidget() == nullptr, key);
        }
    }

    void printSetupAndPrintReachThePrinter() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        printer.nextCopies = 0;  // no copies: the report is not printed
        w.menuItem(QStringLiteral("mnuPrintSetup"))->trigger();
        QCOMPARE(printer.shown, 1);
        QCOMPARE(printer.Copies(), int16_t{0});
        // The print dialog's own Print Setup button reaches the same printer.
        onModal([](QWidget* modal) {
            auto* dialog = qobject_cast<frmPrint*>(modal);
            QVERIFY(dialog != nullptr);
            dialog->cmdPrintSetup->click();
            dialog->cmdOk->click();
        });
        w.menuItem(QStringLiteral("mnuPrint"))->trigger();
        QCOMPARE(printer.shown, 2);
        QVERIFY(!app.printing().Choices.PrintCancelled);
    }

    void printSetupFailureIsReported() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        printer.failWith = 28663;
        w.menuItem(QStringLiteral("mnuPrintSetup"))->trigger();
        QCOMPARE(ui.boxes.size(), size_t{1});
        QCOMPARE(ui.boxes[0].text, std::string("Cannot Load Print Setup dialog box."));
        printer.failWith = 0;
    }

    void exportWritesTheSelectedTabsChart() {
        QTemporaryDir dir;
        TavrinApplication app(services());
        frmMain& w = app.window();
        for (int i = 0; i < 120; ++i) QCOMPARE(w.Chart[0]->AddPoints(0.5f, 3.0f), int16_t{0});
        files.answer = (dir.path() + QStringLiteral("/run.txt")).toStdString();
        onModal([](QWidget* modal) {
            auto* dialog = qobject_cast<frmExport*>(modal);
            QVERIFY(dialog != nullptr);
            dialog->cmdExport->click();
        });
        w.menuItem(QStringLiteral("mnuExport"))->trigger();
        files.answer.clear();
        QVERIFY(QFileInfo(dir.path() + QStringLiteral("/run.txt")).size() > 0);
        QCOMPARE(files.shown.back().DialogTitle, std::string("Export Data Text File As..."));
    }

    void systemNameSetsTheTitle() {
        TavrinApplication app(services());
        frmMain& w = app.window();
        onModal([](QWidget* modal) {
            auto* dialog = qobject_cast<frmLogName*>(modal);
            QVERIFY(dialog != nullptr);
            dialog->txtLogFileName->setText(QStringLiteral("Column 7"));
            dialog->cmdOKButton->click();
        });
        w.menuItem(QStringLiteral("mnuLogName"))->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin MS - System: Column 7"));
        QCOMPARE(w.recorder().globals.LogName, std::string("Column 7"));
    }

    void aboutShowsTheSplashWithItsCloseButton() {
        FakeSettingsStore noSettings;
        frmStartup splash(noSettings, nullptr, failOnFault());
        splash.TimerLoadMain.stop();
        splash.TimerLoadMain_Timer();
        TavrinApplication::Services s = services(splash);
        TavrinApplication app(s);
        bool closeShown = false;
        onModal([&](QWidget* modal) {
            QCOMPARE(modal, static_cast<QWidget*>(&splash));
            closeShown = splash.cmdClose->isVisible() && splash.cmdClose->text() == QStringLiteral("&Close");
            splash.cmdClose->click();
        });
        app.window().menuItem(QStringLiteral("mnuAbout"))->trigger();
        QVERIFY(closeShown);
        QVERIFY(!splash.isVisible());
    }
};

QTEST_MAIN(MainWindowCommandsTest)
#include "MainWindowCommandsTest.moc"
