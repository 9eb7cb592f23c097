// What the simulated Windows adds to the shared platform expectations: drive mapping, path
// forms, injected faults, hidden files, the time zone and the virtual clock.
#include "common/sim/SimPlatform.h"

#include <gtest/gtest.h>

#include <chrono>

#include "common/SimTestRoot.h"

namespace orv {
namespace {

class SimPlatformTest : public ::testing::Test {
 protected:
  SimPlatformTest() : sim(root.path()) {}
  void write(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(sim.writeFile(path, bytes)) << path;
  }

  test::SimTestRoot root;
  SimPlatform sim;
};

TEST_F(SimPlatformTest, DrivesMapOntoHostFolders) {
  sim.mapDrive('d', root.path() / "disk2");
  write("D:\\SETUP.INI", "x");
  EXPECT_TRUE(std::filesystem::exists(root.path() / "disk2" / "SETUP.INI"));
  EXPECT_TRUE(sim.fileExists("d:\\setup.ini"));
  EXPECT_FALSE(sim.fileExists("E:\\SETUP.INI"));
  EXPECT_EQ(sim.writeFile("E:\\X", "x"), Status(kErrorPathNotFound)) << "unmapped drive";
}

TEST_F(SimPlatformTest, PathFormsResolveLikeWindows) {
  ASSERT_TRUE(sim.createFolderPath("C:\\Program Files\\Tool"));
  write("C:\\Program Files\\Tool\\a.txt", "a");
  EXPECT_TRUE(sim.fileExists("C:/program files/TOOL/A.TXT")) << "slashes and any case";
  EXPECT_TRUE(sim.fileExists("C:\\Program Files\\Tool\\..\\Tool\\.\\a.txt"));
  EXPECT_TRUE(sim.fileExists("C:\\Program Files\\Tool\\a.txt. ")) << "trailing dots and blanks";
  EXPECT_TRUE(sim.fileExists("C:\\\\Program Files\\\\Tool\\a.txt")) << "doubled separators";
  EXPECT_EQ(sim.hostPath("c:\\PROGRAM FILES\\tool\\A.TXT"),
            root.path() / "C" / "Program Files" / "Tool" / "a.txt");
  ASSERT_TRUE(sim.setCurrentFolder("c:\\program files"));
  EXPECT_EQ(sim.currentFolder(), "C:\\Program Files");
  EXPECT_TRUE(sim.fileExists("Tool\\a.txt"));
  EXPECT_TRUE(sim.fileExists("\\Program Files\\Tool\\a.txt")) << "root of the current drive";
  EXPECT_TRUE(sim.fileExists("C:Tool\\a.txt")) << "drive-relative";
}

TEST_F(SimPlatformTest, NetworkSharesMapOntoHostFolders) {
  sim.mapShare("Server", "Share", root.path() / "net");
  ASSERT_TRUE(sim.createFolderPath("\\\\server\\share\\App\\Sub"));
  write("\\\\SERVER\\Share\\app\\sub\\f.txt", "n");
  EXPECT_TRUE(sim.fileExists("\\\\server\\SHARE\\App\\Sub\\F.TXT"));
  EXPECT_TRUE(std::filesystem::exists(root.path() / "net" / "App" / "Sub" / "f.txt"));
  EXPECT_FALSE(sim.folderExists("\\\\server\\other"));
  EXPECT_EQ(sim.createFolderPath("\\\\server\\other\\App"), Status(kErrorPathNotFound));
}

TEST_F(SimPlatformTest, HiddenFilesAreNotOverwrittenButReadOnlyCopiesAreMade) {
  write("C:\\hidden.txt", "old");
  write("C:\\src.txt", "new");
  ASSERT_TRUE(sim.setFileAttributes("C:\\hidden.txt", attr::kHidden));
  EXPECT_EQ(sim.copyFile("C:\\src.txt", "C:\\hidden.txt", false), Status(kErrorAccessDenied));
  EXPECT_EQ(sim.readFile("C:\\hidden.txt", 100), "old");
  EXPECT_TRUE(sim.deleteFile("C:\\hidden.txt")) << "hidden alone does not protect from delete";
}

TEST_F(SimPlatformTest, ReplacingOntoAReadOnlyFileIsRefused) {
  write("C:\\a.new", "new");
  write("C:\\a.ini", "old");
  ASSERT_TRUE(sim.setFileAttributes("C:\\a.ini", attr::kReadOnly));
  EXPECT_EQ(sim.replaceFile("C:\\a.new", "C:\\a.ini"), Status(kErrorAccessDenied));
  EXPECT_EQ(sim.readFile("C:\\a.ini", 100), "old");
}

TEST_F(SimPlatformTest, InjectedFaultsHitTheirOperationAndPathOnly) {
  write("C:\\a.txt", "a");
  sim.injectFault(SimPlatform::Operation::kCopyFile, "c:\\B.TXT", kErrorDiskFull, 2);
  EXPECT_EQ(sim.copyFile("C:\\a.txt", "C:\\b.txt", false), Status(kErrorDiskFull));
  EXPECT_TRUE(sim.copyFile("C:\\a.txt", "C:\\c.txt", false)) << "other paths unaffected";
  EXPECT_EQ(sim.copyFile("C:\\a.txt", "C:\\b.txt", false), Status(kErrorDiskFull));
  EXPECT_TRUE(sim.copyFile("C:\\a.txt", "C:\\b.txt", false)) << "two faults, then success";

  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\a.txt", kErrorSharingViolation);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sim.deleteFile("C:\\a.txt"), Status(kErrorSharingViolation));
  }
  EXPECT_TRUE(sim.fileExists("C:\\a.txt"));
  EXPECT_TRUE(sim.setFileAttributes("C:\\a.txt", attr::kArchive)) << "other operations unaffected";
}

TEST_F(SimPlatformTest, AFailedLevelStopsTheWholePathCreation) {
  sim.injectFault(SimPlatform::Operation::kCreateFolder, "C:\\A\\B", kErrorAccessDenied);
  EXPECT_EQ(sim.createFolderPath("C:\\A\\B\\C"), Status(kErrorAccessDenied));
  EXPECT_TRUE(sim.folderExists("C:\\A"));
  EXPECT_FALSE(sim.folderExists("C:\\A\\B"));
}

TEST_F(SimPlatformTest, ReadFaultMakesAFileUnreadable) {
  write("C:\\a.ini", "[S]\r\nK=v\r\n");
  sim.injectFault(SimPlatform::Operation::kReadFile, "C:\\a.ini", kErrorSharingViolation, 1);
  EXPECT_EQ(sim.readFile("C:\\a.ini", 100), std::nullopt);
  EXPECT_TRUE(sim.readFile("C:\\a.ini", 100).has_value());
}

TEST_F(SimPlatformTest, AgesFollowTheTimeZone) {
  write("C:\\a.txt", "a");
  using namespace std::chrono;
  const sys_seconds utc = sys_days(year(2024) / 1 / 1);
  std::filesystem::last_write_time(sim.hostPath("C:\\a.txt"), file_clock::from_sys(utc));
  EXPECT_EQ(sim.fileAge("C:\\a.txt"), 0x58210000u);
  sim.setUtcOffsetMinutes(9 * 60);
  EXPECT_EQ(sim.fileAge("C:\\a.txt"), 0x58214800u) << "09:00 in Tokyo";
  std::filesystem::last_write_time(sim.hostPath("C:\\a.txt"),
                                   file_clock::from_sys(sys_seconds(sys_days(year(1979) / 6 / 1))));
  EXPECT_EQ(sim.fileAge("C:\\a.txt"), std::nullopt) << "before 1980";
}

TEST_F(SimPlatformTest, SleepAdvancesOnlyTheVirtualClock) {
  const auto before = std::chrono::steady_clock::now();
  sim.sleep(1000);
  sim.sleep(500);
  EXPECT_EQ(sim.elapsedMilliseconds(), 1500u);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
}

TEST_F(SimPlatformTest, SystemQueriesAreSettableIncludingFailures) {
  sim.setWindowsFolder("");
  sim.setTempFolder("D:\\TEMP\\");
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"");
  EXPECT_EQ(sim.windowsFolder(), "");
  EXPECT_EQ(sim.tempFolder(), "D:\\TEMP\\");
  EXPECT_EQ(sim.commandLine(), "C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"");
}

}  // namespace
}  // namespace orv
