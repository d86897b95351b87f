#include <gtest/gtest.h>

#include "core/axis/NumericKeyFilter.h"
#include "fakes/FakeUi.h"

namespace tavrin::test {
namespace {

struct KeyCase {
    const char* name;
    int16_t key;
    EntryState entry;
    char sep;
    bool decimalAllowed;
    bool minusAllowed;
    bool passes;
};

TEST(NumericKeyFilter, KeepsDigitsAndOneSeparatorAndALeadingMinus) {
    const KeyCase cases[] = {
        {"digit", '7', {"12", 2, ""}, '.', true, true, true},
        {"backspace", kKeyBackspace, {"12", 2, ""}, '.', false, false, true},
        {"first separator", '.', {"12", 2, ""}, '.', true, false, true},
        {"second separator", '.', {"1.5", 3, ""}, '.', true, false, false},
        {"separator replacing the first", '.', {"1.5", 1, ".5"}, '.', true, false, true},
        {"separator not allowed", '.', {"15", 2, ""}, '.', false, false, false},
        {"full stop under a comma locale", '.', {"15", 2, ""}, ',', true, false, false},
        {"comma under a comma locale", ',', {"15", 2, ""}, ',', true, false, true},
        {"minus at the start", '-', {"5", 0, ""}, '.', true, true, true},
        {"minus after the start", '-', {"5", 1, ""}, '.', true, true, false},
        {"second minus", '-', {"-5", 0, ""}, '.', true, true, false},
        {"minus replacing the first", '-', {"-5", 0, "-"}, '.', true, true, true},
        {"minus not allowed", '-', {"", 0, ""}, '.', true, false, false},
        {"letter", 'a', {"", 0, ""}, '.', true, true, false},
        {"clipboard paste", 22, {"", 0, ""}, '.', true, true, false},
        {"plus", '+', {"", 0, ""}, '.', true, true, false},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(NumericKeyPasses(c.key, c.entry, c.sep, c.decimalAllowed, c.minusAllowed), c.passes) << c.name;
}

TEST(NumericKeyFilter, ARefusedKeyBeepsAndBecomesZero) {
    FakeUi ui;
    EXPECT_EQ(FilterNumericKey('x', {"1", 1, ""}, '.', true, true, ui), 0);
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(FilterNumericKey('4', {"1", 1, ""}, '.', true, true, ui), '4');
    EXPECT_EQ(ui.beeps, 1);
}

TEST(NumericKeyFilter, TheSeparatorIsTheSecondCharacterOfOnePointThree) {
    EXPECT_EQ(GetDecimalSeparator("1.3"), '.');
    EXPECT_EQ(GetDecimalSeparator("1,3"), ',');
    EXPECT_EQ(GetDecimalSeparator(""), '.');
}

}  // namespace
}  // namespace tavrin::test
