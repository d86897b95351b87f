#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "../../support/ScratchFolder.h"
#include "platform/SettingsFile.h"
#include "common/RuntimeError.h"

namespace tavrin {
namespace {

using Pairs = SettingsStore::Pairs;

// A settings file in a fresh folder of its own.
class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() : folder(scratch.path().string()), path(folder + "/settings.ini") {}
    std::string fileText() const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    const ScratchFolder scratch;
    std::string folder;
    std::string path;
};

TEST_F(SettingsFileTest, MissingFileReadsAsAnEmptyStore) {
    SettingsFile store(path);
    EXPECT_EQ(store.GetSetting("Options", "ComPortNumber", "1"), "1");
    EXPECT_TRUE(store.GetAllSettings("LogInfo").empty());
    store.DeleteSetting("Options", "ComPortNumber");
    store.DeleteSection("LogInfo");
    EXPECT_FALSE(std::ifstream(path).good()) << "deleting nothing writes nothing";
}

TEST_F(SettingsFileTest, ValuesKeepTheirInsertionOrderAndPlace) {
    SettingsFile store(path);
    store.SaveSetting("LogInfo", "3", "c");
    store.SaveSetting("LogInfo", "1", "a");
    store.SaveSetting("Options", "DataLogging", "True");
    store.SaveSetting("LogInfo", "2", "b");
    store.SaveSetting("loginfo", "1", "A");  // any case names the same value
    EXPECT_EQ(store.GetAllSettings("LogInfo"), (Pairs{{"3", "c"}, {"1", "A"}, {"2", "b"}}));
    EXPECT_EQ(fileText(), "[LogInfo]\n3=c\n1=A\n2=b\n[Options]\nDataLogging=True\n");

    store.DeleteSetting("LogInfo", "1");
    store.SaveSetting("LogInfo", "1", "again");
    EXPECT_EQ(store.GetAllSettings("LOGINFO"), (Pairs{{"3", "c"}, {"2", "b"}, {"1", "again"}}));
    store.DeleteSection("LogInfo");
    EXPECT_TRUE(store.GetAllSettings("LogInfo").empty());
    EXPECT_EQ(store.GetSetting("Options", "datalogging", "x"), "True");
}

TEST_F(SettingsFileTest, AnyTextSurvivesTheFile) {
    SettingsFile store(path);
    const std::string odd[] = {"", "a=b", "[x]", ";c", "back\\slash\\", "two\r\nlines", std::string("nul\0in", 6),
                               "\xE9t\xE9", " spaced "};
    for (const std::string& text : odd) {
        store.SaveSetting("S]" + text, text, text);
        EXPECT_EQ(SettingsFile(path).GetSetting("S]" + text, text, "<none>"), text) << text;
    }
    EXPECT_EQ(SettingsFile::parse(fileText()).size(), std::size(odd));
}

TEST_F(SettingsFileTest, EveryCopySeesTheOthersChanges) {
    SettingsFile first(path);
    SettingsFile second(path);
    first.SaveSetting("LogInfo", "1", "one");
    second.SaveSetting("LogInfo", "2", "two");
    first.SaveSetting("LogInfo", "3", "three");
    EXPECT_EQ(second.GetAllSettings("LogInfo"), (Pairs{{"1", "one"}, {"2", "two"}, {"3", "three"}}));
}

TEST_F(SettingsFileTest, ConcurrentWritersLoseNoValue) {
    constexpr int kPerWriter = 100;
    auto writer = [this](char tag) {
        SettingsFile store(path);
        for (int i = 0; i < kPerWriter; ++i) store.SaveSetting("LogInfo", tag + std::to_string(i), "v");
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    EXPECT_EQ(SettingsFile(path).GetAllSettings("LogInfo").size(), 2u * kPerWriter);
}

TEST_F(SettingsFileTest, AFailedWriteRaisesAndLeavesTheFileAsItWas) {
    SettingsFile store(path);
    store.SaveSetting("Options", "ComPortNumber", "2");
    const std::string before = fileText();
    SettingsFile elsewhere(folder + "/no-such-folder/settings.ini");
    EXPECT_THROW(elsewhere.SaveSetting("Options", "ComPortNumber", "3"), pelomar::RuntimeError);

    // A temporary file left by a crash changes nothing that is read.
    std::ofstream(path + ".tmp") << "[Options]\nComPortNumber=9\n";
    EXPECT_EQ(store.GetSetting("Options", "ComPortNumber", ""), "2");
    EXPECT_EQ(fileText(), before);
    store.SaveSetting("Options", "DataLogging", "False");
    EXPECT_EQ(store.GetSetting("Options", "ComPortNumber", ""), "2");
}

TEST_F(SettingsFileTest, ASettingsFileThatIsALinkStaysOneAndItsTargetTakesTheChange) {
    ASSERT_EQ(::mkdir((folder + "/shared").c_str(), 0700), 0);
    const std::string target = folder + "/shared/settings.ini";
    { std::ofstream(target) << "[Options]\nComPortNumber=2\n"; }
    ASSERT_EQ(::symlink("shared/settings.ini", path.c_str()), 0);
    SettingsFile store(path);
    store.SaveSetting("Options", "DataLogging", "False");

    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    std::ifstream in(target);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "[Options]\nComPortNumber=2\nDataLogging=False\n");
    EXPECT_EQ(SettingsFile(path).GetSetting("Options", "ComPortNumber", "1"), "2");
}

TEST_F(SettingsFileTest, HandEditedLinesWithoutMeaningAreSkipped) {
    std::ofstream(path) << "stray=before\n; a comment\n\n[Options]\nno equals sign\nComPortNumber=4\n";
    SettingsFile store(path);
    EXPECT_EQ(store.GetAllSettings("Options"), (Pairs{{"ComPortNumber", "4"}}));
}

TEST_F(SettingsFileTest, DefaultPathIsUnderTheConfigHome) {
    const std::string home = std::getenv("XDG_CONFIG_HOME") != nullptr ? std::getenv("XDG_CONFIG_HOME") : "";
    ASSERT_FALSE(home.empty()) << "tests run with their own XDG folders";
    const std::string p = SettingsFile::defaultPath();
    EXPECT_EQ(p, home + "/tavrin-ms/settings.ini");
    struct stat st {};
    EXPECT_EQ(::stat((home + "/tavrin-ms").c_str(), &st), 0);
}

}  // namespace
}  // namespace tavrin
