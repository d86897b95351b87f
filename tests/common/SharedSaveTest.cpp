// Saves that meet other writers on the same target, and saves onto symbolic
// links, on the real file system.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"

using namespace pelomar::core;
namespace stdfs = std::filesystem;

namespace {

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

std::string textOf(const stdfs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const stdfs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

mode_t modeOf(const stdfs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

// A fresh folder under one of this run's own in the system's temporary folder.
stdfs::path freshFolder(const std::string& name) {
    static const stdfs::path root = [] {
        std::string pattern = (stdfs::temp_directory_path() / "shared-save.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw stdfs::filesystem_error("mkdtemp", std::error_code());
        return stdfs::path(pattern);
    }();
    const stdfs::path dir = root / name;
    stdfs::remove_all(dir);
    stdfs::create_directories(dir);
    return dir;
}

// Names in `dir` that a save's temporary has.
std::vector<std::string> temporariesIn(const stdfs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : stdfs::directory_iterator(dir)) {
        const std::string n = e.path().filename().string();
        if (n.size() > 4 && n[0] == '.' && n.compare(n.size() - 4, 4, ".new") == 0) out.push_back(n);
    }
    return out;
}

}  // namespace

// Writer A has its temporary on disk when writer B finishes a save of the
// same name and cleans up: A's temporary is not B's leftover.
TEST(SharedSave, ASaveUnderWayKeepsItsTemporaryWhenAnotherSaveCleansUp) {
    const stdfs::path dir = freshFolder("shared");
    const std::string target = (dir / "run.chd").string();
    writeText(target, "old");
    PosixFileSystem a, b;
    const std::vector<uint8_t> fromA = bytesOf("from A");
    const ByteView piece(fromA);
    TemporaryFile tmpA;
    ASSERT_EQ(a.writeTemporary(target, {&piece, 1}, tmpA), err::kNone);

    ASSERT_EQ(replaceFile(b, target, bytesOf("from B")), err::kNone);
    EXPECT_TRUE(stdfs::exists(tmpA.name)) << "B removed A's temporary";
    EXPECT_EQ(textOf(target), "from B");
    EXPECT_EQ(b.removeUnheld(tmpA.name), err::kPermissionDenied) << "a held temporary is refused at once";

    EXPECT_EQ(a.renameFile(tmpA.name, target), err::kNone);
    tmpA.hold.reset();
    EXPECT_EQ(textOf(target), "from A");
    EXPECT_TRUE(temporariesIn(dir).empty());
}

// What no writer holds any more (a save that died, or an older program) is
// still cleaned up by the next save, and names beside it stay.
TEST(SharedSave, ALeftoverNoWriterHoldsIsRemoved) {
    const stdfs::path dir = freshFolder("leftover");
    const std::string target = (dir / "run.chd").string();
    writeText(dir / ".run.chd.Ab3xYz.new", "torn");
    writeText(dir / ".other.chd.Ab3xYz.new", "someone else's");
    PosixFileSystem fs;
    {
        // A writer that stopped without renaming: its hold went with it.
        PosixFileSystem died;
        const std::vector<uint8_t> half = bytesOf("half");
        const ByteView piece(half);
        TemporaryFile tmp;
        ASSERT_EQ(died.writeTemporary(target, {&piece, 1}, tmp), err::kNone);
    }
    ASSERT_EQ(replaceFile(fs, target, bytesOf("whole")), err::kNone);
    EXPECT_EQ(textOf(target), "whole");
    EXPECT_EQ(temporariesIn(dir), std::vector<std::string>{".other.chd.Ab3xYz.new"});
}

// Two writers saving one name over and over, each with its own file system
// object as two copies of the program have: every save succeeds and the
// file is always one writer's whole bytes.
TEST(SharedSave, TwoWritersSavingOneNameAllSucceed) {
    const stdfs::path dir = freshFolder("writers");
    const std::string target = (dir / "run.chd").string();
    const std::string texts[2] = {std::string(3000, 'a'), std::string(5000, 'b')};
    int failures[2] = {0, 0};
    auto writer = [&](int w) {
        PosixFileSystem fs;
        for (int i = 0; i < 150; ++i) {
            if (replaceFile(fs, target, bytesOf(texts[w])) != err::kNone) ++failures[w];
        }
    };
    std::thread one(writer, 0), two(writer, 1);
    one.join();
    two.join();
    EXPECT_EQ(failures[0], 0);
    EXPECT_EQ(failures[1], 0);
    const std::string last = textOf(target);
    EXPECT_TRUE(last == texts[0] || last == texts[1]);
    EXPECT_TRUE(temporariesIn(dir).empty());
}

// A save onto a symbolic link writes the file the link names, in that
// file's folder, and the link stays a link.
TEST(SharedSave, ASaveOntoALinkWritesTheFileItNames) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // link -> what it holds
        const char* real;       // the file written, "" when none may be
        bool realExists;
        int32_t error;
    } cases[] = {
        {"to a file in the same folder", {{"a/run.chd", "real.chd"}}, "a/real.chd", true, err::kNone},
        {"to a file in another folder", {{"a/run.chd", "@/b/real.chd"}}, "b/real.chd", true, err::kNone},
        {"relative, to another folder", {{"a/run.chd", "../b/real.chd"}}, "b/real.chd", true, err::kNone},
        {"a chain of links", {{"a/run.chd", "mid.chd"}, {"a/mid.chd", "../b/next.chd"}, {"b/next.chd", "@/b/real.chd"}},
         "b/real.chd", true, err::kNone},
        {"dangling, its folder there", {{"a/run.chd", "../b/new.chd"}}, "b/new.chd", false, err::kNone},
        {"dangling, its folder missing", {{"a/run.chd", "../none/new.chd"}}, "", false, err::kPathNotFound},
        {"a loop of links", {{"a/run.chd", "loop.chd"}, {"a/loop.chd", "run.chd"}}, "", false, err::kPathFileAccessError},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const stdfs::path dir = freshFolder("links");
        stdfs::create_directory(dir / "a");
        stdfs::create_directory(dir / "b");
        const std::string real = c.real;
        if (c.realExists) {
            writeText(dir / real, "old");
            stdfs::permissions(dir / real, stdfs::perms(0640));
        }
        for (const auto& [link, to] : c.links) {
            const std::string held = to[0] == '@' ? (dir.string() + to.substr(1)) : to;
            stdfs::create_symlink(held, dir / link);
        }
        PosixFileSystem fs;
        EXPECT_EQ(replaceFile(fs, (dir / "a/run.chd").string(), bytesOf("new bytes")), c.error);
        for (const auto& [link, to] : c.links) {
            EXPECT_TRUE(stdfs::is_symlink(dir / link)) << link;
        }
        if (!real.empty()) {
            EXPECT_FALSE(stdfs::is_symlink(dir / real));
            EXPECT_EQ(textOf(dir / real), "new bytes");
            if (c.realExists) {
                EXPECT_EQ(modeOf(dir / real), 0640u);
            }
        } else {
            EXPECT_FALSE(stdfs::exists(dir / "none"));
        }
        EXPECT_TRUE(temporariesIn(dir / "a").empty());
        EXPECT_TRUE(temporariesIn(dir / "b").empty());
    }
}
