// The log folders' file system on disk: listing and removal, with the
// run-time error numbers of each refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "../../support/ScratchFolder.h"
#include "common/RuntimeErrors.h"
#include "core/registry/PosixRecorderFileSystem.h"

namespace tavrin {
namespace {

namespace err = pelomar::core::err;
namespace fs = std::filesystem;

class PosixRecorderFileSystemTest : public ::testing::Test {
protected:
    PosixRecorderFileSystemTest() {
        root = (scratch / "folders").string();
        fs::create_directories(root + "/full");
        fs::create_directory(root + "/empty");
        std::ofstream(root + "/full/file") << "x";
        fs::create_directory_symlink(root + "/empty", root + "/link");
    }
    const ScratchFolder scratch;
    std::string root;
    PosixRecorderFileSystem files;
};

TEST_F(PosixRecorderFileSystemTest, ListingNamesEveryEntryAndTakesNoLinkForAFolder) {
    auto entries = files.listFolder(root);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "empty");
    EXPECT_TRUE(entries[0].folder);
    EXPECT_EQ(entries[1].name, "full");
    EXPECT_TRUE(entries[1].folder);
    EXPECT_EQ(entries[2].name, "link");
    EXPECT_FALSE(entries[2].folder);
    EXPECT_TRUE(files.listFolder(root + "/missing").empty());
    EXPECT_TRUE(files.listFolder(root + "/full/file").empty());
    EXPECT_TRUE(files.folderExists(root + "/empty"));
    EXPECT_FALSE(files.folderExists(root + "/link"));
    EXPECT_FALSE(files.folderExists(root + "/full/file"));
}

TEST_F(PosixRecorderFileSystemTest, RemovalRefusesWhatItIsNotForWithTheFileErrors) {
    const struct {
        const char* path;
        bool folder;  // removeFolder, else removeFile
        int32_t error;
    } cases[] = {
        {"/missing", true, err::kFileNotFound},
        {"/missing", false, err::kFileNotFound},
        {"/missing/x", false, err::kFileNotFound},
        {"/full/file/x", false, err::kPathNotFound},
        {"/full/file", true, err::kPathNotFound},
        {"/link", true, err::kPathNotFound},
        {"/full", true, err::kDeviceIoError},  // not empty
        {"/full", false, err::kPathFileAccessError},
    };
    for (const auto& c : cases) {
        const std::string path = root + c.path;
        EXPECT_EQ(c.folder ? files.removeFolder(path) : files.removeFile(path), c.error) << c.path << c.folder;
    }
    EXPECT_TRUE(fs::exists(root + "/full/file"));
    EXPECT_TRUE(fs::exists(fs::symlink_status(root + "/link")));

    EXPECT_EQ(files.removeFile(root + "/link"), err::kNone);
    EXPECT_FALSE(fs::exists(fs::symlink_status(root + "/link")));
    EXPECT_TRUE(fs::is_directory(root + "/empty")) << "a link's target is never removed";
    EXPECT_EQ(files.removeFile(root + "/full/file"), err::kNone);
    EXPECT_EQ(files.removeFolder(root + "/full"), err::kNone);
    EXPECT_EQ(files.removeFolder(root + "/empty"), err::kNone);
    EXPECT_TRUE(files.listFolder(root).empty());
}

}  // namespace
}  // namespace tavrin
