#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingSurface.h"
#include "core/report/MethodsNotesPages.h"
#include "core/export/TextLines.h"

namespace pelomar::testing {
namespace {

using core::GetNextLine;
using core::GetNextNotesLine;
using Op = RecordingSurface::Op;

std::vector<std::string> allLines(const std::string& text) {
    std::vector<std::string> out;
    int32_t pos = 1;
    std::string line;
    bool more = false;
    for (GetNextLine(pos, text, line, more); more; GetNextLine(pos, text, line, more)) out.push_back(line);
    EXPECT_EQ(line, "");
    return out;
}

std::vector<std::string> allNotesLines(const std::string& text, int16_t width) {
    std::vector<std::string> out;
    int32_t pos = 1;
    std::string line;
    bool more = false;
    for (GetNextNotesLine(text, pos, width, line, more); more; GetNextNotesLine(text, pos, width, line, more))
        out.push_back(line);
    return out;
}

TEST(TextLines, LineReaderGivesEveryLineThenEnds) {
    EXPECT_EQ(allLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(allLines("last without end"), (std::vector<std::string>{"last without end"}));
    EXPECT_TRUE(allLines("").empty());
}

TEST(TextLines, NotesWrapAtWordsTrimmedAndCutHardWithoutSpace) {
    std::string words;
    while (words.size() < 100) words += "abcdefg ";
    words.resize(100);
    for (const std::string& l : allNotesLines(words, 40)) {
        EXPECT_LE(l.size(), 40u) << l;
        EXPECT_NE(l.front(), ' ');
        EXPECT_NE(l.back(), ' ');
        EXPECT_EQ(words.find(l + " ") != std::string::npos || words.ends_with(l), true) << l;
    }
    const std::string word45(45, 'x');
    EXPECT_EQ(allNotesLines(word45, 40), (std::vector<std::string>{std::string(40, 'x'), "xxxxx"}));
    // A part that ends in a space is cut there; one cut just before a space
    // keeps the part, and the rest starts at that space.
    EXPECT_EQ(allNotesLines("aaaa bbbb", 5), (std::vector<std::string>{"aaaa", "bbbb"}));
    EXPECT_EQ(allNotesLines("aaaa bbbbbb", 4), (std::vector<std::string>{"aaaa", "", "bbbb", "bb"}));
    EXPECT_EQ(allNotesLines("  one  \r\n   \r\n", 40), (std::vector<std::string>{"one", ""}));
    EXPECT_EQ(core::LastSpacePos("a b c"), 4);
    EXPECT_EQ(core::LastSpacePos("abc"), 0);
}

// A 800 x 1000 pixel page at 96 dots an inch: 12000 x 15000 twips. Lines of
// the recording fake are 1.5 x the font size in pixels: "Courier New" 10 is
// 225 twips; the title font (12) gives a pitch of 1.3 x 270 = 351.
struct Page {
    RecordingSurface p{800, 1000};
    static constexpr double kH = 15000, kW = 12000, kPitch = 351, kLine = 225;
    Page() { p.setFontSize(12); }

    struct Printed {
        std::string text;
        double x, y;
        int page;
    };
    std::vector<Printed> printed() const {
        std::vector<Printed> out;
        int page = 0;
        for (const auto& r : p.records) {
            if (r.op == Op::NewPage) ++page;
            if (r.op == Op::Print) out.push_back({r.text, r.x1, r.y1, page});
        }
        return out;
    }
    // Vertical rules per page.
    std::vector<std::vector<RecordingSurface::Record>> rules() const {
        std::vector<std::vector<RecordingSurface::Record>> out(1);
        for (const auto& r : p.records) {
            if (r.op == Op::NewPage) out.emplace_back();
            if (r.op == Op::Line && r.x1 == r.x2) out.back().push_back(r);
        }
        return out;
    }
    int pages() const { return static_cast<int>(p.of(Op::NewPage).size()) + 1; }
};

std::string lines(int n, const std::string& stem) {
    std::string t;
    for (int i = 0; i < n; ++i) t += stem + std::to_string(i) + "\r\n";
    return t;
}

TEST(MethodsNotesPages, MethodsOnlyBelowTheChartThenFromTheTopOfEachPage) {
    Page pg;
    core::PrintMethodsAndNotes(pg.p, lines(200, "step "), "", true, true, false);
    const auto printed = pg.printed();
    ASSERT_EQ(printed.size(), 201u);
    const double chartBottom = Page::kH / 1.7;
    EXPECT_EQ(printed[0].text, "Methods:");
    EXPECT_DOUBLE_EQ(printed[0].y, chartBottom + Page::kPitch);
    EXPECT_DOUBLE_EQ(printed[1].y, chartBottom + Page::kPitch + Page::kLine + Page::kPitch);
    // The rule over the text, from the margin to 93 % of the width.
    const auto first = pg.p.of(Op::Line).front();
    EXPECT_DOUBLE_EQ(first.x1, 700);
    EXPECT_DOUBLE_EQ(first.x2, Page::kW * 0.93);
    EXPECT_DOUBLE_EQ(first.y1, chartBottom);
    int page = 0;
    for (size_t i = 1; i < printed.size(); ++i) {
        EXPECT_DOUBLE_EQ(printed[i].x, 700);
        EXPECT_LT(printed[i].y + Page::kLine, Page::kH + Page::kPitch) << i;
        if (printed[i].page != page) {
            page = printed[i].page;
            EXPECT_DOUBLE_EQ(printed[i].y, 600) << "page " << page;
            // The page broke only once the previous line left no pitch.
            EXPECT_GT(printed[i - 1].y + Page::kLine + Page::kPitch, Page::kH);
        }
    }
    EXPECT_GE(pg.pages(), 3);
    for (const auto& r : pg.rules()) EXPECT_TRUE(r.empty());
}

TEST(MethodsNotesPages, NotesOnlyWithoutChartWrapAtEightyFromATenthOfThePage) {
    Page pg;
    const std::string notes(200, 'n');
    core::PrintMethodsAndNotes(pg.p, "", notes, false, false, true);
    const auto printed = pg.printed();
    ASSERT_EQ(printed.size(), 4u);
    EXPECT_EQ(printed[0].text, "Notes:");
    EXPECT_DOUBLE_EQ(printed[0].y, Page::kH / 10);
    EXPECT_DOUBLE_EQ(printed[0].x, 700);
    EXPECT_EQ(printed[1].text.size(), 80u);
    EXPECT_EQ(printed[3].text.size(), 40u);
    for (const auto& l : printed) EXPECT_DOUBLE_EQ(l.x, 700);
    EXPECT_TRUE(pg.rules()[0].empty());
    EXPECT_EQ(pg.p.of(Op::Print).back().font, "Courier New");
}

TEST(MethodsNotesPages, LongMethodsShortNotesFillTheRightColumnOfThePageTheyFitOn) {
    Page pg;
    core::PrintMethodsAndNotes(pg.p, lines(150, "m"), lines(5, "note "), true, true, true);
    const double notesX = Page::kW / 2 + 100, ruleX = Page::kW / 2 - 50;
    const auto printed = pg.printed();
    std::vector<Page::Printed> notes;
    for (const auto& l : printed)
        if (l.x == notesX) notes.push_back(l);
    ASSERT_EQ(notes.size(), 6u);  // heading and five lines
    EXPECT_EQ(notes[0].text, "Notes:");
    EXPECT_EQ(notes[1].text, "note 0");
    const double columnTop = printed[0].y + Page::kLine + Page::kPitch;
    EXPECT_DOUBLE_EQ(notes[1].y, columnTop);
    for (const auto& n : notes) EXPECT_EQ(n.page, 0);
    const auto rules = pg.rules();
    ASSERT_GE(rules.size(), 2u);
    ASSERT_EQ(rules[0].size(), 1u);
    EXPECT_DOUBLE_EQ(rules[0][0].x1, ruleX);
    EXPECT_DOUBLE_EQ(rules[0][0].y1, Page::kH / 1.7);
    EXPECT_DOUBLE_EQ(rules[0][0].y2, Page::kH);
    for (size_t i = 1; i < rules.size(); ++i) EXPECT_TRUE(rules[i].empty()) << "page " << i;
}

TEST(MethodsNotesPages, NotesLongerThanMethodsGoOnOverPagesWithTheColumnRule) {
    Page pg;
    core::PrintMethodsAndNotes(pg.p, lines(3, "m"), lines(150, "note "), false, true, true);
    const double notesX = Page::kW / 2 + 100, ruleX = Page::kW / 2 - 50;
    const auto printed = pg.printed();
    for (const auto& l : printed)
        if (l.text.starts_with("m")) {
            EXPECT_EQ(l.page, 0);
        }
    const double columnTop = Page::kH / 10 + Page::kLine + Page::kPitch;
    bool firstNote = true;
    int page = 0;
    for (const auto& l : printed) {
        if (!l.text.starts_with("note")) continue;
        EXPECT_DOUBLE_EQ(l.x, notesX);
        if (firstNote) {
            EXPECT_DOUBLE_EQ(l.y, columnTop);
        }
        if (l.page != page) {
            EXPECT_DOUBLE_EQ(l.y, Page::kH / 25);
        }
        page = l.page;
        firstNote = false;
    }
    const auto rules = pg.rules();
    ASSERT_GE(rules.size(), 2u);
    EXPECT_DOUBLE_EQ(rules[0][0].y1, Page::kH / 10);  // from the heading without a chart
    for (size_t i = 1; i < rules.size(); ++i) {
        ASSERT_EQ(rules[i].size(), 1u) << "page " << i;
        EXPECT_DOUBLE_EQ(rules[i][0].x1, ruleX);
        EXPECT_DOUBLE_EQ(rules[i][0].y1, Page::kH / 25);
    }
}

TEST(MethodsNotesPages, EmptyMethodsPrintTheUnderlinedHeadingOnly) {
    Page pg;
    core::PrintMethodsAndNotes(pg.p, "", "", false, true, false);
    EXPECT_EQ(pg.p.printed(), (std::vector<std::string>{"Methods:"}));
    const auto line = pg.p.of(Op::Line).at(0);
    EXPECT_DOUBLE_EQ(line.y1, Page::kH / 10 + Page::kPitch);
    EXPECT_DOUBLE_EQ(line.x2 - line.x1, pg.p.textWidth("Methods:"));
}

TEST(MethodsNotesPages, NothingAskedForPrintsNothing) {
    Page pg;
    core::PrintMethodsAndNotes(pg.p, "m\r\n", "n", true, false, false);
    EXPECT_TRUE(pg.p.records.empty());
}

TEST(MethodsNotesPages, TheLastPageAlwaysCarriesText) {
    for (int n = 1; n <= 140; ++n) {
        for (const bool notesToo : {false, true}) {
            Page pg;
            core::PrintMethodsAndNotes(pg.p, lines(n, "m"), notesToo ? lines(n / 2, "n") : "",
                                       true, true, notesToo);
            const auto& recs = pg.p.records;
            ASSERT_FALSE(recs.empty());
            const bool printedSinceBreak = [&] {
                for (auto it = recs.rbegin(); it != recs.rend(); ++it) {
                    if (it->op == Op::Print) return true;
                    if (it->op == Op::NewPage) return false;
                }
                return true;
            }();
            EXPECT_TRUE(printedSinceBreak) << n << " lines, notes " << notesToo;
        }
    }
}

TEST(MethodsNotesPages, DegenerateFontsAndLongLinesStillEnd) {
    // Zero-height fonts: nothing moves down, yet every text is read through.
    {
        struct ZeroCourier : RecordingSurface {
            using RecordingSurface::RecordingSurface;
            double textHeight(const std::string&) const override { return 0; }
        } zero(800, 1000);
        core::PrintMethodsAndNotes(zero, lines(50, "m"), lines(50, "n"), true, true, true);
        EXPECT_EQ(zero.printed().size(), 102u);
    }
    // A pitch taller than the page: one line a page.
    {
        Page pg;
        pg.p.setFontSize(1000);
        core::PrintMethodsAndNotes(pg.p, "", lines(5, "n"), false, false, true);
        EXPECT_EQ(pg.p.printed().size(), 6u);
        EXPECT_EQ(pg.pages(), 5);
    }
    // One notes line of 10000 characters without a space.
    {
        Page pg;
        core::PrintMethodsAndNotes(pg.p, "", std::string(10000, 'x'), false, false, true);
        EXPECT_EQ(pg.p.printed().size(), 126u);  // heading and 125 lines of 80
    }
}

}  // namespace
}  // namespace pelomar::testing
