// The information-file writers under failures only the simulation can inject: nothing already
// written is ever lost.
#include <gtest/gtest.h>

#include "common/IniFile.h"
#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"

namespace orv {
namespace {

class IniFileFaults : public ::testing::Test {
 protected:
  IniFileFaults() : sim(root.path()) {}
  void SetUp() override { ASSERT_TRUE(sim.writeFile(kFile, kOld)); }
  std::string content() { return sim.readFile(kFile, 1 << 20).value_or("<missing>"); }

  static constexpr const char* kFile = "C:\\UNSETUP.INI";
  static constexpr const char* kOld = "[Old]\r\nKey=kept\r\n";
  test::SimTestRoot root;
  SimPlatform sim;
};

TEST_F(IniFileFaults, AFailedTemporaryWriteLeavesTheOldRecord) {
  sim.injectFault(SimPlatform::Operation::kWriteFile, "C:\\UNSETUP.INI.new", kErrorDiskFull);
  EXPECT_FALSE(WriteIniFile(sim, kFile, {{"New", {{"K", "v"}}}}));
  EXPECT_EQ(content(), kOld);
  EXPECT_FALSE(sim.fileExists("C:\\UNSETUP.INI.new"));
}

TEST_F(IniFileFaults, AFailedReplaceLeavesTheOldRecordAndNoTemporaryFile) {
  sim.injectFault(SimPlatform::Operation::kReplaceFile, kFile, kErrorAccessDenied);
  EXPECT_FALSE(WriteIniFile(sim, kFile, {{"New", {{"K", "v"}}}}));
  EXPECT_EQ(content(), kOld);
  EXPECT_FALSE(sim.fileExists("C:\\UNSETUP.INI.new"));
}

TEST_F(IniFileFaults, AnUnreadableFileIsNeverReplacedByASingleKey) {
  sim.injectFault(SimPlatform::Operation::kReadFile, kFile, kErrorSharingViolation, 1);
  EXPECT_FALSE(WriteIniString(sim, "New", "K", "v", kFile));
  EXPECT_EQ(content(), kOld);
}

TEST_F(IniFileFaults, AnOversizedFileReadsAsMissingAndIsNotRewritten) {
  const std::string huge = "[S]\r\nK=v\r\n" + std::string(kIniFileMaxBytes, ';');
  ASSERT_TRUE(sim.writeFile(kFile, huge));
  EXPECT_EQ(ReadIniString(sim, "S", "K", "default", kFile), "default");
  EXPECT_FALSE(WriteIniString(sim, "S", "K", "w", kFile));
  EXPECT_EQ(sim.fileSize(kFile), huge.size());
}

TEST_F(IniFileFaults, AFailedWriteOfOneKeyKeepsTheFile) {
  sim.injectFault(SimPlatform::Operation::kWriteFile, kFile, kErrorDiskFull);
  EXPECT_FALSE(WriteIniString(sim, "Old", "Key", "changed", kFile));
  EXPECT_EQ(content(), kOld);
}

}  // namespace
}  // namespace orv
