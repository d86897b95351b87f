#include <QDir>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <dirent.h>

#include <set>
#include <string>

#include "dialogs/frmDataRecovery.h"
#include "dialogs/frmExport.h"
#include "dialogs/frmPrint.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
#include "qt/AppFakes.h"
#include "qt/ModalWindows.h"
#include "ui/QtFileDialog.h"

using namespace tavrin::test;

namespace {

// The names in `folder` as the file system holds them.
std::set<std::string> namesOnDisk(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(dir))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
        ::closedir(dir);
    }
    return names;
}

std::string bytes(const QString& name) { return name.toUtf8().toStdString(); }

// Types `text` as a keyboard and an input method do: every character, also
// those no key of the keyboard gives.
void typeInto(QWidget* box, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        const QString letter = text.mid(i, length);
        i += length - 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, letter);
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, letter);
        QApplication::sendEvent(box, &release);
    }
}

// What a file dialog showed when it opened.
struct Shown {
    QString title;
    QString name;
    QString folder;
    QStringList filters;
};

// The next file dialog: goes to `folder`, types `name` into its name box as
// a user does and accepts; or is cancelled when `name` is empty.
void answerFileDialog(const QString& folder, const QString& name, Shown* shown = nullptr) {
    onModal([=](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            QFAIL(qPrintable(QStringLiteral("not a file dialog: ") + modal->windowTitle()));
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        if (shown != nullptr)
            *shown = {dialog->windowTitle(), edit->text(), dialog->directory().absolutePath(), dialog->nameFilters()};
        if (name.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->setDirectory(folder);
        // The name box has the focus as the user types, so the dialog's
        // completion of the name does not write over it.
        QApplication::setActiveWindow(dialog);
        edit->setFocus();
        edit->clear();
        typeInto(edit, name);
        if (edit->text() != name) {
            dialog->reject();
            QFAIL(qPrintable(QStringLiteral("typed ") + edit->text()));
        }
        static_cast<QDialog*>(dialog)->accept();  // the Save or Open button
    });
}

}  // namespace

// Names in any letters go through the real file dialogs and the command line
// into the real file system and come back on the screen as the user typed them.
class FileNamesTest : public QObject {
    Q_OBJECT

    FakeSerialPort port;
    FakeUi ui;
    FakeErrorLog errorLog;
    FakeClock clock;
    tavrin::QtFileDialog dialogs;

    // Each window has a program folder and settings of its own: one that
    // ends without its shut-down leaves nothing to recover for the next.
    TavrinApplication::Services services(AppFakes& fakes, const std::string& commandLine = {}) {
        TavrinApplication::Services s{port,       ui,          errorLog, clock,         fakes.settings, fakes.probe,
                                      fakes.help, fakes.files, dialogs,  fakes.printer, fakes.cursor,   fakes.about};
        s.programFolder = fakes.programFolder();
        s.commandLine = commandLine;
        return s;
    }

    // The window registered and its backup log written once.
    static bool started(frmMain& w) {
        if (!w.Form_Load()) return false;
        keepSystemName();
        w.show();
        if (!QTest::qWaitFor([&] { return w.recorder().globals.InstanceNumber != 0; })) return false;
        for (int i = 0; i < 60; ++i) {
            w.Chart[frmMain::kLiveChart]->AddPoints(0.01f * i, 2.0f);
            w.Chart[frmMain::kLogChart]->AddPoints(0.01f * i, 2.0f);
        }
        w.recorder().globals.LogOn = true;
        w.logging().TimerSaveLog_Timer();
        return true;
    }

