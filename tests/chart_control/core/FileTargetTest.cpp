// Saves and reads on the real file system: targets the user may not write,
// names beside the target, and things that are not files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../support/TestFiles.h"
#include "../support/Unprivileged.h"
#include "../../support/ScratchFolder.h"
#include "core/model/ChartModel.h"
#include "core/files/DataFile.h"
#include "core/files/LogRebuild.h"
#include "common/PosixFileSystem.h"
#include "common/RuntimeErrors.h"
#include "common/SafeFile.h"
#include "core/export/TextExport.h"

using namespace pelomar::core;
using pelomar::test::readBytes;
using pelomar::test::writeBytes;

namespace {

std::filesystem::path freshFolder(const ScratchFolder& scratch, const char* name, std::filesystem::perms perms) {
    const std::filesystem::path dir = scratch / name;
    std::filesystem::create_directory(dir);
    std::filesystem::permissions(dir, perms);
    return dir;
}

mode_t modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

using Save = std::function<int32_t(FileSystem&, const std::string& target)>;

// The members that write a file the user names, as the core does them.
std::vector<std::pair<const char*, Save>> saves(const std::filesystem::path& backupFolder) {
    return {
        {"data file", [](FileSystem& fs, const std::string& t) {
             ChartModel m;
             m.AddPoints(1, 2);
             return replaceFile(fs, t, chartFileBytes(m));
         }},
        {"text export", [](FileSystem& fs, const std::string& t) {
             ChartModel m;
             m.UpdateNotes("n");
             TextExportArgs a;
             a.ExpNotes = true;
             return ExportTextData(m, fs, t, a, '.');
         }},
        {"log rebuild", [backupFolder](FileSystem& fs, const std::string& t) {
             ChartModel m;
             return static_cast<int32_t>(rebuildLog(m, fs, backupFolder.string(), t, [&](const std::string& n, int64_t r) {
                 return replaceFile(fs, n, chartFileBytes(m, r)) == 0;
             }));
         }},
    };
}

}  // namespace

// Today's rename would replace a read-only file the user may not write (and
// leave it writable): refused as the platform's open refuses it.
TEST(FileTarget, FileTheUserMayNotWriteKeepsItsBytesAndMode) {
    using std::filesystem::perms;
    const ScratchFolder scratch;
    const std::filesystem::path dir = freshFolder(scratch, "readonly", perms::all);  // the folder itself is writable
    const std::filesystem::path backups = freshFolder(scratch, "backups", perms::all);
    writeBytes((backups / "DLog1.bak").string(), std::vector<uint8_t>(16, 0));
    std::filesystem::permissions(backups / "DLog1.bak", perms::all);
    for (const auto& [what, save] : saves(backups)) {
        SCOPED_TRACE(what);
        const std::filesystem::path target = dir / "kept.out";
        std::filesystem::remove(target);
        writeBytes(target.string(), {'k', 'e', 'e', 'p'});
        std::filesystem::permissions(target, perms::owner_read | perms::group_read | perms::others_read);
        std::string why;
        const int result = pelomar::test::runUnprivileged(
            dir,
            [&, &save = save] {
                PosixFileSystem fs;
                return save(fs, target.string());
            },
            why);
        if (result < 0) GTEST_SKIP() << why;
        EXPECT_EQ(result, err::kPathFileAccessError);
        EXPECT_EQ(readBytes(target.string()), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
        EXPECT_EQ(modeOf(target), 0444u);
        EXPECT_TRUE(pelomar::test::temporariesOf(target.string()).empty());
        EXPECT_EQ(std::filesystem::exists(backups / "DLog1.tmp"), false);
    }
}

TEST(FileTarget, SavesOntoWhatIsNoFileAreRefused) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = freshFolder(scratch, "notfiles", std::filesystem::perms::owner_all);
    std::filesystem::create_directory(dir / "folder.out");
    ASSERT_EQ(::mkfifo((dir / "pipe.out").c_str(), 0600), 0);
    for (const auto& [what, save] : saves(dir)) {
        for (const char* name : {"folder.out", "pipe.out"}) {
            SCOPED_TRACE(std::string(what) + " onto " + name);
            PosixFileSystem fs;
            EXPECT_EQ(save(fs, (dir / name).string()), err::kPathFileAccessError);
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.out"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe.out"));
}

// A save under "x" writes a temporary name of its own: the user's "x.new"
// stays, and the save keeps the mode of the file it replaces.
TEST(FileTarget, SaveLeavesNamesBesideTheTargetAlone) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = freshFolder(scratch, "beside", std::filesystem::perms::owner_all);
    const std::string target = (dir / "x").string();
    writeBytes(target + ".new", {'u', 's', 'e', 'r'});
    writeBytes(target, {'o', 'l', 'd'});
    std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read);
    // Left by a save that was killed: removed by the next one that succeeds.
    writeBytes((dir / ".x.Ab3xYz.new").string(), {'t', 'o', 'r', 'n'});
    PosixFileSystem fs;
    ChartModel m;
    ASSERT_EQ(replaceFile(fs, target, chartFileBytes(m)), 0);
    EXPECT_EQ(readBytes(target + ".new"), (std::vector<uint8_t>{'u', 's', 'e', 'r'}));
    EXPECT_EQ(readBytes(target).size(), 164u);
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_FALSE(std::filesystem::exists(dir / ".x.Ab3xYz.new"));
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"x", "x.new"}));
}

// A pipe, a folder or a device is refused at once, never opened so that the
// read could wait.
TEST(FileTarget, ReadingWhatIsNoFileFailsAtOnce) {
    const ScratchFolder scratch;
    const std::filesystem::path dir = freshFolder(scratch, "reads", std::filesystem::perms::owner_all);
    ASSERT_EQ(::mkfifo((dir / "pipe.chd").c_str(), 0600), 0);
    for (const std::string path : {(dir / "pipe.chd").string(), dir.string(), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        PosixFileSystem fs;
        DataFileContent c;
        const ReadResult r = readDataFile(fs, path, c);
        EXPECT_EQ(r.status, ReadStatus::Failed);
        EXPECT_EQ(r.error, err::kPathFileAccessError);
    }
    EXPECT_EQ(errorText(err::kPathFileAccessError), "Path/File access error");
}
