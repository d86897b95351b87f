#include <gtest/gtest.h>

#include <cmath>

#include "core/ErrorCodes.h"
#include "core/settings/OptionsSettings.h"
#include "common/RuntimeErrors.h"
#include "core/SettingText.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/RecorderRig.h"
#include "../../support/GermanLocale.h"
#include "common/RuntimeError.h"

namespace tavrin::test {
namespace {

namespace err = pelomar::core::err;

int32_t conversionError(const std::function<void()>& convert) {
    try {
        convert();
    } catch (const pelomar::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(SettingText, NumbersConvertWithTheUsersSeparator) {
    struct Case {
        const char* text;
        char separator;
        double value;
        int32_t error;
    };
    const Case cases[] = {
        {"24", '.', 24.0, 0},       {" 1.5 ", '.', 1.5, 0},   {"1,5", ',', 1.5, 0},
        {"-2.5E-3", '.', -0.0025, 0}, {"+7", '.', 7.0, 0},    {".5", '.', 0.5, 0},
        {"1,5", '.', 0, err::kTypeMismatch},                  {"1.5", ',', 0, err::kTypeMismatch},
        {"", '.', 0, err::kTypeMismatch},                     {"abc", '.', 0, err::kTypeMismatch},
        {"inf", '.', 0, err::kTypeMismatch},                  {"0x10", '.', 0, err::kTypeMismatch},
        {"1e", '.', 0, err::kTypeMismatch},                   {"1e999", '.', 0, err::kOverflow},
        {"1e-999", '.', 0.0, 0},
    };
    for (const Case& c : cases) {
        double value = -1;
        EXPECT_EQ(conversionError([&] { value = textToDouble(c.text, c.separator); }), c.error) << c.text;
        if (c.error == 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(SettingText, IntegersRoundHalfToEvenAndOverflowAtTheIntegerRange) {
    struct Case {
        const char* text;
        int16_t value;
        int32_t error;
    };
    const Case cases[] = {{"3", 3, 0},        {"2.5", 2, 0},       {"3.5", 4, 0},
                          {"32767", 32767, 0}, {"32768", 0, err::kOverflow}, {"-32768", -32768, 0},
                          {"COM3", 0, err::kTypeMismatch}};
    for (const Case& c : cases) {
        int16_t value = -1;
        EXPECT_EQ(conversionError([&] { value = textToInteger(c.text, '.'); }), c.error) << c.text;
        if (c.error == 0) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(SettingText, BooleansAreWordsInAnyCaseOrNumbers) {
    EXPECT_TRUE(textToBoolean("True", '.'));
    EXPECT_TRUE(textToBoolean("TRUE", '.'));
    EXPECT_FALSE(textToBoolean("false", '.'));
    EXPECT_FALSE(textToBoolean("0", '.'));
    EXPECT_TRUE(textToBoolean("-1", '.'));
    EXPECT_TRUE(textToBoolean("0.5", '.'));
    EXPECT_EQ(conversionError([] { (void)textToBoolean("Yes", '.'); }), err::kTypeMismatch);
}

TEST(SettingText, DoublesAreWrittenShortWithTheUsersSeparator) {
    EXPECT_EQ(doubleToText(24.0, '.'), "24");
    EXPECT_EQ(doubleToText(1.5, ','), "1,5");
    EXPECT_EQ(doubleToText(0.1, '.'), "0.1");
    EXPECT_EQ(doubleToText(1e-5, '.'), "1E-05");
    EXPECT_EQ(doubleToText(1.0 / 3.0, '.'), "0.333333333333333");
    EXPECT_EQ(textToDouble(doubleToText(12.25, ','), ','), 12.25);
}

class OptionsSettingsTest : public ::testing::Test {
protected:
    void set(const char* key, const char* value) { store.SaveSetting("Options", key, value); }
    std::string get(const char* key) { return store.GetSetting("Options", key, "<none>"); }

    RecorderRig rig;
    FakeSettingsStore store;
    OptionsSettings options{store, rig.globals(), rig.rec->errors, ','};
};

TEST_F(OptionsSettingsTest, EmptyStoreGivesTheDefaultsSilently) {
    options.LoadSettings();
    EXPECT_EQ(rig.globals().ComPortNumber, 1);
    EXPECT_TRUE(rig.globals().LogOn);
    EXPECT_EQ(rig.globals().DataFileSizeHours, 24.0);
    EXPECT_TRUE(rig.ui.boxes.empty());
    EXPECT_EQ(store.writes, 0) << "loading writes nothing";
}

TEST_F(OptionsSettingsTest, StoredValuesAreRead) {
    set("comportnumber", "3");
    set("DataLogging", "False");
    set("DataFileSizeHours", "1,5");
    options.LoadSettings();
    EXPECT_EQ(rig.globals().ComPortNumber, 3);
    EXPECT_FALSE(rig.globals().LogOn);
    EXPECT_EQ(rig.globals().DataFileSizeHours, 1.5);
}

// The settings text follows the user's separator, never the C library's
// locale: a German process locale with a "." separator keeps "1.5".
TEST_F(OptionsSettingsTest, RoundTripIsTheSameUnderAGermanLocale) {
    GermanLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine (scripts/setup makes one)";
    for (const char separator : {'.', ','}) {
        RecorderRig r;
        FakeSettingsStore s;
        OptionsSettings o{s, r.globals(), r.rec->errors, separator};
        r.globals().ComPortNumber = 4;
        r.globals().LogOn = false;
        r.globals().DataFileSizeHours = 1.5;
        o.SaveSettings();
        EXPECT_EQ(s.GetSetting("Options", "DataFileSizeHours", ""), std::string("1") + separator + "5");
        r.globals().DataFileSizeHours = 24;
        o.LoadSettings();
        EXPECT_EQ(r.globals().ComPortNumber, 4);
        EXPECT_FALSE(r.globals().LogOn);
        EXPECT_EQ(r.globals().DataFileSizeHours, 1.5) << separator;
        EXPECT_TRUE(r.ui.boxes.empty());
    }
}

TEST_F(OptionsSettingsTest, AnUnconvertibleValueIsReportedAndAllThreeTakeTheirDefaults) {
    set("ComPortNumber", "7");
    set("DataLogging", "maybe");
    set("DataFileSizeHours", "2");
    rig.globals().DataFileSizeHours = 99;
    options.LoadSettings();
    EXPECT_EQ(rig.globals().ComPortNumber, 1) << "the port already read is reset too";
    EXPECT_TRUE(rig.globals().LogOn);
    EXPECT_EQ(rig.globals().DataFileSizeHours, 24.0);
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_EQ(rig.ui.boxes[0].text,
              "Cannot load configuration file.\r" + pelomar::core::errorText(err::kTypeMismatch) +
                  "\rUsing default values.");
    EXPECT_EQ(rig.ui.boxes[0].title, "ERROR!");
}

// Hours the backup cannot use would make it keep a few calls only (or count
// past 32 bits): reported like a value that does not convert.
TEST_F(OptionsSettingsTest, HoursPerGenerationTheBackupCannotUseAreReported) {
    struct Case {
        const char* text;
        int32_t error;  // 0: taken as stored
    } cases[] = {
        {"0", err::kInvalidProcedureCall},      {"-24", err::kInvalidProcedureCall},
        {"0,005", err::kInvalidProcedureCall},  // 18 s: shorter than one 20 s interval
        {"0,00555555555555556", 0},             // one interval
        {"596", 0},
        {"597", err::kInvalidProcedureCall},    // 107 460 calls of 20 000 ms: past 2^31 ms
        {"1e300", err::kInvalidProcedureCall},
        {"1e999", err::kOverflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RecorderRig r;
        FakeSettingsStore s;
        OptionsSettings o{s, r.globals(), r.rec->errors, ','};
        s.SaveSetting("Options", "ComPortNumber", "4");
        s.SaveSetting("Options", "DataFileSizeHours", c.text);
        o.LoadSettings();
        if (c.error == 0) {
            EXPECT_TRUE(r.ui.boxes.empty());
            EXPECT_EQ(r.globals().ComPortNumber, 4);
            EXPECT_EQ(r.globals().DataFileSizeHours, textToDouble(c.text, ','));
            continue;
        }
        EXPECT_EQ(r.globals().ComPortNumber, 1);
        EXPECT_EQ(r.globals().DataFileSizeHours, 24.0);
        ASSERT_EQ(r.ui.boxes.size(), 1u);
        EXPECT_EQ(r.ui.boxes[0].text, "Cannot load configuration file.\r" + pelomar::core::errorText(c.error) +
                                          "\rUsing default values.");
    }
}

TEST_F(OptionsSettingsTest, AnUnreadableStoreIsReportedLikeABadValue) {
    store.failReads = err::kPermissionDenied;
    options.LoadSettings();
    ASSERT_EQ(rig.ui.boxes.size(), 1u);
    EXPECT_NE(rig.ui.boxes[0].text.find(pelomar::core::errorText(err::kPermissionDenied)), std::string::npos);
    EXPECT_EQ(rig.globals().ComPortNumber, 1);
}

TEST_F(OptionsSettingsTest, SavedTextsAreExactAndInOrder) {
    rig.globals().ComPortNumber = 10;
    rig.globals().LogOn = false;
    rig.globals().DataFileSizeHours = 0.5;
    options.SaveSettings();
    const SettingsStore::Pairs expected{
        {"ComPortNumber", "10"}, {"DataLogging", "False"}, {"DataFileSizeHours", "0,5"}};
    EXPECT_EQ(store.GetAllSettings("Options"), expected);

    rig.globals().LogOn = true;
    options.SaveSettings();
    EXPECT_EQ(get("DataLogging"), "True");
}

TEST_F(OptionsSettingsTest, AFailingSaveRaisesForTheCallerToIgnore) {
    store.failWrites = err::kPermissionDenied;
    EXPECT_THROW(options.SaveSettings(), pelomar::RuntimeError);
}

}  // namespace
}  // namespace tavrin::test