    // Every place that shows the name of the file in tab 2.
    static void checkShownName(frmMain& w, const QString& title, const QString& base) {
        QCOMPARE(w.TabChart->tabText(1), base);
        QCOMPARE(w.TabChart->tabToolTip(1), title);
        QCOMPARE(w.toolButton(QStringLiteral("cmdClear"))->toolTip(), QStringLiteral("Close ") + base);
        QCOMPARE(w.toolButton(QStringLiteral("cmdSave"))->toolTip(), QStringLiteral("Save ") + base);
        QCOMPARE(QString::fromStdString(w.Chart[1]->GraphTitle()), base);
    }

private slots:
    void theDialogsTakeEverySettingAndGiveTheNamesBytes() {
        QTemporaryDir root;
        const QString dir = root.filePath(QStringLiteral("\u8A66\u6599"));
        QVERIFY(QDir().mkpath(dir));
        for (const QString& name : {QStringLiteral("a.chd"), QStringLiteral("Notiz"), QStringLiteral("b.txt")}) {
            QFile f(dir + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        tavrin::FileDialog::Settings open;
        open.DialogTitle = "Open Data File...";
        open.Filter = "Pelomar Data(*.chd)|*.chd|All Files(*.*)|*.*";
        open.DefaultExt = "chd";

        // The data filter lists data files; "All Files(*.*)", chosen in the
        // dialog, lists a name without a dot too.
        QStringList listed[2];
        QString title;
        onModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            title = dialog->windowTitle();
            dialog->setDirectory(dir);
            auto* model = dialog->findChild<QFileSystemModel*>();
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(model != nullptr && types != nullptr);
            listed[0] = model->nameFilters();
            QTest::keyClick(types, Qt::Key_Down);
            listed[1] = model->nameFilters();
            dialog->reject();
        });
        QCOMPARE(dialogs.ShowOpen(open).FileName, std::string());
        QCOMPARE(title, QStringLiteral("Open Data File..."));
        QCOMPARE(listed[0], QStringList{QStringLiteral("*.chd")});
        QCOMPARE(listed[1], QStringList{QStringLiteral("*")});

        answerFileDialog(dir, QStringLiteral("a.chd"));
        const tavrin::FileDialog::Result opened = dialogs.ShowOpen(open);
        QCOMPARE(opened.FileName, bytes(dir + QStringLiteral("/a.chd")));
        QCOMPARE(opened.FileTitle, std::string("a.chd"));

        // A save adds the default extension; over an existing file it asks
        // only with the prompt flag.
        tavrin::FileDialog::Settings save = open;
        save.DialogTitle = "Save Data File As...";
        save.FileName = bytes(dir + QStringLiteral("/a.chd"));
        Shown preset;
        answerFileDialog(dir, QStringLiteral("b"), &preset);
        QCOMPARE(dialogs.ShowSave(save).FileName, bytes(dir + QStringLiteral("/b.chd")));
        QCOMPARE(preset.name, QStringLiteral("a.chd"));
        QCOMPARE(QDir(preset.folder).absolutePath(), QDir(dir).absolutePath());
        answerFileDialog(dir, QStringLiteral("a"));
        QCOMPARE(dialogs.ShowSave(save).FileName, bytes(dir + QStringLiteral("/a.chd")));

        save.Flags = tavrin::FileDialog::kOverwritePrompt;
        QString asked;
        onModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            onModal([&, dialog](QWidget* question) {
                asked = question->windowTitle();
                auto* box = qobject_cast<QMessageBox*>(question);
                QVERIFY(box != nullptr);
                box->button(QMessageBox::No)->click();
                dialog->reject();
            });
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            edit->setText(QStringLiteral("a.chd"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(dialogs.ShowSave(save).FileName, std::string());
        QVERIFY(!asked.isEmpty());
    }

    void namesInAnyLettersAreSavedOpenedAndShown_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("caption");
        QTest::newRow("ascii") << "runs" << "run 1" << "run 1";
        QTest::newRow("code page") << QStringLiteral("Prüfung") << QStringLiteral("Lösung µ") << QStringLiteral("Lösung µ");
        QTest::newRow("greek") << QStringLiteral("Δelta") << QStringLiteral("Δ-run") << QStringLiteral("Δ-run");
        QTest::newRow("japanese") << QStringLiteral("試料") << QStringLiteral("試料") << QStringLiteral("試料");
        QTest::newRow("space and dot in the folder") << QStringLiteral("Säule 2.b") << QStringLiteral("Lauf 7") << QStringLiteral("Lauf 7");
    }

    void namesInAnyLettersAreSavedOpenedAndShown() {
        QFETCH(QString, folder);
        QFETCH(QString, base);
        QFETCH(QString, caption);
        QTemporaryDir root;
        const QString dir = root.filePath(folder);
        QVERIFY(QDir().mkpath(dir));
        const std::string dirBytes = bytes(dir);
        AppFakes fakes;
        TavrinApplication app(services(fakes));
        frmMain& w = app.window();
        dialogs.setParent(&w);
        QVERIFY(started(w));
        ui.boxes.clear();

        // Save Data As of the live chart.
        Shown saveAs;
        answerFileDialog(dir, base, &saveAs);
        w.menuItem(QStringLiteral("mnuSaveDataAs"))->trigger();
        QCOMPARE(saveAs.title, QStringLiteral("Save Data File As..."));
        QCOMPARE(saveAs.filters, QStringList({QStringLiteral("Pelomar Data(*.chd)"), QStringLiteral("All Files(*.*)")}));
        const QString title = base + QStringLiteral(".chd");
        QVERIFY(namesOnDisk(dirBytes).count(bytes(title)));
        QCOMPARE(app.chartSlots().FileNames[0], bytes(dir + QLatin1Char('/') + title));

        // Open Data of the file just saved, by its name in the folder.
        answerFileDialog(dir, title);
        w.menuItem(QStringLiteral("mnuOpenData"))->trigger();
        QCOMPARE(app.chartSlots().NumCharts, int16_t{2});
        QCOMPARE(w.Chart[1]->NumPoints(), w.Chart[0]->NumPoints());
        checkShownName(w, title, caption);

        // Save As offers the tab's own name in its folder.
        Shown preset;
        answerFileDialog(dir, QString(), &preset);
        w.menuItem(QStringLiteral("mnuSaveDataAs"))->trigger();
        QCOMPARE(QDir(preset.folder).absolutePath(), QDir(dir).absolutePath());
        QCOMPARE(preset.name, title);

        // Save Selected, Export and Save Log write where the user said.
        answerFileDialog(dir, base + QStringLiteral(" sel"));
        w.menuItem(QStringLiteral("mnuSaveSlectedData"))->trigger();
        onModal([&](QWidget* modal) {
            auto* exporting = qobject_cast<frmExport*>(modal);
            QVERIFY(exporting != nullptr);
            answerFileDialog(dir, base);
            exporting->cmdExport->click();
        });
        w.menuItem(QStringLiteral("mnuExport"))->trigger();
        answerFileDialog(dir, base);
        w.menuItem(QStringLiteral("mnuSaveLog"))->trigger();

        const std::set<std::string> expected = {bytes(title), bytes(base + QStringLiteral(" sel.chd")),
                                                bytes(base + QStringLiteral(".txt")), bytes(base + QStringLiteral(".chl"))};
        QCOMPARE(namesOnDisk(dirBytes), expected);
        QVERIFY(QFileInfo(dir + QLatin1Char('/') + base + QStringLiteral(".chl")).size() > 0);
        QVERIFY(QFileInfo(dir + QLatin1Char('/') + base + QStringLiteral(".txt")).size() > 0);
        QVERIFY2(ui.boxes.empty(), ui.boxes.empty() ? "" : ui.boxes[0].text.c_str());
        QVERIFY(!w.menuItem(QStringLiteral("mnuSaveLog"))->isEnabled());
        dialogs.setParent(nullptr);
    }

    void aFileFromTheCommandLineShowsItsNameEverywhere() {
        QTemporaryDir root;
        const QString dir = root.filePath(QStringLiteral("Prüf Δ"));
        QVERIFY(QDir().mkpath(dir));
        const QString path = dir + QStringLiteral("/Lö µΔ試.chd");
        {
            AppFakes makerFakes;
            TavrinApplication maker(services(makerFakes));
            maker.window().Chart[0]->AddPoints(0.5f, 3.0f);
            QVERIFY(maker.window().Chart[0]->SaveToFile(bytes(path)));
        }
        AppFakes fakes;
        TavrinApplication app(services(fakes, bytes(path)));
        frmMain& w = app.window();
        dialogs.setParent(&w);
        QVERIFY(started(w));
        QTRY_COMPARE(app.chartSlots().NumCharts, int16_t{2});
        const QString base = QStringLiteral("Lö µΔ試");
        checkShownName(w, QStringLiteral("Lö µΔ試.chd"), base);

        Shown preset;
        answerFileDialog(dir, QString(), &preset);
        w.menuItem(QStringLiteral("mnuSaveDataAs"))->trigger();
        QCOMPARE(preset.name, QStringLiteral("Lö µΔ試.chd"));
        QCOMPARE(QDir(preset.folder).absolutePath(), QDir(dir).absolutePath());

        // The print title and the printed page.
        const QString pdf = root.filePath(QStringLiteral("report.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        w.Chart[1]->setPrinter(&printer);
        QString offered;
        onModal([&](QWidget* modal) {
            auto* print = qobject_cast<frmPrint*>(modal);
            QVERIFY(print != nullptr);
            offered = print->txtTitel->text();
            print->cmdOk->click();
        });
        w.menuItem(QStringLiteral("mnuPrint"))->trigger();
        w.Chart[1]->setPrinter(nullptr);
        QCOMPARE(offered, base);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY2(QString::fromUtf8(text.readAllStandardOutput()).contains(base), qPrintable(pdf));
        dialogs.setParent(nullptr);
    }

    void theRecoveryWindowSavesTheLeftoverRunUnderAnyName() {
        QTemporaryDir root;
        const QString dir = root.filePath(QStringLiteral("\u0394elta"));
        QVERIFY(QDir().mkpath(dir));
        AppFakes fakes;
        {
            // A copy that backs up and ends without its shut-down.
            TavrinApplication::Services s = services(fakes);
            s.copyNumber = 111;
            TavrinApplication crashed(s);
            QVERIFY(started(crashed.window()));
        }
        TavrinApplication::Services s = services(fakes);
        s.copyNumber = 222;
        s.logInfoSettings = fakes.settings.GetAllSettings("LogInfo");
        TavrinApplication app(s);
        frmMain& w = app.window();
        dialogs.setParent(&w);
        QVERIFY(w.Form_Load());
        bool offered = false;
        onModal([&](QWidget* modal) {
            auto* recovery = qobject_cast<frmDataRecovery*>(modal);
            QVERIFY(recovery != nullptr);
            offered = recovery->lstLogFiles->count() == 1;
            recovery->lstLogFiles->item(0)->setCheckState(Qt::Checked);
            answerFileDialog(dir, QStringLiteral("\u0394-run \u8A66\u6599"));
            recovery->cmdRecoverButton->click();
            recovery->cmdDoneButton->click();
            keepSystemName();
        });
        w.show();
        QTRY_VERIFY(offered);
        QTRY_COMPARE(w.recorder().globals.InstanceNumber != 0, true);
        QCOMPARE(namesOnDisk(bytes(dir)), std::set<std::string>{bytes(QStringLiteral("\u0394-run \u8A66\u6599.chl"))});
        QVERIFY(QFileInfo(dir + QStringLiteral("/\u0394-run \u8A66\u6599.chl")).size() > 0);
        QVERIFY2(ui.boxes.empty(), ui.boxes.empty() ? "" : ui.boxes[0].text.c_str());
        dialogs.setParent(nullptr);
    }

    void aNameThatIsNotUtf8OpensFromTheCommandLine() {
        QTemporaryDir root;
        // Written by another program in the old code page.
        const std::string path = bytes(root.path()) + "/M\xFCller.chd";
        {
            AppFakes makerFakes;
            TavrinApplication maker(services(makerFakes));
            maker.window().Chart[0]->AddPoints(0.5f, 3.0f);
            QVERIFY(maker.window().Chart[0]->SaveToFile(path));
        }
        QCOMPARE(namesOnDisk(bytes(root.path())), std::set<std::string>{"M\xFCller.chd"});
        AppFakes fakes;
        TavrinApplication app(services(fakes, path));
        frmMain& w = app.window();
        QVERIFY(started(w));
        QTRY_COMPARE(app.chartSlots().NumCharts, int16_t{2});
        QCOMPARE(app.chartSlots().FileNames[1], path);
        QCOMPARE(w.TabChart->tabText(1), QStringLiteral("M\uFFFDller"));
        // Saved again under the same bytes, not under a name of its own.
        QCOMPARE(w.TabChart->currentIndex(), 1);
        w.Chart[1]->UpdateNotes("edited");
        w.menuItem(QStringLiteral("mnuSaveData"))->trigger();
        QCOMPARE(namesOnDisk(bytes(root.path())), std::set<std::string>{"M\xFCller.chd"});
        QVERIFY(ui.boxes.empty());
    }
};

QTEST_MAIN(FileNamesTest)
#include "FileNamesTest.moc"
