// The crash-safe file layer: whole appends, replacing through a temporary,
// the modes of new files, error numbers and the per-user folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ios>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "../support/ScratchFolder.h"
#include "FakeFileSystem.h"
#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "common/UserFolders.h"

using namespace pelomar::core;
using pelomar::test::FakeFileSystem;

namespace {

const std::vector<uint8_t> kEntry = {'e', 'n', 't', 'r', 'y', '\r', '\n'};

int32_t append(FileSystem& fs, const std::string& path, const std::vector<uint8_t>& bytes) {
    return appendWhole(fs, path, bytes.data(), bytes.size());
}

std::string textOf(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

mode_t modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

TEST(AppendWhole, AFailedAppendIsCutBackToTheLengthBefore) {
    const struct {
        const char* what;
        std::optional<std::string> before;  // none: no file yet
        size_t written;                     // bytes of the entry that got out
    } cases[] = {
        {"short write to a log", "a\r\n", 3},
        {"nothing written", "a\r\n", 0},
        {"short write to a new log", std::nullopt, 5},
    };
    for (const auto& c : cases) {
        FakeFileSystem fs;
        if (c.before) fs.files["/d/log"].assign(c.before->begin(), c.before->end());
        fs.failAppend(1, err::kDiskFull, c.written);
        EXPECT_EQ(append(fs, "/d/log", kEntry), err::kDiskFull) << c.what;
        EXPECT_EQ(fs.text("/d/log"), c.before.value_or("")) << c.what;
        EXPECT_EQ(fs.count("append+flush /d/log"), 1u) << c.what;

        EXPECT_EQ(append(fs, "/d/log", kEntry), err::kNone) << c.what;
        EXPECT_EQ(fs.text("/d/log"), c.before.value_or("") + "entry\r\n") << c.what;
    }
}

TEST(AppendWhole, NothingIsCutFromWhatCannotBeMeasured) {
    // A device (the real /dev/full) has no length to go back to.
    PosixFileSystem posix;
    EXPECT_EQ(append(posix, "/dev/full", kEntry), err::kDiskFull);

    // A cut-back that fails leaves the error of the append.
    FakeFileSystem fs;
    fs.files["/d/log"] = {'a'};
    fs.failAppend(1, err::kDeviceIoError, 2);
    fs.failTruncates(err::kPermissionDenied);
    EXPECT_EQ(append(fs, "/d/log", kEntry), err::kDeviceIoError);
}

TEST(ReplaceThroughTemporary, ReplacesAFileOnlyThisProgramKeepsWhateverItsMode) {
    FakeFileSystem fs;
    fs.files["/d/settings.ini"] = {'o', 'l', 'd'};
    fs.readOnly.insert("/d/settings.ini");
    const std::vector<uint8_t> bytes = {'n', 'e', 'w'};
    EXPECT_EQ(replaceFile(fs, "/d/settings.ini", bytes), err::kPathFileAccessError) << "the user's files are refused";
    EXPECT_EQ(replaceThroughTemporary(fs, "/d/settings.ini", bytes.data(), bytes.size()), err::kNone);
    EXPECT_EQ(fs.text("/d/settings.ini"), "new");
    EXPECT_EQ(fs.files.size(), 1u) << "no temporary is left";
}

TEST(ReplaceThroughTemporary, AFailedStepKeepsTheOldFileAndLeavesNoTemporary) {
    const std::vector<uint8_t> bytes = {'n', 'e', 'w'};
    for (const bool renameFails : {false, true}) {
        FakeFileSystem fs;
        fs.files["/d/x"] = {'o', 'l', 'd'};
        if (renameFails) fs.failRenamesTo("/d/x", err::kPermissionDenied);
        else fs.failWritesOf(fs.nextTemporary("/d/x"), err::kDiskFull);
        EXPECT_EQ(replaceThroughTemporary(fs, "/d/x", bytes.data(), bytes.size()),
                  renameFails ? err::kPermissionDenied : err::kDiskFull);
        EXPECT_EQ(fs.text("/d/x"), "old");
        EXPECT_EQ(fs.files.size(), 1u) << "no temporary is left";
    }
}

// The clean-up after a save takes what no writer holds any more and leaves
// the temporary another writer is still filling.
TEST(ReplaceThroughTemporary, CleanUpLeavesWhatAnotherWriterHolds) {
    FakeFileSystem fs;
    fs.files["/d/x"] = {'o', 'l', 'd'};
    fs.files["/d/.x.Other1.new"] = {'h', 'a', 'l', 'f'};
    fs.files["/d/.x.Gone12.new"] = {'t', 'o', 'r', 'n'};
    fs.held.insert("/d/.x.Other1.new");
    const std::vector<uint8_t> bytes = {'n', 'e', 'w'};
    EXPECT_EQ(replaceFile(fs, "/d/x", bytes), err::kNone);
    EXPECT_EQ(fs.text("/d/x"), "new");
    EXPECT_EQ(fs.text("/d/.x.Other1.new"), "half");
    EXPECT_EQ(fs.files.count("/d/.x.Gone12.new"), 0u);
    EXPECT_EQ(fs.held, std::multiset<std::string>{"/d/.x.Other1.new"}) << "the save let go of its own";
}

// A save through links replaces the file at the end of the chain, beside
// which its temporary is made; a loop of links is refused.
TEST(ReplaceFile, ThroughLinksTheFileTheyNameIsReplaced) {
    FakeFileSystem fs;
    fs.links["/a/run.chd"] = "../b/mid.chd";
    fs.links["/a/../b/mid.chd"] = "/c/real.chd";
    fs.files["/c/real.chd"] = {'o', 'l', 'd'};
    const std::vector<uint8_t> bytes = {'n', 'e', 'w'};
    EXPECT_EQ(replaceFile(fs, "/a/run.chd", bytes), err::kNone);
    EXPECT_EQ(fs.text("/c/real.chd"), "new");
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_EQ(fs.count("write+flush /c/.real.chd."), 1u);

    fs.links["/a/loop"] = "/a/loop";
    EXPECT_EQ(replaceFile(fs, "/a/loop", bytes), err::kPathFileAccessError);
    EXPECT_EQ(fs.files.size(), 1u);
}

TEST(PosixFileSystem, NewFilesTakeTheGivenModeAndReplacedOnesKeepTheirs) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = scratch / "modes";
    std::filesystem::create_directory(dir);
    const mode_t mask = ::umask(022);
    PosixFileSystem privateFiles(0600);
    const std::string log = (dir / "log").string();
    EXPECT_EQ(append(privateFiles, log, kEntry), err::kNone);
    EXPECT_EQ(modeOf(log), 0600u);

    const std::string ini = (dir / "settings.ini").string();
    EXPECT_EQ(replaceThroughTemporary(privateFiles, ini, kEntry.data(), kEntry.size()), err::kNone);
    EXPECT_EQ(modeOf(ini), 0600u);
    std::filesystem::permissions(ini, std::filesystem::perms(0640));
    EXPECT_EQ(replaceThroughTemporary(privateFiles, ini, kEntry.data(), 3), err::kNone);
    EXPECT_EQ(modeOf(ini), 0640u);
    EXPECT_EQ(textOf(ini), "ent");

    PosixFileSystem sharedFiles;
    const std::string chart = (dir / "run.chd").string();
    EXPECT_EQ(replaceThroughTemporary(sharedFiles, chart, kEntry.data(), kEntry.size()), err::kNone);
    EXPECT_EQ(modeOf(chart), 0644u);
    ::umask(mask);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3) << "no temporary is left";
}

