// File operations, checked against the same expectations on the simulated and the real Windows.
#include "common/TextUtils.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

using FileOperations = PlatformTest;

TEST_F(FileOperations, WrittenBytesReadBackExactlyUnderAnyCaseOfTheName) {
  const std::string bytes("line\r\n\0binary\xFF\x81\x5C", 16);
  write("Mixed.TXT", bytes);
  EXPECT_EQ(read("mixed.txt"), bytes);
  EXPECT_EQ(read("MIXED.TXT"), bytes);
  EXPECT_TRUE(platform().fileExists(path("mIxEd.TxT")));
}

TEST_F(FileOperations, AppendingCreatesThenAddsAtTheEnd) {
  EXPECT_TRUE(platform().appendFile(path("log.txt"), "one\r\n"));
  EXPECT_TRUE(platform().appendFile(path("LOG.TXT"), "two\r\n"));
  EXPECT_EQ(read("log.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(platform().appendFile(path("nofolder\\log.txt"), "x"), Status(kErrorPathNotFound));
}

TEST_F(FileOperations, ANewFileIsMadeOnlyWhereNothingIs) {
  EXPECT_TRUE(platform().createNewFile(path("new.txt"), "first"));
  EXPECT_EQ(platform().createNewFile(path("NEW.TXT"), "second"), Status(kErrorFileExists));
  EXPECT_EQ(read("new.txt"), "first");
  ASSERT_TRUE(platform().createFolder(path("folder")));
  EXPECT_EQ(platform().createNewFile(path("folder"), "x"), Status(kErrorFileExists));
}

TEST_F(FileOperations, AHeldFileReadsAtAnyPlaceAndNothingChangesItMeanwhile) {
  write("held.bin", "0123456789");
  {
    const auto held = platform().holdFile(path("HELD.BIN"));
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->size(), 10u);
    std::string part(4, '\0');
    ASSERT_TRUE(held->read(3, part));
    EXPECT_EQ(part, "3456");
    EXPECT_FALSE(held->read(8, part)) << "past the end";
    EXPECT_EQ(read("held.bin"), "0123456789") << "others may read it";
    EXPECT_EQ(platform().writeFile(path("held.bin"), "x"), Status(kErrorSharingViolation));
    EXPECT_EQ(platform().appendFile(path("held.bin"), "x"), Status(kErrorSharingViolation));
    EXPECT_EQ(platform().deleteFile(path("held.bin")), Status(kErrorSharingViolation));
    EXPECT_EQ(platform().renameFile(path("held.bin"), path("moved.bin")),
              Status(kErrorSharingViolation));
    EXPECT_TRUE(platform().copyFile(path("held.bin"), path("copy.bin"), false)) << "nor copy it";
  }
  EXPECT_TRUE(platform().writeFile(path("held.bin"), "free"));
  EXPECT_EQ(platform().holdFile(path("missing.bin")), nullptr);
}

TEST_F(FileOperations, AFileWrittenInPiecesIsMadeAsACopyWouldBe) {
  {
    NewFile made = platform().createFileWriter(path("pieces.bin"), true);
    ASSERT_NE(made.writer, nullptr) << made.status.error();
    EXPECT_TRUE(made.writer->write("one "));
    EXPECT_TRUE(made.writer->write("two"));
    constexpr std::uint64_t k2022 = 133'000'000'000'000'000;  // FILETIME
    EXPECT_TRUE(made.writer->finish(k2022));
    EXPECT_EQ(platform().fileAge(path("pieces.bin")),
              static_cast<std::int64_t>(k2022 / 20'000'000));
  }
  EXPECT_EQ(read("pieces.bin"), "one two");
  EXPECT_EQ(platform().createFileWriter(path("pieces.bin"), true).status, Status(kErrorFileExists));
  EXPECT_EQ(platform().createFileWriter(path("nofolder\\x.bin"), false).status,
            Status(kErrorPathNotFound));
  {
    NewFile dropped = platform().createFileWriter(path("pieces.bin"), false);
    ASSERT_NE(dropped.writer, nullptr);
    EXPECT_TRUE(dropped.writer->write("half"));
  }
  EXPECT_FALSE(platform().fileExists(path("pieces.bin"))) << "an unfinished file goes";
}

TEST_F(FileOperations, AFileWithASecondNameCountsTwoLinks) {
  write("one.txt", "x");
  EXPECT_EQ(platform().linkCount(path("one.txt")), 1u);
  testPlatform().makeHardLink(path("two.txt"), path("one.txt"));
  EXPECT_EQ(platform().linkCount(path("one.txt")), 2u);
  EXPECT_EQ(platform().linkCount(path("TWO.TXT")), 2u);
  EXPECT_EQ(platform().appendFile(path("two.txt"), "more"), Status(kErrorAccessDenied))
      << "never added to through a second name";
  EXPECT_EQ(read("one.txt"), "x");
  ASSERT_TRUE(platform().deleteFile(path("two.txt")));
  EXPECT_EQ(platform().linkCount(path("one.txt")), 1u);
  EXPECT_EQ(platform().linkCount(path("missing.txt")), std::nullopt);
}

TEST_F(FileOperations, DeletingExactlyTakesAFileOrAnEmptyFolder) {
  write("plain.txt", "x");
  write("readonly.txt", "x");
  ASSERT_TRUE(platform().setFileAttributes(path("readonly.txt"), attr::kReadOnly));
  ASSERT_TRUE(platform().createFolder(path("empty")));
  ASSERT_TRUE(platform().createFolder(path("full")));
  write("full\\kept.txt", "x");
  EXPECT_TRUE(platform().deleteExactly(path("plain.txt")));
  EXPECT_TRUE(platform().deleteExactly(path("readonly.txt")));
  EXPECT_TRUE(platform().deleteExactly(path("empty\\")));
  EXPECT_EQ(platform().deleteExactly(path("full")), Status(kErrorDirNotEmpty));
  EXPECT_EQ(platform().deleteExactly(path("missing.txt")), Status(kErrorFileNotFound));
  EXPECT_FALSE(platform().fileExists(path("plain.txt")));
  EXPECT_FALSE(platform().fileExists(path("readonly.txt")));
  EXPECT_FALSE(platform().folderExists(path("empty")));
  EXPECT_TRUE(platform().fileExists(path("full\\kept.txt")));
}

TEST_F(FileOperations, ExistenceTellsFilesFromFoldersAndMissingNames) {
  write("file.txt", "x");
  ASSERT_TRUE(platform().createFolder(path("folder")));
  EXPECT_TRUE(platform().fileExists(path("file.txt")));
  EXPECT_FALSE(platform().folderExists(path("file.txt")));
  EXPECT_FALSE(platform().fileExists(path("folder")));
  EXPECT_TRUE(platform().folderExists(path("folder")));
  EXPECT_FALSE(platform().fileExists(path("missing.txt")));
  EXPECT_FALSE(platform().folderExists(path("missing")));
  EXPECT_FALSE(platform().fileExists(path("missing\\file.txt")));
  EXPECT_FALSE(platform().fileExists(""));
  EXPECT_FALSE(platform().folderExists("")) << "an empty path names nothing";
}

TEST_F(FileOperations, APathEndingInASeparatorNamesNoFile) {
  write("file.txt", "x");
  const std::string named = path("file.txt\\");
  EXPECT_FALSE(platform().fileExists(named));
  EXPECT_EQ(platform().fileSize(named), std::nullopt);
  EXPECT_EQ(platform().fileAge(named), std::nullopt);
  EXPECT_EQ(platform().readFile(named, 100), std::nullopt);
  EXPECT_EQ(platform().copyFile(named, path("copy.txt"), false), Status(kErrorInvalidName));
  EXPECT_EQ(platform().copyFile(path("file.txt"), path("new.txt\\"), false),
            Status(kErrorInvalidName));
  EXPECT_EQ(platform().deleteFile(named), Status(kErrorInvalidName));
  EXPECT_TRUE(platform().fileExists(path("file.txt")));
  EXPECT_TRUE(platform().folderExists(testPlatform().scratch() + "\\")) << "a folder still is one";
}

TEST_F(FileOperations, DeletionAtRestartLeavesTheFileAndFolderForNow) {
  ASSERT_TRUE(platform().createFolder(path("later")));
  write("later\\in use.exe", "x");
  EXPECT_TRUE(platform().deleteAtRestart(path("later\\in use.exe")));
  EXPECT_TRUE(platform().deleteAtRestart(path("later")));
  EXPECT_TRUE(platform().fileExists(path("later\\in use.exe")));
}

TEST_F(FileOperations, JapaneseFileNamesWork) {
  write("ソフト表.txt", "能");
  EXPECT_TRUE(platform().fileExists(path("ソフト表.txt")));
  EXPECT_EQ(read("ソフト表.txt"), "能");
  EXPECT_EQ(platform().fileSize(path("ソフト表.txt")), 3u);
}

TEST_F(FileOperations, ReadingIsBoundedBySizeLimit) {
  write("big.bin", std::string(1000, 'x'));
  EXPECT_TRUE(platform().readFile(path("big.bin"), 1000).has_value());
  EXPECT_FALSE(platform().readFile(path("big.bin"), 999).has_value());
  EXPECT_FALSE(platform().readFile(path("missing.bin"), 1000).has_value());
  write("empty.bin", "");
  EXPECT_EQ(platform().readFile(path("empty.bin"), 0), "");
}

TEST_F(FileOperations, SizeIsTheFilesOwn) {
  write("ten.bin", std::string(10, 'a'));
  EXPECT_EQ(platform().fileSize(path("ten.bin")), 10u);
  EXPECT_EQ(platform().fileSize(path("missing.bin")), std::nullopt);
  EXPECT_EQ(platform().fileSize(path("missing\\ten.bin")), std::nullopt);
  {
    // A file held open, writers and deleters shut out, is still there to be measured.
    const auto held = platform().holdFile(path("ten.bin"));
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(platform().fileSize(path("ten.bin")), 10u);
  }
  ASSERT_TRUE(platform().createFolder(path("dir")));
  EXPECT_EQ(platform().fileSize(path("dir")), std::nullopt);
  EXPECT_EQ(platform().fileSize(path("*.bin")), std::nullopt) << "wildcards name no file";
}

TEST_F(FileOperations, CopyHonoursFailIfExists) {
  write("src.txt", "new");
  write("dst.txt", "old");
  EXPECT_EQ(platform().copyFile(path("src.txt"), path("dst.txt"), true), Status(kErrorFileExists));
  EXPECT_EQ(read("dst.txt"), "old");
  EXPECT_TRUE(platform().copyFile(path("src.txt"), path("DST.TXT"), false));
  EXPECT_EQ(read("dst.txt"), "new");
  EXPECT_TRUE(platform().copyFile(path("src.txt"), path("fresh.txt"), true));
  EXPECT_EQ(read("fresh.txt"), "new");
}

TEST_F(FileOperations, CopyReportsMissingSourceAndMissingFolder) {
  write("src.txt", "x");
  EXPECT_EQ(platform().copyFile(path("missing.txt"), path("dst.txt"), false),
            Status(kErrorFileNotFound));
  EXPECT_EQ(platform().copyFile(path("src.txt"), path("nofolder\\dst.txt"), false),
            Status(kErrorPathNotFound));
  EXPECT_FALSE(platform().fileExists(path("dst.txt")));
}

TEST_F(FileOperations, CopyKeepsLastWriteTimeAndReadOnlyAttribute) {
  write("src.txt", "x");
  testPlatform().setLocalWriteTime(path("src.txt"), 2024, 2, 29, 13, 45, 31);
  ASSERT_TRUE(platform().setFileAttributes(path("src.txt"), attr::kReadOnly));
  ASSERT_TRUE(platform().copyFile(path("src.txt"), path("dst.txt"), true));
  EXPECT_EQ(platform().fileAge(path("dst.txt")), platform().fileAge(path("src.txt")));
  EXPECT_NE(platform().fileAttributes(path("dst.txt")).value_or(0) & attr::kReadOnly, 0u);
}

TEST_F(FileOperations, ReadOnlyDestinationIsNotOverwritten) {
  if (!testPlatform().enforcesReadOnlyOverwrite()) GTEST_SKIP() << "Wine as root overwrites";
  write("src.txt", "new");
  write("dst.txt", "old");
  ASSERT_TRUE(platform().setFileAttributes(path("dst.txt"), attr::kReadOnly));
  EXPECT_EQ(platform().copyFile(path("src.txt"), path("dst.txt"), false),
            Status(kErrorAccessDenied));
  EXPECT_EQ(platform().writeFile(path("dst.txt"), "other"), Status(kErrorAccessDenied));
  EXPECT_EQ(platform().appendFile(path("dst.txt"), "other"), Status(kErrorAccessDenied));
  EXPECT_EQ(platform().createFileWriter(path("dst.txt"), false).status, Status(kErrorAccessDenied));
  EXPECT_EQ(read("dst.txt"), "old");
}

TEST_F(FileOperations, DeleteRefusesReadOnlyFilesFoldersAndMissingNames) {
  write("ro.txt", "x");
  ASSERT_TRUE(platform().setFileAttributes(path("ro.txt"), attr::kReadOnly));
  EXPECT_EQ(platform().deleteFile(path("ro.txt")), Status(kErrorAccessDenied));
  EXPECT_TRUE(platform().fileExists(path("ro.txt")));
  ASSERT_TRUE(platform().setFileAttributes(path("ro.txt"), attr::kNormal));
  EXPECT_TRUE(platform().deleteFile(path("RO.TXT")));
  EXPECT_FALSE(platform().fileExists(path("ro.txt")));

  EXPECT_EQ(platform().deleteFile(path("ro.txt")), Status(kErrorFileNotFound));
  EXPECT_EQ(platform().deleteFile(path("nofolder\\x.txt")), Status(kErrorPathNotFound));
  ASSERT_TRUE(platform().createFolder(path("dir")));
  EXPECT_EQ(platform().deleteFile(path("dir")), Status(kErrorAccessDenied));
}

TEST_F(FileOperations, AttributesOfFilesFoldersAndMissingNames) {
  write("file.txt", "x");
  ASSERT_TRUE(platform().createFolder(path("dir")));
  EXPECT_EQ(platform().fileAttributes(path("file.txt")).value_or(attr::kDirectory) &
                (attr::kDirectory | attr::kReadOnly),
            0u);
  EXPECT_NE(platform().fileAttributes(path("dir")).value_or(0) & attr::kDirectory, 0u);
  EXPECT_EQ(platform().fileAttributes(path("missing")), std::nullopt);
  ASSERT_TRUE(platform().setFileAttributes(path("file.txt"), attr::kReadOnly | attr::kArchive));
  EXPECT_EQ(platform().fileAttributes(path("file.txt")).value_or(0) & attr::kReadOnly,
            attr::kReadOnly);
  EXPECT_EQ(platform().setFileAttributes(path("missing"), attr::kNormal),
            Status(kErrorFileNotFound));
}

TEST_F(FileOperations, AgesCompareInTimeOrderAtTwoSecondsForAnyDate) {
  const auto ageAt = [this](int year, int month, int day, int second) {
    write("t.txt", "t");
    testPlatform().setLocalWriteTime(path("t.txt"), year, month, day, 12, 0, second);
    return platform().fileAge(path("t.txt")).value_or(-1);
  };
  EXPECT_EQ(ageAt(2024, 2, 29, 30), ageAt(2024, 2, 29, 31)) << "the same two seconds";
  EXPECT_LT(ageAt(2024, 2, 29, 31), ageAt(2024, 2, 29, 32));
  EXPECT_LT(ageAt(1979, 6, 1, 0), ageAt(1980, 1, 1, 0)) << "before 1980";
  EXPECT_LT(ageAt(2043, 12, 31, 0), ageAt(2044, 1, 1, 0));
  EXPECT_LT(ageAt(2107, 12, 31, 0), ageAt(2108, 1, 1, 0)) << "after 2107";
  EXPECT_EQ(platform().fileAge(path("missing.txt")), std::nullopt);
}

TEST_F(FileOperations, ReplaceMovesOneFileOverAnother) {
  write("new.tmp", "new");
  write("target.ini", "old");
  EXPECT_TRUE(platform().replaceFile(path("new.tmp"), path("target.ini")));
  EXPECT_EQ(read("target.ini"), "new");
  EXPECT_FALSE(platform().fileExists(path("new.tmp")));
  write("other.tmp", "other");
  EXPECT_TRUE(platform().replaceFile(path("other.tmp"), path("fresh.ini")));
  EXPECT_EQ(read("fresh.ini"), "other");
  EXPECT_FALSE(platform().replaceFile(path("missing.tmp"), path("fresh.ini")));
  EXPECT_EQ(read("fresh.ini"), "other");
}

TEST_F(FileOperations, NamesWindowsRefusesMakeNothing) {
  for (const char* name : {"a?.txt", "b*.txt", "c|d", "e<f", "g>h", "i\"j", "k\tl"}) {
    EXPECT_EQ(platform().writeFile(path(name), "x"), Status(kErrorInvalidName)) << name;
    EXPECT_EQ(platform().createFolder(path(name)), Status(kErrorInvalidName)) << name;
    EXPECT_FALSE(platform().fileExists(path(name))) << name;
  }
}

TEST_F(FileOperations, WriteIntoMissingFolderFails) {
  EXPECT_EQ(platform().writeFile(path("nofolder\\a.txt"), "x"), Status(kErrorPathNotFound));
}

}  // namespace
}  // namespace orv::test
