#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dialogs/BoxText.h"
#include "core/dialogs/NotesLogic.h"
#include "core/dialogs/LogNameLogic.h"
#include "fakes/FakeDialogChart.h"
#include "fakes/FakeUi.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

const std::string kNotesQuestion = "Your notes have been changed\rSave changes ?";

struct NotesRig {
    NotesRig() : editor(chart, globals, ui, [this] { ++releases; }) {
        chart.notes = "pH 7.2\r\nbuffer A";
        globals.CurrentChart = 2;
        globals.Saved.fill(true);
        editor.LoadNotes();
    }
    FakeDialogChart chart;
    modGlobas globals;
    FakeUi ui;
    int releases = 0;
    NotesLogic editor;
};

}  // namespace

TEST(BoxText, LineBreaksConvertBothWays) {
    EXPECT_EQ(toBoxText("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(fromBoxText("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(fromBoxText(toBoxText("x\r\n\r\ny")), "x\r\n\r\ny");
}

TEST(NotesLogic, UnchangedNotesCloseWithoutAQuestion) {
    NotesRig rig;
    EXPECT_EQ(rig.editor.txtNotes, "pH 7.2\nbuffer A");
    rig.editor.cmdCancel_Click();
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.releases, 1);
    NotesRig closeBox;
    EXPECT_FALSE(closeBox.editor.Form_Unload());
    EXPECT_TRUE(closeBox.ui.boxes.empty());
    EXPECT_EQ(closeBox.chart.noteUpdates, 0);
}

TEST(NotesLogic, LoneLineFeedsAreNoEdit) {
    NotesRig rig;
    rig.chart.notes = "one\ntwo";
    rig.editor.LoadNotes();
    rig.editor.cmdCancel_Click();
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.chart.notes, "one\ntwo");
}

TEST(NotesLogic, OkKeepsChangedNotesAndMarksTheSlotUnsaved) {
    NotesRig rig;
    rig.editor.txtNotes = "pH 7.4\nbuffer B";
    rig.editor.cmdOk_Click();
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(rig.chart.notes, "pH 7.4\r\nbuffer B");
    EXPECT_FALSE(rig.globals.Saved[2]);
    EXPECT_TRUE(rig.globals.Saved[0]);
    EXPECT_EQ(rig.releases, 1);
}

TEST(NotesLogic, CancelWithChangesAsksAndFollowsTheAnswer) {
    {
        NotesRig rig;
        rig.editor.txtNotes = "new";
        rig.ui.answer = UiServices::Answer::Yes;
        rig.editor.cmdCancel_Click();
        ASSERT_EQ(rig.ui.boxes.size(), 1u);
        EXPECT_EQ(rig.ui.boxes[0].text, kNotesQuestion);
        EXPECT_EQ(rig.ui.boxes[0].title, "Tavrin MS");
        EXPECT_EQ(rig.ui.boxes[0].buttons, UiServices::Buttons::YesNoCancel);
        EXPECT_EQ(rig.ui.boxes[0].icon, UiServices::Icon::Question);
        EXPECT_EQ(rig.chart.notes, "new");
        EXPECT_FALSE(rig.globals.Saved[2]);
        EXPECT_EQ(rig.releases, 1);
    }
    {
        NotesRig rig;
        rig.editor.txtNotes = "new";
        rig.ui.answer = UiServices::Answer::No;
        rig.editor.cmdCancel_Click();
        EXPECT_EQ(rig.chart.notes, "pH 7.2\r\nbuffer A");
        EXPECT_TRUE(rig.globals.Saved[2]);
        EXPECT_EQ(rig.releases, 1);
    }
    {
        NotesRig rig;
        rig.editor.txtNotes = "new";
        rig.ui.answer = UiServices::Answer::Cancel;
        EXPECT_TRUE(rig.editor.Form_Unload());
        EXPECT_EQ(rig.releases, 0);
        EXPECT_EQ(rig.editor.txtNotes, "new");
        EXPECT_FALSE(rig.editor.Closing);
        EXPECT_EQ(rig.chart.noteUpdates, 0);
    }
}

namespace {

struct NameRig {
    NameRig()
        : entry({globals, ui, [this](const std::string& c) { caption = c; }, [this] { ++registryWrites; }}) {
        globals.LogName = "Default";
    }
    modGlobas globals;
    FakeUi ui;
    std::string caption = "untouched";
    int registryWrites = 0;
    LogNameLogic entry;
};

}  // namespace

TEST(LogNameLogic, KeysOutsideDigitsLettersAndSpaceBeepAndAreDropped) {
    NameRig rig;
    const std::vector<int> passed{'0', '9', 'A', 'Z', 'a', 'z', ' ', 8};
    const std::vector<int> dropped{'-', '_', '|', '\\', '.', 0xE9, 13};
    for (int key : passed) EXPECT_EQ(rig.entry.txtLogFileName_KeyPress(key), key);
    EXPECT_EQ(rig.ui.beeps, 0);
    for (int key : dropped) EXPECT_EQ(rig.entry.txtLogFileName_KeyPress(key), 0);
    EXPECT_EQ(rig.ui.beeps, 7);
}

TEST(LogNameLogic, PastedTextKeepsOnlyNameCharactersUpTo25) {
    NameRig rig;
    EXPECT_EQ(rig.entry.txtLogFileName_Change("Line|3_B"), "Line3B");
    EXPECT_EQ(rig.ui.beeps, 1);
    const std::string t25(25, 'x');
    EXPECT_EQ(rig.entry.txtLogFileName_Change(t25), t25);
    EXPECT_EQ(rig.entry.txtLogFileName_Change(t25 + "y"), t25);
    EXPECT_EQ(rig.ui.beeps, 2);
    EXPECT_TRUE(rig.entry.cmdOKButtonEnabled);
    rig.entry.txtLogFileName_Change("");
    EXPECT_FALSE(rig.entry.cmdOKButtonEnabled);
}

TEST(LogNameLogic, OkStoresTheNameSetsTheTitleAndRewritesTheRecord) {
    NameRig rig;
    rig.entry.mnuLogName_Click([&] {
        EXPECT_EQ(rig.entry.txtLogFileName, "Default");
        rig.entry.txtLogFileName_Change("Kado 2");
        rig.entry.cmdOKButton_Click();
        EXPECT_TRUE(rig.entry.Hidden);
        EXPECT_EQ(rig.registryWrites, 0);
    });
    EXPECT_EQ(rig.globals.LogName, "Kado 2");
    EXPECT_EQ(rig.caption, "Tavrin MS - System: Kado 2");
    EXPECT_EQ(rig.registryWrites, 1);
    // Unchanged name: title and record all the same.
    rig.caption.clear();
    rig.entry.mnuLogName_Click([&] { rig.entry.cmdOKButton_Click(); });
    EXPECT_EQ(rig.caption, "Tavrin MS - System: Kado 2");
    EXPECT_EQ(rig.registryWrites, 2);
}

TEST(LogNameLogic, CancelOrCloseBoxKeepsNameAndTitleButRewritesTheRecord) {
    NameRig rig;
    rig.entry.mnuLogName_Click([&] {
        rig.entry.txtLogFileName_Change("Other");
        rig.entry.cmdCancelButton_Click();
    });
    rig.entry.mnuLogName_Click([&] { rig.entry.txtLogFileName_Change("Other"); });
    EXPECT_EQ(rig.globals.LogName, "Default");
    EXPECT_EQ(rig.caption, "untouched");
    EXPECT_EQ(rig.registryWrites, 2);
}
