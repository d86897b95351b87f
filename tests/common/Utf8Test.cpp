#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, CodePageTextsBecomeUtf8ByteForByte) {
    EXPECT_EQ(pelomar::codePageToUtf8("Run 4"), "Run 4");
    // Latin-1 letters, the 0x80 row and its five undefined bytes.
    EXPECT_EQ(pelomar::codePageToUtf8("M\xFCller \xB5"), "M\xC3\xBCller \xC2\xB5");
    EXPECT_EQ(pelomar::codePageToUtf8("\x80\x8A\x9F"), "\xE2\x82\xAC\xC5\xA0\xC5\xB8");
    EXPECT_EQ(pelomar::codePageToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
    EXPECT_EQ(pelomar::codePageToUtf8(""), "");
}

TEST(Utf8, NamesAreCutBetweenCharactersAndStrayBytesCountAsOne) {
    const struct {
        std::string text;
        size_t length;
        std::string firstTwo;
    } cases[] = {
        {"abc", 3, "ab"},
        {"L\xC3\xB6sung", 6, "L\xC3\xB6"},
        {"\xCE\x94-run", 5, "\xCE\x94-"},
        {"\xE8\xA9\xA6\xE6\x96\x99", 2, "\xE8\xA9\xA6\xE6\x96\x99"},
        {"\xF0\x9F\x98\x80x", 2, "\xF0\x9F\x98\x80x"},
        // Not UTF-8: a code-page name, a cut sequence, an overlong form, a surrogate.
        {"M\xFCller", 6, "M\xFC"},
        {"\xE8\xA9", 2, "\xE8\xA9"},
        {"\xC0\xAF", 2, "\xC0\xAF"},
        {"\xED\xA0\x80", 3, "\xED\xA0"},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pelomar::utf8Length(c.text), c.length) << c.text;
        EXPECT_EQ(pelomar::utf8Left(c.text, 2), c.firstTwo) << c.text;
        EXPECT_EQ(pelomar::utf8Left(c.text, 99), c.text) << c.text;
    }
}

}  // namespace
