#include <QLabel>
#include <QTimer>
#include <QtTest>

#include "dialogs/frmNoData.h"
#include "dialogs/frmSetup.h"
#include "fakes/FakeFaultReport.h"
#include "fakes/FakePortBank.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeComPortNames.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/RecorderRig.h"
#include "frmMain.h"
#include "qt/AppFakes.h"

using namespace tavrin::test;

class LoggingDialogsTest : public QObject {
    Q_OBJECT

    // Clicks a button of the modal that is open once the event loop runs.
    static void clickLater(const std::function<QPushButton*()>& button) {
        QTimer::singleShot(0, [button] { button()->click(); });
    }

private slots:
    void noDataDialogCarriesItsTextsAndAnswersItsButton() {
        frmNoData dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tavrin"));
        QVERIFY(dialog.findChild<QLabel*>()->text() == QStringLiteral("No data is being received."));
        QCOMPARE(dialog.cmdOk->text(), QStringLiteral("&Ok"));
        QCOMPARE(dialog.cmdSetup->text(), QStringLiteral("&Setup"));
        QCOMPARE(dialog.cmdExit->text(), QStringLiteral("&Exit"));
        QVERIFY(dialog.cmdSetup->isDefault());
        clickLater([&] { return dialog.cmdSetup; });
        QCOMPARE(dialog.showModal(), tavrin::NoDataDialog::Choice::Setup);
        clickLater([&] { return dialog.cmdOk; });
        QCOMPARE(dialog.showModal(), tavrin::NoDataDialog::Choice::Ok);
        QTimer::singleShot(0, [&] { dialog.reject(); });
        QCOMPARE(dialog.showModal(), tavrin::NoDataDialog::Choice::Exit);
    }

    void setupDialogShowsTheScanAndOpensTheCheckedPort() {
        RecorderRig rig;
        FakePortBank bank;
        FakeSerialPort probe;
        rig.port.attach(bank);
        probe.attach(bank);
        bank.set(4, FakePortBank::State::InUse);
        rig.globals().ComPortNumber = 2;
        FakeComPortNames names;
        names.next.fill("No serial device");
        names.next[0] = "/dev/ttyUSB0 - FT232R USB UART, FTDI";
        names.next[1] = "/dev/ttyS0 - Built-in serial port";
        tavrin::SetupLogic setup(rig.port, probe, rig.TimerCheckComData, rig.globals(), rig.ui, &names);
        setup.Form_Load();
        setup.cmdCancelEnabled = false;
        frmSetup dialog(setup, failOnFault());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Data Collection Setup"));
        QCOMPARE(dialog.frameCom->title(), QStringLiteral("COM Port"));
        QCOMPARE(dialog.optCom[9]->text(), QStringLiteral("COM 10"));
        QCOMPARE(dialog.cmdOk->text(), QStringLiteral("&OK"));
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("&Cancel"));
        QTimer::singleShot(0, [&] {
            QCOMPARE(dialog.optCom[0]->toolTip(), QStringLiteral("/dev/ttyUSB0 - FT232R USB UART, FTDI"));
            QCOMPARE(dialog.optCom[1]->toolTip(), QStringLiteral("/dev/ttyS0 - Built-in serial port"));
            for (int i = 2; i < 10; ++i) QCOMPARE(dialog.optCom[i]->toolTip(), QStringLiteral("No serial device"));
            QCOMPARE(dialog.optCom[4]->text(), QStringLiteral("COM 5"));
            QVERIFY(!dialog.optCom[3]->isEnabled());
            QVERIFY(dialog.optCom[1]->isChecked());
            QVERIFY(!dialog.cmdCancel->isEnabled());
            dialog.close();  // ignored while Cancel is disabled
            QVERIFY(dialog.isVisible());
            dialog.optCom[6]->click();
            dialog.cmdOk->click();
        });
        dialog.showModal();
        QCOMPARE(rig.globals().ComPortNumber, 7);
        QVERIFY(rig.port.PortOpen());
        QCOMPARE(rig.port.CommPort(), 7);

        // Shown again after the ports changed, the options tell the new ones.
        names.next[0] = "/dev/ttyUSB1 - USB serial adapter";
        setup.Form_Load();
        setup.cmdCancelEnabled = true;
        QTimer::singleShot(0, [&] {
            QCOMPARE(dialog.optCom[0]->toolTip(), QStringLiteral("/dev/ttyUSB1 - USB serial adapter"));
            dialog.cmdCancel->click();
        });
        dialog.showModal();
        QCOMPARE(rig.port.CommPort(), 7);
    }

    void setupDialogWithoutPortNamesHasNoToolTips() {
        RecorderRig rig;
        FakeSerialPort probe;
        tavrin::SetupLogic setup(rig.port, probe, rig.TimerCheckComData, rig.globals(), rig.ui);
        setup.Form_Load();
        frmSetup dialog(setup, failOnFault());
        QTimer::singleShot(0, [&] {
            for (QRadioButton* option : dialog.optCom) QVERIFY(option->toolTip().isEmpty());
            dialog.cmdCancel->click();
        });
        dialog.showModal();
    }

    void logMenusOfTheMainWindowSwitchLogging() {
        FakeSerialPort port;
        FakeUi ui;
        FakeErrorLog errorLog;
        FakeClock clock;
        AppFakes fakes;
        TavrinApplication app(fakes.services(port, ui, errorLog, clock));
        frmMain& w = app.window();
        w.LoadSettings();
        QVERIFY(w.recorder().globals.LogOn);
        QVERIFY(!w.mnuLogOn->isEnabled());
        w.cmdLogOff->trigger();
        QVERIFY(!w.recorder().globals.LogOn);
        QVERIFY(w.cmdLogOff->isChecked());
        QVERIFY(w.mnuLogOn->isEnabled());
        w.mnuLogOn->trigger();
        QVERIFY(w.recorder().globals.LogOn);
        QVERIFY(w.cmdLogOn->isChecked());
        QVERIFY(!w.mnuLogOn->isEnabled());
        QVERIFY(!w.mnuSaveLog->isEnabled());
    }
};

QTEST_MAIN(LoggingDialogsTest)
#include "LoggingDialogsTest.moc"