// A file written from several pieces holds them one after another, empty
// ones included, also when a piece is larger than one write takes; a read
// into the caller's memory fills at most that memory and refuses what is
// not a regular file, as the whole-file read does.
TEST(PosixFileSystem, PiecesAreWrittenInOrderAndReadsFillTheGivenMemory) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = scratch / "pieces";
    std::filesystem::create_directory(dir);
    PosixFileSystem fs;
    std::vector<uint8_t> large(3'000'001);
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<uint8_t>(i * 7 + i / 251);
    const std::vector<uint8_t> head = {'h', 'e', 'a', 'd'};
    const std::vector<uint8_t> tail(17, 0);
    const ByteView pieces[] = {ByteView(head), ByteView(), ByteView(large), ByteView(tail), ByteView()};
    const std::string file = (dir / "run.chd").string();
    ASSERT_EQ(replaceFile(fs, file, pieces), err::kNone);
    std::vector<uint8_t> expected = head;
    expected.insert(expected.end(), large.begin(), large.end());
    expected.insert(expected.end(), tail.begin(), tail.end());
    std::vector<uint8_t> whole;
    ASSERT_EQ(fs.readFile(file, whole), err::kNone);
    EXPECT_TRUE(whole == expected);

    const struct {
        const char* what;
        std::string path;
        size_t room;
        int32_t error;
        size_t read;
    } cases[] = {
        {"room for more than the file", file, expected.size() + 9, err::kNone, expected.size()},
        {"room for the file", file, expected.size(), err::kNone, expected.size()},
        {"room for a part", file, 5, err::kNone, 5},
        {"no room", file, 0, err::kNone, 0},
        {"missing file", (dir / "none").string(), 8, err::kFileNotFound, 0},
        {"folder", dir.string(), 8, err::kPathFileAccessError, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> room(c.room, 0xEE);
        size_t read = 99;
        EXPECT_EQ(fs.readFileInto(c.path, room, read), c.error);
        EXPECT_EQ(read, c.read);
        EXPECT_TRUE(std::equal(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(read), expected.begin()));
        EXPECT_TRUE(std::all_of(room.begin() + static_cast<std::ptrdiff_t>(read), room.end(),
                                [](uint8_t b) { return b == 0xEE; }));
    }
    const std::string pipe = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::vector<uint8_t> room(8);
    size_t read = 0;
    EXPECT_EQ(fs.readFileInto(pipe, room, read), err::kPathFileAccessError) << "a pipe without a writer";
}

