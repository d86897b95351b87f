#include <gtest/gtest.h>

#include <cmath>

#include "core/registry/LeadingNumber.h"
#include "core/registry/LogInfoRecord.h"

using namespace tavrin;

TEST(LogInfoRecord, LineColumnsFollowNameAndDateLengths) {
    // 8-character name, 9-character date: 22 spaces after the name, 4 after the date.
    EXPECT_EQ(FormatLogInfoLine("System A|1/14/2026|9:05:01 AM|4711"),
              "  System A" + std::string(22, ' ') + "1/14/2026" + std::string(4, ' ') + "9:05:01 AM");
    const std::string name25(25, 'N');
    const std::string line = FormatLogInfoLine(name25 + "|12/31/2026|23:59:59|1");
    EXPECT_EQ(line.substr(32, 10), "12/31/2026");
    EXPECT_EQ(line.substr(45), "23:59:59");
}

TEST(LogInfoRecord, LineEdgeCases) {
    struct Case {
        const char* entry;
        std::string line;
    } cases[] = {
        // no bar at all: the whole text, nothing padded
        {"Default", "  Default"},
        // a name past column 32 is not padded, the date follows at once
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF|d|t|9", "  ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFd" + std::string(10, ' ') + "t"},
        // empty fields still pad; the folder and anything after are never shown
        {"||||x", std::string(45, ' ')},
        {"N|D|T|123|extra", "  N" + std::string(29, ' ') + "D" + std::string(12, ' ') + "T"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatLogInfoLine(c.entry), c.line) << c.entry;
}

TEST(LogInfoRecord, FolderFieldIsTheFourthOnly) {
    EXPECT_EQ(LogInfoFolderField("Default|1/2/2026|10:00:00|123456"), "123456");
    EXPECT_EQ(LogInfoFolderField("a|b|c|12|34"), "12");
    EXPECT_EQ(LogInfoFolderField("a|b|c"), "");
    EXPECT_EQ(LogInfoFolderField("1"), "");
}

TEST(LogInfoRecord, OnlyDigitsNameAnInstanceFolder) {
    for (const char* good : {"0", "1", "4294967295"}) EXPECT_TRUE(IsInstanceFolderName(good)) << good;
    for (const char* bad : {"", ".", "..", "../1", "1/2", "/tmp", "-1", " 12", "12 ", "1.2"}) {
        EXPECT_FALSE(IsInstanceFolderName(bad)) << bad;
    }
}

TEST(LeadingNumber, ReadsTheLeadingNumberOnly) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"0", 0}, {"1", 1}, {"32767", 32767}, {"12abc", 12}, {"abc", 0}, {"", 0},
        {" 1 2", 12}, {"\t7\n", 7}, {"-3", -3}, {"+4", 4}, {"2.5", 2.5}, {".5", 0.5},
        {"1e3", 1000}, {"1D2", 100}, {"1e", 1}, {"1e-x", 1}, {"-", 0}, {".", 0},
        {"1,5", 1}, {"Default|1/2/2026", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
    EXPECT_EQ(LeadingNumber("1e-999"), 0.0);
}
