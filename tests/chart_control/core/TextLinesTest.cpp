#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/export/TextLines.h"

using namespace pelomar::core;

namespace {

struct Line {
    std::string text;
    bool more;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l) { return os << '"' << l.text << '"' << (l.more ? "+" : "."); }

// Every call until the reader reports the end, that call included.
std::vector<Line> readAll(const std::string& text) {
    std::vector<Line> out;
    int32_t pos = 1;
    for (int guard = 0; guard < 1000; ++guard) {
        Line l;
        GetNextLine(pos, text, l.text, l.more);
        out.push_back(l);
        if (!l.more) break;
    }
    return out;
}

std::vector<Line> wrapAll(const std::string& notes, int16_t width) {
    std::vector<Line> out;
    int32_t pos = 1;
    for (int guard = 0; guard < 1000; ++guard) {
        Line l;
        GetNextNotesLine(notes, pos, width, l.text, l.more);
        out.push_back(l);
        if (!l.more) break;
    }
    return out;
}

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

}  // namespace

TEST(TextLines, LastSpacePosIsOneBasedAndZeroWithoutSpace) {
    EXPECT_EQ(LastSpacePos(""), 0);
    EXPECT_EQ(LastSpacePos("word"), 0);
    EXPECT_EQ(LastSpacePos(" "), 1);
    EXPECT_EQ(LastSpacePos("a b c"), 4);
    EXPECT_EQ(LastSpacePos("ab  "), 4);
}

TEST(TextLines, LineReaderGivesEachLineThenTheEnd) {
    using L = std::vector<Line>;
    EXPECT_EQ(readAll(""), (L{{"", false}}));
    EXPECT_EQ(readAll("a\r\n\r\nb\r\n"), (L{{"a", true}, {"", true}, {"b", true}, {"", false}}));
    // A last line without its CR LF still counts; leading blanks are kept.
    EXPECT_EQ(readAll("  x\r\ny"), (L{{"  x", true}, {"y", true}, {"", false}}));
    EXPECT_EQ(readAll("\r\n"), (L{{"", true}, {"", false}}));
}

TEST(TextLines, NotesLinesShorterThanTheWidthComeWholeAndTrimmed) {
    using L = std::vector<Line>;
    EXPECT_EQ(wrapAll("", 40), (L{{"", false}}));
    EXPECT_EQ(wrapAll("  Run A  \r\n\r\n     \r\nend", 40),
              (L{{"Run A", true}, {"", true}, {"", true}, {"end", true}, {"", false}}));
    // Exactly the width is not wrapped.
    const std::string forty(40, 'x');
    EXPECT_EQ(wrapAll(forty + "\r\n", 40), (L{{forty, true}, {"", false}}));
}

TEST(TextLines, LongNotesLineWrapsAtWordsWithinTheWidth) {
    std::string line;
    for (int i = 0; line.size() < 100; ++i) line += (i % 3 == 0 ? "buffer " : i % 3 == 1 ? "gradient " : "pH ");
    line.resize(100);
    if (line.back() == ' ') line.back() = 'z';
    const std::vector<Line> got = wrapAll(line + "\r\nnext", 40);
    ASSERT_GE(got.size(), 5u);
    std::string rejoined;
    size_t i = 0;
    for (; got[i].text != "next"; ++i) {
        ASSERT_TRUE(got[i].more);
        EXPECT_LE(got[i].text.size(), 40u) << got[i];
        EXPECT_NE(got[i].text.front(), ' ');
        EXPECT_NE(got[i].text.back(), ' ');
        rejoined += got[i].text + " ";
    }
    EXPECT_EQ(words(rejoined), words(line));
    EXPECT_EQ(got.back(), (Line{"", false}));
}

TEST(TextLines, NotesCutCases) {
    using L = std::vector<Line>;
    const std::string w45(45, 'w');
    // A word longer than the width is cut hard after its 40th character.
    EXPECT_EQ(wrapAll(w45, 40), (L{{w45.substr(0, 40), true}, {"wwwww", true}, {"", false}}));
    // A cut just before a space keeps the whole part.
    const std::string a40(40, 'a');
    EXPECT_EQ(wrapAll(a40 + " b", 40), (L{{a40, true}, {"b", true}, {"", false}}));
    // A cut inside a word goes back to the last space.
    EXPECT_EQ(wrapAll("ab cdef", 5), (L{{"ab", true}, {"cdef", true}, {"", false}}));
    // A space only at the start still moves on.
    EXPECT_EQ(wrapAll(" abcdefgh", 4), (L{{"", true}, {"abcd", true}, {"efgh", true}, {"", false}}));
}

TEST(TextLines, NotesWidthBelowOneStillEnds) {
    const std::vector<Line> got = wrapAll("abc", 0);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], (Line{"a", true}));
    EXPECT_EQ(got[3], (Line{"", false}));
}
