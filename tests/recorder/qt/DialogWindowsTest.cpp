#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmLogName.h"
#include "dialogs/frmMethod.h"
#include "dialogs/frmNotes.h"
#include "dialogs/frmPrint.h"
#include "fakes/FakeFaultReport.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeDialogChart.h"
#include "fakes/FakeFileDialog.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/FakeUi.h"
#include "core/registry/PosixRecorderFileSystem.h"
#include "pelomar/Pelomar.h"
#include "ui/PelomarHost.h"

using namespace tavrin;
using namespace tavrin::test;

// The windows run modally; each test acts from the event loop of the open
// window and closes it with one of its own buttons.
class DialogWindowsTest : public QObject {
    Q_OBJECT

    static void whileOpen(const std::function<void()>& act) { QTimer::singleShot(0, act); }

private slots:
    void exportWindowFollowsItsBoxesAndExportsThroughTheChart() {
        QTemporaryDir dir;
        pelomar::Pelomar chart;
        for (int i = 0; i < 600; ++i) QCOMPARE(chart.AddPoints(0.1f, 2.0f), int16_t{0});
        PelomarHost dialogChart(chart);
        FakeFileDialog files;
        files.answer = (dir.path() + QStringLiteral("/run.txt")).toStdString();
        FakeBusyCursor cursor;
        std::vector<int16_t> errors;
        ExportLogic setup({dialogChart, files, cursor, [&](int16_t e) { errors.push_back(e); }}, 0.5f, 1.5f, '.');
        frmExport w(setup, failOnFault());
        whileOpen([&] {
            QCOMPARE(w.windowTitle(), QStringLiteral("Export Data"));
            QCOMPARE(w.cmbSamlingRate->count(), 15);
            QCOMPARE(w.cmbSamlingRate->currentText(), QStringLiteral("1"));
            QVERIFY(w.optDataRegion[1]->isChecked());
            QCOMPARE(w.optDataRegion[1]->text(),
                     QStringLiteral("All Data               (Time:  0.00  to  2.00  minutes) "));
            QCOMPARE(w.lblNumPoints->text(), QStringLiteral("120  data points"));
            w.chkMethod->click();
            QVERIFY(!w.optMethodPos[0]->isEnabled());
            for (QCheckBox* box : {w.chkUV, w.chkCond, w.chkEvents, w.chkNotes}) box->click();
            QVERIFY(!w.cmdExport->isEnabled());
            w.chkUV->click();
            QVERIFY(w.cmdExport->isEnabled());
            w.optDataRegion[0]->click();
            w.cmbSamlingRate->setCurrentIndex(14);
            QCOMPARE(w.lblTotal->text(), QStringLiteral("300  Data Points)"));
            w.cmdExport->click();
        });
        w.showModal();
        QVERIFY(!w.isVisible());
        QVERIFY(errors.empty());
        QFile out(dir.path() + QStringLiteral("/run.txt"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY(out.readAll().count('\n') >= 300);
    }

    void printWindowKeepsTheMasterBoxInStepAndSetsTheTitle() {
        FakeDialogChart chart;
        chart.title = "Run 4";
        PrintChoices choices;
        PrintLogic setup(chart, choices, nullptr);
        frmPrint w(setup, failOnFault());
        whileOpen([&] {
            QCOMPARE(w.windowTitle(), QStringLiteral("Print"));
            QCOMPARE(w.txtTitel->text(), QStringLiteral("Run 4"));
            QCOMPARE(w.txtTitel->selectedText(), QStringLiteral("Run 4"));
            w.chkUVTrace->click();
            w.chkCondTrace->click();
            w.chkEvents->click();
            QVERIFY(!w.chkChromotogram->isChecked());
            w.chkMethod->click();
            w.chkNotes->click();
            QVERIFY(!w.cmdOk->isEnabled());
            w.chkChromotogram->click();
            QVERIFY(w.chkUVTrace->isChecked() && w.chkCondTrace->isChecked() && w.chkEvents->isChecked());
            w.chkCondTrace->click();
            w.txtTitel->setText(QStringLiteral("Run 4b"));
            w.cmdOk->click();
        });
        w.showModal();
        QVERIFY(!choices.PrintCancelled);
        QCOMPARE(choices.PrintOption, 5);
        QVERIFY(choices.PrintChromotogram && !choices.PrintMethods && !choices.PrintNotes);
        QCOMPARE(chart.title, std::string("Run 4b"));
    }

    void aTitleFromAFileNameKeepsItsLettersAndTypedOnesKeepTheCodePage() {
        const struct {
            const char* preset;  // the chart's title, UTF-8
            QString typed;       // the box's text at OK
            std::string kept;
        } cases[] = {
            {"\xCE\x94-run \xE8\xA9\xA6", QStringLiteral("\u0394-run \u8A66"), "\xCE\x94-run \xE8\xA9\xA6"},
            {"\xCE\x94-run", QStringLiteral("\u0394-run \u03A9 2"), "\xCE\x94-run ? 2"},
            {"Run 4", QStringLiteral("L\u00F6sung \u20AC \u0394 \U0001F600"), "L\xC3\xB6sung \xE2\x82\xAC ? ?"},
        };
        for (const auto& c : cases) {
            FakeDialogChart chart;
            chart.title = c.preset;
            PrintChoices choices;
            PrintLogic setup(chart, choices, nullptr);
            frmPrint w(setup, failOnFault());
            QString shown;
            whileOpen([&] {
                shown = w.txtTitel->text();
                w.txtTitel->setText(c.typed);
                w.cmdOk->click();
            });
            w.showModal();
            QCOMPARE(shown, QString::fromUtf8(c.preset));
            QCOMPARE(chart.title, c.kept);
        }
    }

    void notesWindowKeepsEditsWithTheSystemsLineBreaks() {
        FakeDialogChart chart;
        chart.notes = "line 1\r\nline 2";
        modGlobas g;
        g.CurrentChart = 1;
        g.Saved.fill(true);
        FakeUi ui;
        int releases = 0;
        NotesLogic editor(chart, g, ui, [&] { ++releases; });
        frmNotes w(editor, failOnFault());
        whileOpen([&] {
            QCOMPARE(w.windowTitle(), QStringLiteral("Notes"));
            QCOMPARE(w.txtNotes->toPlainText(), QStringLiteral("line 1\nline 2"));
            w.txtNotes->appendPlainText(QStringLiteral("line 3"));
            w.cmdOK->click();
        });
        w.showModal();
        QCOMPARE(chart.notes, std::string("line 1\r\nline 2\r\nline 3"));
        QVERIFY(!g.Saved[1]);
        QCOMPARE(releases, 1);
        QVERIFY(ui.boxes.empty());
    }

    void notesWindowStaysOpenWhenTheQuestionIsCancelled() {
        FakeDialogChart chart;
        modGlobas g;
        FakeUi ui;
        ui.answer = UiServices::Answer::Cancel;
        NotesLogic editor(chart, g, ui, nullptr);
        frmNotes w(editor, failOnFault());
        whileOpen([&] {
            w.txtNotes->setPlainText(QStringLiteral("draft"));
            w.close();
            QVERIFY(w.isVisible());
            w.cmdCancel->click();
            QVERIFY(w.isVisible());
            QCOMPARE(ui.boxes.size(), size_t{2});
            ui.answer = UiServices::Answer::No;
            w.cmdCancel->click();
        });
        w.showModal();
        QVERIFY(!w.isVisible());
        QCOMPARE(chart.noteUpdates, 0);
    }

    void methodWindowShowsTheListInFixedPitchAndReleasesItsButton() {
        FakeDialogChart chart;
        chart.methods = "0.0 Start\r\n2.5 Wash\r\n";
        int releases = 0;
        frmMethod w(chart, [&] { ++releases; }, failOnFault());
        whileOpen([&] {
            QCOMPARE(w.windowTitle(), QStringLiteral("Method"));
            QCOMPARE(w.txtMethod->toPlainText(), QStringLiteral("0.0 Start\n2.5 Wash\n"));
            QCOMPARE(w.txtMethod->font().family(), QStringLiteral("Courier New"));
            QCOMPARE(w.cmdClose->text(), QStringLiteral("&OK"));
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        w.showModal();
        QVERIFY(!w.isVisible());
        QCOMPARE(releases, 1);
    }

    void systemNameWindowTakesOnlyNameKeys() {
        modGlobas g;
        g.LogName = "Default";
        FakeUi ui;
        std::string caption;
        int registryWrites = 0;
        LogNameLogic entry({g, ui, [&](const std::string& c) { caption = c; }, [&] { ++registryWrites; }});
        frmLogName w(entry);
        whileOpen([&] {
            QCOMPARE(w.windowTitle(), QStringLiteral("Enter Vestrel Kado System Name"));
            QCOMPARE(w.txtLogFileName->selectedText(), QStringLiteral("Default"));
            QTest::keyClicks(w.txtLogFileName, QStringLiteral("Kado-2_b c"));
            QCOMPARE(w.txtLogFileName->text(), QStringLiteral("Kado2b c"));
            QCOMPARE(ui.beeps, 2);
            w.txtLogFileName->clear();
            QVERIFY(!w.cmdOKButton->isEnabled());
            QTest::keyClicks(w.txtLogFileName, QString(26, QLatin1Char('x')));
            QCOMPARE(w.txtLogFileName->text().size(), 25);
            w.cmdOKButton->click();
        });
        w.mnuLogName_Click();
        QCOMPARE(g.LogName, std::string(25, 'x'));
        QCOMPARE(caption, "Tavrin MS - System: " + std::string(25, 'x'));
        QCOMPARE(registryWrites, 1);
    }

    void recoveryWindowEnablesRecoverWithATick() {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Log/417"));
        QFile(dir.path() + QStringLiteral("/Log/417/TLog.bak")).open(QIODevice::WriteOnly);
        QFile(dir.path() + QStringLiteral("/Log/417/DLog1.bak")).open(QIODevice::WriteOnly);
        modGlobas g;
        FakeUi ui;
        pelomar::Pelomar logChart;
        PelomarHost recorderChart(logChart);
        PosixRecorderFileSystem files;
        FakeSettingsStore settings;
        InstanceRegistry registry({settings, files, ui, recorderChart}, g, dir.path().toStdString(), false);
        std::vector<std::string> saved;
        DataRecoveryLogic recovery({g, ui, registry, [&] {
                                   g.LogSaved = true;
                                   saved.push_back(g.LogName);
                               }});
        frmDataRecovery w(recovery, failOnFault());
        whileOpen([&] {
            QCOMPARE(w.windowTitle(), QStringLiteral("Tavrin - Recover Data"));
            QCOMPARE(w.lstLogFiles->count(), 1);
            QCOMPARE(w.lstLogFiles->item(0)->text(), QStringLiteral("  Unknown Log File 417"));
            QVERIFY(!w.cmdRecoverButton->isEnabled());
            w.lstLogFiles->item(0)->setCheckState(Qt::Checked);
            QVERIFY(w.cmdRecoverButton->isEnabled());
            w.cmdRecoverButton->click();
        });
        w.OfferRecovery();
        QVERIFY(!w.isVisible());
        QCOMPARE(saved, std::vector<std::string>{"417"});
        QVERIFY(!QFile::exists(dir.path() + QStringLiteral("/Log/417/TLog.bak")));
    }
};

QTEST_MAIN(DialogWindowsTest)
#include "DialogWindowsTest.moc"
