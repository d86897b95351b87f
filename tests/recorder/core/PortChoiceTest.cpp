#include <gtest/gtest.h>

#include "core/settings/PortChoice.h"
#include "common/RuntimeErrors.h"
#include "fakes/FakeComPortNames.h"
#include "fakes/FakePortBank.h"
#include "fakes/RecorderRig.h"

namespace tavrin::test {
namespace {

namespace err = pelomar::core::err;
using State = FakePortBank::State;

const char* const kNoPortText =
    "All available COM ports are already in use.  Please free one COM port before restarting Tavrin MS.";

// The main port and the dialog's probe on one machine's COM ports; the
// setup dialog is "shown" by the test's script.
class PortChoiceTest : public ::testing::Test {
protected:
    PortChoiceTest() {
        rig.port.attach(bank);
        probe.attach(bank);
        rig.globals().ComPortNumber = 1;
    }

    // Options of the dialog as "+" enabled, "-" disabled, COM 1 first.
    static std::string options(const SetupLogic& setup) {
        std::string out;
        for (const bool on : setup.optComEnabled) out += on ? '+' : '-';
        return out;
    }

    RecorderRig rig;
    FakePortBank bank;
    FakeSerialPort probe;
    std::vector<std::string> shownOptions;
    std::vector<int16_t> shownChecked;
    std::vector<bool> shownCancel;
    std::function<void(SetupLogic&)> script = [](SetupLogic& s) { s.cmdOk_Click(); };
    PortChoice choice{rig.port, probe, rig.TimerCheckComData, rig.globals(), rig.ui, rig.rec->errors,
                      [this](SetupLogic& s) {
                          shownOptions.push_back(options(s));
                          shownChecked.push_back(s.CheckedOption);
                          shownCancel.push_back(s.cmdCancelEnabled);
                          if (script) script(s);
                      }};
};

TEST_F(PortChoiceTest, FreeSavedPortIsTakenWithoutADialog) {
    rig.globals().ComPortNumber = 3;
    ASSERT_TRUE(choice.ChoosePort(false));
    EXPECT_TRUE(shownOptions.empty());
    EXPECT_EQ(rig.port.CommPort(), 3);
    EXPECT_FALSE(rig.port.PortOpen()) << "the scans leave every port closed";
    EXPECT_EQ(bank.state(3), State::Free);

    choice.OpenPort();
    EXPECT_TRUE(rig.port.PortOpen());
    EXPECT_EQ(bank.state(3), State::InUse);
    EXPECT_TRUE(rig.ui.boxes.empty());
}

TEST_F(PortChoiceTest, BusySavedPortOffersTheFirstFreeOneWithCancelDisabled) {
    rig.globals().ComPortNumber = 3;
    bank.set(1, State::Missing);
    bank.set(3, State::InUse);
    ASSERT_TRUE(choice.ChoosePort(false));
    ASSERT_EQ(shownOptions.size(), 1u);
    EXPECT_EQ(shownOptions[0], "-+-+++++++");
    EXPECT_EQ(shownChecked[0], 1) << "COM 2 checked";
    EXPECT_FALSE(shownCancel[0]);
    EXPECT_EQ(rig.globals().ComPortNumber, 2);
    EXPECT_EQ(rig.port.CommPort(), 2);
    EXPECT_FALSE(rig.port.PortOpen()) << "OK's opening is undone; the load opens it";
    EXPECT_FALSE(rig.TimerCheckComData.isActive()) << "the watchdog waits for the first activation";
}

TEST_F(PortChoiceTest, ASecondCopyNeverTakesTheSavedPortDirectly) {
    // The first copy holds COM 1, the saved port.
    bank.set(1, State::InUse);
    ASSERT_TRUE(choice.ChoosePort(true));
    ASSERT_EQ(shownOptions.size(), 1u);
    EXPECT_EQ(shownOptions[0], "-+++++++++");
    EXPECT_EQ(shownChecked[0], 1);
    EXPECT_EQ(rig.globals().ComPortNumber, 2);

    // Even a free saved port goes through the dialog.
    shownOptions.clear();
    bank.setAll(State::Free);
    rig.globals().ComPortNumber = 4;
    ASSERT_TRUE(choice.ChoosePort(true));
    ASSERT_EQ(shownOptions.size(), 1u);
    EXPECT_EQ(rig.globals().ComPortNumber, 1);
}

TEST_F(PortChoiceTest, SavedNumberOutsideTheRangeCountsAsBusy) {
    for (const int16_t saved : {int16_t{0}, int16_t{11}, int16_t{-3}}) {
        shownOptions.clear();
        rig.globals().ComPortNumber = saved;
        ASSERT_TRUE(choice.ChoosePort(false));
        EXPECT_EQ(shownOptions.size(), 1u) << saved;
        EXPECT_EQ(rig.globals().ComPortNumber, 1) << saved;
    }
}

TEST_F(PortChoiceTest, NoFreePortTellsTheUserAndQuits) {
    for (int16_t p = 1; p <= 10; ++p) bank.set(p, p % 2 == 0 ? State::InUse : State::Missing);
    EXPECT_FALSE(choice.ChoosePort(false));
    EXPECT_TRUE(shownOptions.empty());
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, kNoPortText);
    EXPECT_EQ(rig.ui.boxes[0].title, "Tavrin MS");
    EXPECT_EQ(rig.ui.boxes[0].buttons, UiServices::Buttons::Ok);
}

TEST_F(PortChoiceTest, APortThatVanishesBeforeItsOpeningIsReportedAndSetupOffered) {
    rig.globals().ComPortNumber = 5;
    ASSERT_TRUE(choice.ChoosePort(false));
    bank.set(5, State::Missing);
    bank.set(6, State::InUse);
    script = [](SetupLogic& s) { s.cmdCancel_Click(); };
    choice.OpenPort();
    EXPECT_FALSE(rig.port.PortOpen());
    EXPECT_NE(rig.errorLog.text.find(pelomar::core::errorText(err::kInvalidPortNumber)), std::string::npos);
    ASSERT_EQ(shownOptions.size(), 1u);
    EXPECT_EQ(shownOptions[0], "+++++-++++") << "the main port's own number is not probed";
    EXPECT_TRUE(shownCancel[0]);
}

TEST_F(PortChoiceTest, AnOpenPortThatIsBusyElsewhereIsOnlyReported) {
    ASSERT_TRUE(choice.ChoosePort(false));
    bank.set(1, State::InUse);
    choice.OpenPort();
    EXPECT_TRUE(shownOptions.empty());
    EXPECT_NE(rig.errorLog.text.find(pelomar::core::errorText(err::kPortAlreadyOpen)), std::string::npos);
}

// A port the user may not open (not in the serial devices' group): the scan
// offers it, and the start-up's opening reports the reason.
TEST_F(PortChoiceTest, APortThisUserMayNotOpenIsOfferedAndItsOpeningReported) {
    bank.set(1, State::Forbidden);
    ASSERT_TRUE(choice.ChoosePort(false));
    EXPECT_TRUE(shownOptions.empty());
    EXPECT_EQ(rig.port.CommPort(), 1);
    choice.OpenPort();
    EXPECT_FALSE(rig.port.PortOpen());
    EXPECT_TRUE(shownOptions.empty()) << "only a missing port offers the dialog";
    EXPECT_NE(rig.errorLog.text.find("Permission denied"), std::string::npos);
}

// Each load of the dialog takes the machine's ports afresh, before its scan,
// and gives every option its port's tool tip.
TEST_F(PortChoiceTest, EachDialogLoadTakesThePortsAfreshBeforeItsScan) {
    FakeComPortNames names;
    struct RecordingProbe : FakeSerialPort {
        FakeComPortNames* names = nullptr;
        std::vector<int> refreshesAtOpen;
        void setPortOpen(bool open) override {
            if (open) refreshesAtOpen.push_back(names->refreshes);
            FakeSerialPort::setPortOpen(open);
        }
    } recording;
    recording.names = &names;
    recording.attach(bank);
    std::vector<std::array<std::string, 10>> shownTips;
    PortChoice withNames{rig.port, recording, rig.TimerCheckComData, rig.globals(), rig.ui, rig.rec->errors,
                         [&](SetupLogic& s) {
                             shownTips.push_back(s.optComToolTip);
                             s.cmdCancel_Click();
                         },
                         &names};
    names.next[0] = "/dev/ttyUSB0 - FT232R USB UART, FTDI";
    names.next[1] = "No serial device";
    bank.set(2, State::Missing);

    ASSERT_TRUE(withNames.ChoosePort(true));
    EXPECT_EQ(names.refreshes, 1);
    ASSERT_FALSE(recording.refreshesAtOpen.empty());
    EXPECT_EQ(recording.refreshesAtOpen.front(), 1);
    ASSERT_EQ(shownTips.size(), 1u);
    EXPECT_EQ(shownTips[0], names.next);

    names.next[0] = "/dev/ttyUSB1 - USB serial adapter";
    recording.refreshesAtOpen.clear();
    withNames.ShowSetupDialog();
    EXPECT_EQ(names.refreshes, 2);
    ASSERT_FALSE(recording.refreshesAtOpen.empty());
    EXPECT_EQ(recording.refreshesAtOpen.front(), 2);
    ASSERT_EQ(shownTips.size(), 2u);
    EXPECT_EQ(shownTips[1][0], "/dev/ttyUSB1 - USB serial adapter");
}

// The dialog over a running link on COM 2.
class PortSetupTest : public PortChoiceTest {
protected:
    PortSetupTest() {
        rig.globals().ComPortNumber = 2;
        rig.port.setCommPort(2);
        rig.port.setPortOpen(true);
        rig.globals().StatusBlocksSeen = true;
        setup.onHide = [this] { ++hides; };
    }

