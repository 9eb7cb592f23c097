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
  std::string expand(const std::string& diskName) {
    return ExpandCompressedFile(platform(), temp(), path("DISK\\" + diskName));
  }
  std::string expandedData() { return read("TEMP\\EXPAND.BST"); }
};

TEST_F(Expansion, ExpandsUnderTheRecordedName) {
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  EXPECT_EQ(expand("PROG.EX_"), path("TEMP") + "\\EXPAND.BST,PROG.EXE");
  EXPECT_EQ(expandedData(), kProgPlain);
  EXPECT_FALSE(platform().fileExists(path("TEMP\\PROG.EXE"))) << "nothing is left behind";
}

TEST_F(Expansion, BinaryDataComesOutByteForByte) {
  write("DISK\\DATA.BI_", WithStoredCharacter(kDataCompressed, 'n'));
  EXPECT_EQ(expand("DATA.BI_"), path("TEMP") + "\\EXPAND.BST,DATA.BIN");
  EXPECT_EQ(expandedData(), kDataPlain);
}

TEST_F(Expansion, AFileThatRecordsNoNameKeepsItsCompressedName) {
  write("DISK\\prog.exe_", kProgCompressed);
  EXPECT_EQ(SplitExpandResult(expand("prog.exe_")).Name, "prog.exe_");
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

TEST_F(Expansion, AnUncompressedFileIsCopiedUnchangedUnderItsOwnName) {
  write("DISK\\README.TX_", "plain text, not compressed");
  EXPECT_EQ(SplitExpandResult(expand("README.TX_")).Name, "README.TX_");
  EXPECT_EQ(expandedData(), "plain text, not compressed");
}

TEST_F(Expansion, BrokenDataLeavesNothingToInstall) {
  std::string truncated = WithStoredCharacter(kDataCompressed, 'n');
  truncated.resize(truncated.size() / 2);
  write("DISK\\CUT.BI_", truncated);
  write("TEMP\\EXPAND.BST", "stale");
  EXPECT_EQ(SplitExpandResult(expand("CUT.BI_")).Name, "CUT.BIN");
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));

  std::string corrupt = WithStoredCharacter(kDataCompressed, 'n');
  for (std::size_t i = 20; i < corrupt.size(); i += 7)
    corrupt[i] = static_cast<char>(~corrupt[i]);
  write("DISK\\BAD.BI_", corrupt);
  expand("BAD.BI_");
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));

  std::string header = kDataCompressed.substr(0, kSzddHeaderSize);
  write("DISK\\HEAD.BI_", header);
  expand("HEAD.BI_");
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));
}

TEST_F(Expansion, AMissingSourceLeavesNothingToInstall) {
  EXPECT_EQ(SplitExpandResult(expand("GONE.EX_")).Name, "GONE.EX_");
  EXPECT_FALSE(platform().fileExists(path("TEMP\\EXPAND.BST")));
}

TEST_F(Expansion, ATemporaryFolderWithACommaStillWorks) {
  ASSERT_TRUE(platform().createFolder(path("a,b")));
  write("DISK\\PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  const ExpandedFile result = SplitExpandResult(
      ExpandCompressedFile(platform(), path("a,b") + "\\", path("DISK\\PROG.EX_")));
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
