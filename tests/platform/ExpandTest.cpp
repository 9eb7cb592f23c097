// Expansion of compressed installation files, with samples made by the real compressor, on the
// simulated Windows (libmspack) and on the real one (the LZ functions).
#include "common/Expand.h"
#include "common/Szdd.h"
#include "platform/SzddSamples.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

class Expansion : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_TRUE(platform().createFolder(path("TEMP")));
    ASSERT_TRUE(platform().createFolder(path("DISK")));
  }
  std::string temp() const { return path("TEMP") + "\\"; }
  ExpandedFile expand(const std::string& diskName) {
    return ExpandCompressedFile(platform(), temp(), path("DISK\\" + diskName));
  }
  std::string expandedData() { return read("TEMP\\EXPAND.BST"); }
};

TEST_F(Expansion, ExpandsUnderTheRecordedName) {
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  const ExpandedFile result = expand("PROG.EX_");
  EXPECT_EQ(result.DataPath, path("TEMP") + "\\EXPAND.BST");
  EXPECT_EQ(result.Name, "PROG.EXE");
  EXPECT_TRUE(result.Complete);
  EXPECT_EQ(expandedData(), kProgPlain);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\PROG.EXE"))) << "nothing is left behind";
}

TEST_F(Expansion, BinaryDataComesOutByteForByte) {
  write("DISK\\DATA.BI_", WithStoredCharacter(kDataCompressed, 'n'));
  EXPECT_EQ(expand("DATA.BI_").Name, "DATA.BIN");
  EXPECT_EQ(expandedData(), kDataPlain);
}

TEST_F(Expansion, AFileThatRecordsNoNameKeepsItsCompressedName) {
  write("DISK\\prog.exe_", kProgCompressed);
  EXPECT_EQ(expand("prog.exe_").Name, "prog.exe_");
  EXPECT_EQ(expandedData(), kProgPlain);
}

TEST_F(Expansion, AFileOfTheSameNameInTheTemporaryFolderIsKept) {
  write("TEMP\\PROG.EXE", "the user's own file");
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  expand("PROG.EX_");
  EXPECT_EQ(read("TEMP\\PROG.EXE"), "the user's own file");
  EXPECT_EQ(expandedData(), kProgPlain);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\ZZZZZZZZ.ZZZ")));
}

TEST_F(Expansion, StaleWorkFilesAreReplaced) {
  write("TEMP\\EXPAND.BST", "stale");
  write("TEMP\\ZZZZZZZZ.ZZZ", "left over");
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  expand("PROG.EX_");
  EXPECT_EQ(expandedData(), kProgPlain);
  EXPECT_EQ(read("TEMP\\PROG.EXE"), "left over") << "a kept-aside file returns to the work name";
  EXPECT_FALSE(platform().fileExists(path("TEMP\\ZZZZZZZZ.ZZZ")));
}

TEST_F(Expansion, AStaleExpandedFileThatCannotBeClearedIsNeverHandedOut) {
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  write("TEMP\\PROG.EXE", "the user's own file");
  write("TEMP\\EXPAND.BST", "stale");
  ASSERT_TRUE(platform().setFileAttributes(path("TEMP\\EXPAND.BST"), attr::kReadOnly));
  EXPECT_FALSE(expand("PROG.EX_").Complete) << "read-only";
  EXPECT_EQ(read("TEMP\\PROG.EXE"), "the user's own file");
  EXPECT_FALSE(platform().fileExists(path("TEMP\\ZZZZZZZZ.ZZZ")));
  ASSERT_TRUE(platform().setFileAttributes(path("TEMP\\EXPAND.BST"), attr::kNormal));

  const auto held = testPlatform().holdOpen(path("TEMP\\EXPAND.BST"));
  EXPECT_FALSE(expand("PROG.EX_").Complete) << "held open by another program";
  EXPECT_EQ(read("TEMP\\PROG.EXE"), "the user's own file");
}

TEST_F(Expansion, AKeptAsideFileThatCannotReturnStaysAside) {
  write("TEMP\\ZZZZZZZZ.ZZZ", "kept aside earlier");
  ASSERT_TRUE(platform().createFolder(path("TEMP\\PROG.EXE")));  // its name is taken
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  EXPECT_FALSE(expand("PROG.EX_").Complete);
  EXPECT_EQ(read("TEMP\\ZZZZZZZZ.ZZZ"), "kept aside earlier");
}

TEST_F(Expansion, AnUncompressedFileIsCopiedUnchangedUnderItsOwnName) {
  write("DISK\\README.TX_", "plain text, not compressed");
  EXPECT_EQ(expand("README.TX_").Name, "README.TX_");
  EXPECT_EQ(expandedData(), "plain text, not compressed");
}