    SetupLogic setup{rig.port, probe, rig.TimerCheckComData, rig.globals(), rig.ui};
    int hides = 0;
};

TEST_F(PortSetupTest, LoadDisablesBusyPortsButNeverTheMainOne) {
    bank.set(7, State::Missing);
    bank.set(9, State::InUse);
    setup.Form_Load();
    EXPECT_EQ(options(setup), "++++++-+-+");
    EXPECT_EQ(setup.CheckedOption, 1);
    EXPECT_EQ(setup.SelectedPort, 2);
    EXPECT_TRUE(rig.port.PortOpen()) << "the main port is left open";
    EXPECT_EQ(bank.state(9), State::InUse);
    EXPECT_FALSE(probe.PortOpen());
}

TEST_F(PortSetupTest, ScanErrorsOtherThanMissingOrBusyLeaveTheOptionEnabled) {
    // A probe whose number cannot be set at all: the scan goes on.
    struct StubbornPort : FakeSerialPort {
        void setCommPort(int16_t) override { throw pelomar::RuntimeError(err::kPermissionDenied); }
    } stubborn;
    SetupLogic s{rig.port, stubborn, rig.TimerCheckComData, rig.globals(), rig.ui};
    s.Form_Load();
    EXPECT_EQ(options(s), "++++++++++");
}

TEST_F(PortSetupTest, OkMovesTheLinkToTheChosenPort) {
    setup.Form_Load();
    setup.optCom_Click(4);
    setup.cmdOk_Click();
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(rig.globals().ComPortNumber, 5);
    EXPECT_EQ(rig.port.CommPort(), 5);
    EXPECT_TRUE(rig.port.PortOpen());
    EXPECT_EQ(bank.state(2), State::Free) << "the old port is let go";
    EXPECT_FALSE(rig.globals().StatusBlocksSeen);
    EXPECT_TRUE(rig.TimerCheckComData.isActive());
}

TEST_F(PortSetupTest, FailedOpenKeepsTheDialogAndRestoresTheOldLink) {
    setup.Form_Load();
    setup.optCom_Click(5);
    bank.set(6, State::InUse);  // taken after the scan
    setup.cmdOk_Click();
    EXPECT_EQ(hides, 0);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text,
              "Cannot open the selected communication port\r" + pelomar::core::errorText(err::kPortAlreadyOpen));
    EXPECT_EQ(rig.ui.boxes[0].title, "DATA COLLECTION SETUP ERROR");
    EXPECT_EQ(rig.ui.boxes[0].icon, UiServices::Icon::Exclamation);
    EXPECT_EQ(rig.globals().ComPortNumber, 2);
    EXPECT_EQ(rig.port.CommPort(), 2);
    EXPECT_TRUE(rig.port.PortOpen());
    EXPECT_FALSE(rig.TimerCheckComData.isActive());
}

