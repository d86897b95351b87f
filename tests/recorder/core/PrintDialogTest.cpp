#include <gtest/gtest.h>

#include <vector>

#include "core/ErrorCodes.h"
#include "core/dialogs/PrintCommand.h"
#include "core/dialogs/PrintLogic.h"
#include "fakes/FakeBusyCursor.h"
#include "fakes/FakeDialogChart.h"
#include "fakes/FakePrinterDialog.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct PrintRig {
    PrintRig() : command({printer, cursor, [this](int16_t e) { errors.push_back(e); }}) {}

    // The print dialog as the menu runs it, with `choose` in place of the user.
    void print(const std::function<void(PrintLogic&)>& choose) {
        command.mnuPrint_Click(chart, [&] {
            PrintLogic setup(chart, command.Choices, [this] { command.mnuPrintSetup_Click(); });
            setup.InitPrint();
            choose(setup);
        });
    }

    FakeDialogChart chart;
    FakePrinterDialog printer;
    FakeBusyCursor cursor;
    std::vector<int16_t> errors;
    PrintCommand command;
};

}  // namespace

TEST(PrintLogic, TraceBoxesAndChromatogramFollowEachOther) {
    FakeDialogChart chart;
    PrintChoices choices;
    PrintLogic s(chart, choices, nullptr);
    s.InitPrint();
    s.setTrace(s.chkUVTrace, false);
    s.setTrace(s.chkCondTrace, false);
    EXPECT_TRUE(s.chkChromotogram);
    s.setTrace(s.chkEvents, false);
    EXPECT_FALSE(s.chkChromotogram);
    s.setTrace(s.chkCondTrace, true);
    EXPECT_TRUE(s.chkChromotogram);
    EXPECT_FALSE(s.chkUVTrace);
    s.setChromotogram(false);
    EXPECT_FALSE(s.chkUVTrace || s.chkCondTrace || s.chkEvents);
    s.setChromotogram(true);
    EXPECT_TRUE(s.chkUVTrace && s.chkCondTrace && s.chkEvents);
}

TEST(PrintLogic, OkNeedsOneReportPart) {
    FakeDialogChart chart;
    PrintChoices choices;
    PrintLogic s(chart, choices, nullptr);
    s.InitPrint();
    s.setChromotogram(false);
    s.chkMethod = false;
    s.chkMethod_Click();
    EXPECT_TRUE(s.cmdOkEnabled);
    s.chkNotes = false;
    s.chkNotes_Click();
    EXPECT_FALSE(s.cmdOkEnabled);
    EXPECT_TRUE(s.FocusOnCancel);
    s.setTrace(s.chkEvents, true);
    EXPECT_TRUE(s.cmdOkEnabled);
    EXPECT_FALSE(s.FocusOnCancel);
}

TEST(PrintCommand, OkPrintsOncePerCopyWithTheTraceBitsAndTheNewTitle) {
    struct Case {
        bool uv, cond, events;
        int32_t option;
    } cases[] = {{true, true, true, 7}, {true, false, false, 4}, {false, true, true, 3}, {false, false, false, 0}};
    for (const Case& c : cases) {
        PrintRig rig;
        rig.printer.copies = 2;
        rig.print([&](PrintLogic& s) {
            EXPECT_EQ(s.txtTitel, "Chart Recorder");
            s.setTrace(s.chkUVTrace, c.uv);
            s.setTrace(s.chkCondTrace, c.cond);
            s.setTrace(s.chkEvents, c.events);
            s.chkNotes = false;
            s.chkNotes_Click();
            s.txtTitel = "Run 7";
            s.cmdOk_Click();
        });
        ASSERT_EQ(rig.chart.prints.size(), 2u);
        const FakeDialogChart::Print& p = rig.chart.prints[1];
        EXPECT_EQ(p.chromatogram, c.uv || c.cond || c.events);
        EXPECT_TRUE(p.methods);
        EXPECT_FALSE(p.notes);
        EXPECT_EQ(p.option, c.option);
        EXPECT_EQ(rig.chart.title, "Run 7");
        EXPECT_FALSE(rig.cursor.busy);
    }
}

TEST(PrintCommand, CancelPrintsNothingAndKeepsTheTitle) {
    PrintRig rig;
    rig.print([](PrintLogic& s) {
        s.txtTitel = "Other";
        s.cmdCancel_Click();
    });
    EXPECT_TRUE(rig.command.Choices.PrintCancelled);
    EXPECT_TRUE(rig.chart.prints.empty());
    EXPECT_EQ(rig.chart.title, "Chart Recorder");
    // Closing the window without a button is the same.
    rig.print([](PrintLogic&) {});
    EXPECT_TRUE(rig.chart.prints.empty());
}

TEST(PrintCommand, PrinterSetupSetsTheCopiesOfLaterReports) {
    PrintRig rig;
    rig.printer.nextCopies = 3;
    rig.print([](PrintLogic& s) {
        s.cmdPrintSetup_Click();
        s.cmdOk_Click();
    });
    EXPECT_EQ(rig.printer.shown, 1);
    EXPECT_EQ(rig.chart.prints.size(), 3u);
    rig.printer.nextCopies = 0;
    rig.command.mnuPrintSetup_Click();
    rig.chart.prints.clear();
    rig.print([](PrintLogic& s) { s.cmdOk_Click(); });
    EXPECT_TRUE(rig.chart.prints.empty());
    EXPECT_TRUE(rig.errors.empty());
}

TEST(PrintCommand, FailingPrinterDialogReportsItsOwnCode) {
    PrintRig rig;
    rig.printer.failWith = 28;
    rig.command.mnuPrintSetup_Click();
    EXPECT_EQ(rig.errors, std::vector<int16_t>{code::kPrintSetupFailed});
    EXPECT_EQ(rig.printer.Copies(), 1);
}