TEST_F(Expansion, AFileLargerThanThePiecesReadAndWrittenComesOutWhole) {
  // 300,000 bytes as literals (a control byte of 0xFF before each eight), then one match that
  // repeats the last 18: read and written in several pieces either way.
  std::string plain;
  for (int i = 0; plain.size() < 300'000; ++i)
    plain += static_cast<char>((i * 7 + i / 251) & 0xFF);
  std::string compressed = kDataCompressed.substr(0, kSzddHeaderSize);
  compressed.replace(10, 4, std::string(4, '\0'));
  for (std::size_t at = 0; at < plain.size(); at += 8)
    compressed += '\xFF' + plain.substr(at, 8);
  const std::size_t from = (plain.size() - 18 + 4096 - 16) % 4096;
  compressed += std::string{'\0', static_cast<char>(from & 0xFF),
                            static_cast<char>(((from >> 4) & 0xF0) | 0x0F)};
  plain += plain.substr(plain.size() - 18);
  for (int i = 0; i < 4; ++i)
    compressed[10 + i] = static_cast<char>((plain.size() >> (8 * i)) & 0xFF);
  write("DISK\\LARGE.BI_", compressed);
  EXPECT_TRUE(expand("LARGE.BI_").Complete);
  EXPECT_EQ(expandedData(), plain);
}

TEST_F(Expansion, AnSzddFileOfAnotherMethodIsRefusedAsTheLzFunctionsRefuseIt) {
  std::string otherMethod = WithStoredCharacter(kDataCompressed, 'n');
  otherMethod[8] = 'B';
  write("DISK\\OTHER.BI_", otherMethod);
  write("DISK\\SHORT.BI_", kDataCompressed.substr(0, kSzddHeaderSize - 1));
  EXPECT_FALSE(expand("OTHER.BI_").Complete);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));
  // Shorter than a header: no SZDD file, copied as it is.
  EXPECT_TRUE(expand("SHORT.BI_").Complete);
  EXPECT_EQ(expandedData(), kDataCompressed.substr(0, kSzddHeaderSize - 1));
}

TEST_F(Expansion, BrokenDataLeavesNothingToInstall) {
  std::string truncated = WithStoredCharacter(kDataCompressed, 'n');
  truncated.resize(truncated.size() / 2);
  write("DISK\\CUT.BI_", truncated);
  write("TEMP\\EXPAND.BST", "stale");
  const ExpandedFile cut = expand("CUT.BI_");
  EXPECT_EQ(cut.Name, "CUT.BIN");
  EXPECT_FALSE(cut.Complete);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));

  std::string corrupt = WithStoredCharacter(kDataCompressed, 'n');
  for (std::size_t i = 20; i < corrupt.size(); i += 7)
    corrupt[i] = static_cast<char>(~corrupt[i]);
  write("DISK\\BAD.BI_", corrupt);
  EXPECT_FALSE(expand("BAD.BI_").Complete);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));

  std::string header = kDataCompressed.substr(0, kSzddHeaderSize);
  write("DISK\\HEAD.BI_", header);
  EXPECT_FALSE(expand("HEAD.BI_").Complete);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));
}

TEST_F(Expansion, AHeaderClaimingMoreThan2GiBIsNotExpanded) {
  std::string huge = WithStoredCharacter(kDataCompressed, 'n');
  huge.replace(10, 4, std::string("\x00\x00\x00\x80", 4));  // 2 GiB, past the signed sizes
  write("DISK\\HUGE.BI_", huge);
  EXPECT_FALSE(expand("HUGE.BI_").Complete);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));
}

TEST_F(Expansion, AMissingSourceLeavesNothingToInstall) {
  const ExpandedFile gone = expand("GONE.EX_");
  EXPECT_EQ(gone.Name, "GONE.EX_");
  EXPECT_FALSE(gone.Complete);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));
}

TEST_F(Expansion, ATemporaryFolderWithACommaStillWorks) {
  ASSERT_TRUE(platform().createFolder(path("a,b")));
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  const ExpandedFile result =
      ExpandCompressedFile(platform(), path("a,b") + "\\", path("DISK\\PROG.EX_"));
  EXPECT_EQ(result.DataPath, path("a,b") + "\\EXPAND.BST");
  EXPECT_EQ(result.Name, "PROG.EXE");
  EXPECT_EQ(read("a,b\\EXPAND.BST"), kProgPlain);
}

TEST_F(Expansion, TheExpandedFileTakesTheSourcesTime) {
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  testPlatform().setLocalWriteTime(path("DISK\\PROG.EX_"), 2001, 9, 9, 1, 46, 40);
  expand("PROG.EX_");
  EXPECT_EQ(platform().fileAge(path("TEMP\\EXPAND.BST")),
            platform().fileAge(path("DISK\\PROG.EX_")));
}

}  // namespace
}  // namespace orv::test
