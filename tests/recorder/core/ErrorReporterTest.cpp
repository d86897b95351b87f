#include "core/run/ErrorReporter.h"

#include <gtest/gtest.h>

#include "fakes/FakeClock.h"
#include "fakes/FakeErrorLog.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeUi.h"

namespace tavrin {
namespace {

using test::FakeClock;
using test::FakeErrorLog;
using test::FakeSerialPort;
using test::FakeUi;
using Icon = UiServices::Icon;

struct ErrorReporterFixture : ::testing::Test {
    FakeUi ui;
    FakeErrorLog log;
    FakeClock clock;
    FakeSerialPort port;
    modGlobas globals;
    int stops = 0;
    ErrorReporter errors{ui, log, clock, globals, port, [this] { ++stops; }};
};

TEST_F(ErrorReporterFixture, ProgramCodesShowTheirBoxes) {
    const struct {
        int16_t code;
        const char* text;
        const char* title;
        Icon icon;
    } cases[] = {
        {-25, "Cannot Load Print Setup dialog box.", "ERROR!", Icon::Exclamation},
        {-24, "Cannot Export.", "ERROR!", Icon::Exclamation},
        {-22, "Serious Data Error! Most recent data collected is permanently lost.", "ERROR!",
         Icon::None},
        {-19, "Disk reading error while closing", "FILE CLOSE ERROR!", Icon::None},
        {-17,
         "Serious Data Error! Most recent data collected is permanently lost.\r"
         "Unable to save the log file",
         "ERROR!", Icon::None},
        {-16, "An error occurred while saving the data.  The data was NOT saved.",
         "FILE SAVE ERROR!", Icon::None},
        {-15, "Out of memory, Recording and Logging stopped.  Please exit Tavrin.", "Tavrin MS",
         Icon::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        ui.boxes.clear();
        errors.HandelError(c.code);
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, c.text);
        EXPECT_EQ(ui.boxes[0].title, c.title);
        EXPECT_EQ(ui.boxes[0].icon, c.icon);
        EXPECT_EQ(ui.boxes[0].buttons, UiServices::Buttons::Ok);
    }
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(ui.beeps, 0);
}

TEST_F(ErrorReporterFixture, OutOfMemoryStopsRecordingAndLoggingAfterEachBox) {
    errors.HandelError(-15);
    errors.HandelError(-15);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(stops, 2);
}

TEST_F(ErrorReporterFixture, UnreadableSettingsQuoteTheRunTimeErrorGiven) {
    errors.HandelError(-20, "File not found");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Cannot load configuration file.\rFile not found\rUsing default values.");
    EXPECT_EQ(ui.boxes[0].title, "ERROR!");
    EXPECT_EQ(ui.boxes[0].icon, Icon::Exclamation);
}

TEST_F(ErrorReporterFixture, LinkAndProtocolCodesAreLoggedWithABeep) {
    const struct {
        int16_t code;
        const char* message;
    } cases[] = {
        {-13, "First Sync not found"},
        {-12, "ERROR - Unknown data type."},
        {-11, "ERROR - Unknown data parameter."},
        {-10, "ERROR - Lost Sync."},
        {1001, "ERROR - Break signal received."},
        {1002, "ERROR - Clear-to-send timeout."},
        {1003, "ERROR - Data-set ready timeout."},
        {1006, "The COM Port hardware is unable to keep up with the data transmission."},
        {1007, "ERROR - Carrier detect timeout."},
        {1008, "ERROR - Receive buffer overflow."},
        {1010, "ERROR - Transmit buffer full."},
        // Anything else is logged as the platform's text of that number.
        {8002, "Invalid port number"},
        {61, "Disk full"},
        {-23, "Application-defined or object-defined error"},
        {-9, "Application-defined or object-defined error"},
        {2, "Application-defined or object-defined error"},
        {0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        log.entries.clear();
        const int beeps = ui.beeps;
        errors.HandelError(c.code);
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0], std::string("12/10/2026 10:22:01 AM\r\n") + c.message + "\r\n");
        EXPECT_EQ(ui.beeps, beeps + 1);
    }
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ErrorReporterFixture, QuietPortEventsLeaveNoTrace) {
    for (const int16_t code : {int16_t{1}, int16_t{4}, int16_t{5}, int16_t{6}, int16_t{7}, int16_t{1004}, int16_t{1009}}) errors.HandelError(code);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ErrorReporterFixture, CtsEventIsLoggedOnlyWhenThePortBufferIsOverFull) {
    port.setReportedCount(32000);
    errors.HandelError(3);
    EXPECT_TRUE(log.entries.empty());
    port.setReportedCount(32001);
    errors.HandelError(3);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0], "12/10/2026 10:22:01 AM\r\nERROR - Communication buffer full.\r\n");
}

TEST_F(ErrorReporterFixture, OnlyTheProtocolErrorsDropAlignment) {
    for (const int16_t code : {int16_t{-10}, int16_t{-11}, int16_t{-12}}) {
        globals.InSync = true;
        errors.HandelError(code);
        EXPECT_FALSE(globals.InSync) << code;
    }
    globals.InSync = true;
    errors.HandelError(-13);
    errors.HandelError(1001);
    EXPECT_TRUE(globals.InSync);
}

TEST_F(ErrorReporterFixture, TheLastProtocolDetailFollowsEveryLaterMessage) {
    errors.HandelError(-10, "Sub X; detail\r\n 1 2");
    errors.HandelError(1008);
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0], "12/10/2026 10:22:01 AM\r\nERROR - Lost Sync.Sub X; detail\r\n 1 2\r\n");
    EXPECT_EQ(log.entries[1],
              "12/10/2026 10:22:01 AM\r\nERROR - Receive buffer overflow.Sub X; detail\r\n 1 2\r\n");
}

// Only a protocol error's detail is kept for the entries that follow.
TEST_F(ErrorReporterFixture, OtherDetailsAreNotKept) {
    errors.HandelError(-20, "File not found");
    errors.HandelError(-13, "not kept");
    errors.HandelError(1008);
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0], "12/10/2026 10:22:01 AM\r\nFirst Sync not found\r\n");
    EXPECT_EQ(log.entries[1], "12/10/2026 10:22:01 AM\r\nERROR - Receive buffer overflow.\r\n");
}

TEST_F(ErrorReporterFixture, AFailedLogWriteIsDroppedQuietly) {
    log.fail = true;
    EXPECT_NO_THROW(errors.HandelError(-10));
    EXPECT_EQ(log.attempts, 1);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(ui.boxes.empty());
    log.fail = false;
    errors.HandelError(-10);
    EXPECT_EQ(log.entries.size(), 1u);
}

}  // namespace
}  // namespace tavrin