TEST(RuntimeErrors, ErrorCodesMapAsTheirErrnoValues) {
    const struct {
        std::error_code code;
        int32_t number;
    } cases[] = {
        {{}, err::kNone},
        {std::make_error_code(std::errc::no_such_file_or_directory), err::kFileNotFound},
        {std::make_error_code(std::errc::not_a_directory), err::kPathNotFound},
        {std::error_code(EACCES, std::system_category()), err::kPermissionDenied},
        {std::error_code(ENOSPC, std::system_category()), err::kDiskFull},
        {std::make_error_code(std::errc::directory_not_empty), err::kDeviceIoError},
        {std::make_error_code(std::io_errc::stream), err::kDeviceIoError},
    };
    for (const auto& c : cases) EXPECT_EQ(errorFromErrorCode(c.code), c.number) << c.code.message();
}

TEST(UserFolders, AnAbsoluteVariableElseTheDefaultUnderHome) {
    const std::string savedConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string savedData = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const struct {
        const char* variable;  // nullptr: unset
        const char* home;
        const char* config;
        const char* data;
    } cases[] = {
        {"/x/y", "/h", "/x/y", "/x/y"},
        {nullptr, "/h", "/h/.config", "/h/.local/share"},
        {"", "/h", "/h/.config", "/h/.local/share"},
        {"relative", "/h", "/h/.config", "/h/.local/share"},
    };
    for (const auto& c : cases) {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            if (c.variable) ::setenv(name, c.variable, 1);
            else ::unsetenv(name);
        }
        ::setenv("HOME", c.home, 1);
        EXPECT_EQ(configHome(), c.config) << (c.variable ? c.variable : "unset");
        EXPECT_EQ(dataHome(), c.data) << (c.variable ? c.variable : "unset");
        EXPECT_EQ(programConfigFolder(), std::string(c.config) + "/tavrin-ms");
        EXPECT_EQ(programDataFolder(), std::string(c.data) + "/tavrin-ms");
    }
    ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    ::setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    ::setenv("HOME", savedHome.c_str(), 1);
}