TEST_F(PortSetupTest, APortThisUserMayNotOpenStaysOfferedAndOkTellsWhy) {
    bank.set(5, State::Forbidden);
    setup.Form_Load();
    EXPECT_EQ(options(setup), "++++++++++");
    setup.optCom_Click(4);
    setup.cmdOk_Click();
    EXPECT_EQ(hides, 0);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text, "Cannot open the selected communication port\rPermission denied");
    EXPECT_EQ(rig.ui.boxes[0].title, "DATA COLLECTION SETUP ERROR");
    EXPECT_EQ(rig.globals().ComPortNumber, 2);
    EXPECT_EQ(rig.port.CommPort(), 2);
    EXPECT_TRUE(rig.port.PortOpen()) << "the old link is reopened";
}

TEST_F(PortSetupTest, FailedOpenOfAClosedLinkLeavesItClosed) {
    rig.port.setPortOpen(false);
    setup.Form_Load();
    setup.optCom_Click(3);
    bank.set(4, State::Missing);
    setup.cmdOk_Click();
    EXPECT_FALSE(rig.port.PortOpen());
    EXPECT_EQ(rig.port.CommPort(), 2);
}

TEST_F(PortSetupTest, CancelChangesNothing) {
    setup.Form_Load();
    setup.optCom_Click(6);
    setup.cmdCancel_Click();
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(rig.globals().ComPortNumber, 2);
    EXPECT_EQ(rig.port.CommPort(), 2);
    EXPECT_TRUE(rig.port.PortOpen());
    EXPECT_TRUE(rig.globals().StatusBlocksSeen);
}

}  // namespace
}  // namespace tavrin::test
