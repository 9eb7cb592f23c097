// Folder operations, checked against the same expectations on the simulated and the real Windows.
#include <algorithm>

#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

using FolderOperations = PlatformTest;

TEST_F(FolderOperations, CreateMakesOneLevelAndReportsWhatIsInTheWay) {
  EXPECT_TRUE(platform().createFolder(path("new")));
  EXPECT_TRUE(platform().folderExists(path("NEW")));
  EXPECT_EQ(platform().createFolder(path("new")), Status(kErrorAlreadyExists));
  EXPECT_EQ(platform().createFolder(path("New\\")), Status(kErrorAlreadyExists));
  write("file", "x");
  EXPECT_EQ(platform().createFolder(path("file")), Status(kErrorAlreadyExists));
  EXPECT_EQ(platform().createFolder(path("a\\b")), Status(kErrorPathNotFound));
  EXPECT_FALSE(platform().folderExists(path("a")));
}

TEST_F(FolderOperations, CreatePathMakesEveryMissingLevel) {
  EXPECT_TRUE(platform().createFolderPath(path("a\\b\\c\\")));
  EXPECT_TRUE(platform().folderExists(path("a\\b\\c")));
  EXPECT_TRUE(platform().createFolderPath(path("A\\B\\C"))) << "an existing path is success";
  EXPECT_TRUE(platform().createFolderPath(path("a\\b\\ソフト\\表")));
  EXPECT_TRUE(platform().folderExists(path("a\\b\\ソフト\\表")));
}

TEST_F(FolderOperations, CreatePathRefusesEmptyPathAndFilesInTheWay) {
  EXPECT_EQ(platform().createFolderPath(""), Status(kErrorInvalidName));
  EXPECT_EQ(platform().createFolderPath("\\"), Status(kErrorInvalidName));
  write("file", "x");
  EXPECT_FALSE(platform().createFolderPath(path("file")));
  EXPECT_FALSE(platform().createFolderPath(path("file\\sub")));
  EXPECT_TRUE(platform().fileExists(path("file")));
}

TEST_F(FolderOperations, AFolderListsWhatItHolds) {
  ASSERT_TRUE(platform().createFolder(path("folder")));
  ASSERT_TRUE(platform().createFolder(path("folder\\内側")));
  write("folder\\表.txt", "x");
  auto names = platform().folderEntries(path("folder\\"));
  ASSERT_TRUE(names.has_value());
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, std::vector<std::string>({"内側", "表.txt"}));
  EXPECT_EQ(platform().folderEntries(path("folder\\内側")), std::vector<std::string>());
  EXPECT_EQ(platform().folderEntries(path("missing")), std::nullopt);
}

TEST_F(FolderOperations, RemoveTakesOnlyEmptyFolders) {
  ASSERT_TRUE(platform().createFolderPath(path("full\\sub")));
  EXPECT_EQ(platform().removeFolder(path("full")), Status(kErrorDirNotEmpty));
  ASSERT_TRUE(platform().createFolder(path("withfile")));
  write("withfile\\f.txt", "x");
  EXPECT_EQ(platform().removeFolder(path("withfile")), Status(kErrorDirNotEmpty));
  EXPECT_TRUE(platform().removeFolder(path("FULL\\SUB")));
  EXPECT_TRUE(platform().removeFolder(path("full")));
  EXPECT_FALSE(platform().folderExists(path("full")));
  EXPECT_EQ(platform().removeFolder(path("full")), Status(kErrorFileNotFound));
  EXPECT_EQ(platform().removeFolder(path("withfile\\f.txt")), Status(kErrorDirectory));
}

TEST_F(FolderOperations, DevicePrefixesNameFilesAsWindowsReadsThem) {
  ASSERT_TRUE(platform().createFolder(path("a")));
  write("a\\f.txt", "x");
  // "\\.\" paths are read as any other; "\\?\" ones are taken as written.
  EXPECT_TRUE(platform().fileExists("\\\\?\\" + path("a\\f.txt")));
  EXPECT_TRUE(platform().fileExists("\\\\.\\" + path("a\\..\\a\\.\\f.txt")));
  EXPECT_TRUE(platform().fileExists("\\\\.\\" + path("a") + "/f.txt."));
  EXPECT_FALSE(platform().fileExists("\\\\?\\" + path("a") + "/f.txt"));
  EXPECT_FALSE(platform().fileExists("\\\\?\\" + path("a\\..\\a\\f.txt")));
  EXPECT_TRUE(platform().folderExists("\\\\?\\" + path("a") + "\\"));
  EXPECT_EQ(platform().longPathName(path("A\\F.TXT")).has_value(), true);
  EXPECT_EQ(platform().longPathName(path("a\\missing.txt")), std::nullopt);
}

TEST_F(FolderOperations, CurrentFolderAnchorsRelativeNames) {
  ASSERT_TRUE(platform().createFolder(path("cwd")));
  ASSERT_TRUE(platform().setCurrentFolder(path("cwd")));
  ASSERT_TRUE(platform().writeFile("relative.txt", "here"));
  EXPECT_EQ(read("cwd\\relative.txt"), "here");
  EXPECT_TRUE(platform().fileExists(".\\RELATIVE.TXT"));
  EXPECT_EQ(platform().longPathName(platform().currentFolder()),
            platform().longPathName(path("cwd")));
  EXPECT_FALSE(platform().setCurrentFolder(path("missing")));
  EXPECT_TRUE(platform().fileExists("relative.txt")) << "a failed change keeps the folder";
  // Leave the scratch folder so it can be removed.
  ASSERT_TRUE(platform().setCurrentFolder(testPlatform().scratch() + "\\.."));
}

}  // namespace
}  // namespace orv::test
