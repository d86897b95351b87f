#include <QApplication>
#include <QtTest>

#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"
#include "frmMain.h"
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
        TavrinApplication app(TavrinApplication::Services{&port, ui, errorLog, clock});
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
        TavrinApplication app(TavrinApplication::Services{&port, ui, errorLog, clock});
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
        TavrinApplication app(TavrinApplication::Services{&port, ui, errorLog, clock});
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
};

QTEST_MAIN(WindowFaultsTest)
#include "WindowFaultsTest.moc"
