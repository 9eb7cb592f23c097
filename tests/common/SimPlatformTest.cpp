// What the simulated Windows adds to the shared platform expectations: drive mapping, path
// forms, injected faults, the cases where Windows is stricter than Wine, and the virtual clock.
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

TEST_F(SimPlatformTest, NamesNoFileCanHaveNeverReachTheHost) {
  // On a Windows host "D:" would name a real drive and "CON" the console.
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  for (const char* path :
       {"C:\\Tool\\D:\\x", "C:\\Tool\\D:x", "C:\\Tool\\CON", "C:\\Tool\\lpt1.txt"}) {
    EXPECT_EQ(sim.writeFile(path, "x"), Status(kErrorInvalidName)) << path;
    EXPECT_EQ(sim.createFolder(path), Status(kErrorInvalidName)) << path;
  }
  EXPECT_TRUE(std::filesystem::is_empty(root.path() / "C" / "Tool"));
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

// Windows refuses to overwrite a hidden or system file (Wine overwrites it, so the case stays
// out of the tests that also run under Wine).
TEST_F(SimPlatformTest, HiddenAndSystemFilesAreNotOverwritten) {
  write("C:\\src.txt", "new");
  for (const std::uint32_t attribute : {attr::kHidden, attr::kSystem}) {
    write("C:\\kept.txt", "old");
    ASSERT_TRUE(sim.setFileAttributes("C:\\kept.txt", attribute));
    EXPECT_EQ(sim.copyFile("C:\\src.txt", "C:\\kept.txt", false), Status(kErrorAccessDenied));
    EXPECT_EQ(sim.writeFile("C:\\kept.txt", "other"), Status(kErrorAccessDenied));
    EXPECT_EQ(sim.expandFile("C:\\src.txt", "C:\\kept.txt"), Status(kErrorAccessDenied));
    EXPECT_EQ(sim.readFile("C:\\kept.txt", 100), "old") << attribute;
    EXPECT_TRUE(sim.deleteFile("C:\\kept.txt")) << "neither protects from delete";
  }
}

// A program that is not long-path aware gets paths of at most 259 characters, and new folders of
// at most 247 (Wine takes longer ones).
TEST_F(SimPlatformTest, PathsPastTheClassicLimitsNameNothing) {
  const std::string folder247 = "C:\\" + std::string(244, 'd');
  EXPECT_TRUE(sim.createFolder(folder247));
  EXPECT_EQ(sim.createFolder("C:\\" + std::string(245, 'e')), Status(kErrorFilenameExcedRange));
  const std::string file259 = folder247 + "\\" + std::string(11, 'f');
  write(file259, "x");
  EXPECT_TRUE(sim.fileExists(file259));
  const std::string file260 = file259 + "g";
  EXPECT_EQ(sim.writeFile(file260, "x"), Status(kErrorPathNotFound));
  EXPECT_EQ(sim.copyFile(file259, file260, false), Status(kErrorPathNotFound));
  EXPECT_FALSE(sim.fileExists(file260));
  EXPECT_FALSE(
      sim.fileExists(folder247 + "\\..\\" + std::string(244, 'd') + "\\" + std::string(12, 'f')))
      << "the absolute path counts";
  EXPECT_EQ(sim.createFolderPath(folder247 + "\\sub"), Status(kErrorFilenameExcedRange));
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

TEST_F(SimPlatformTest, AJunctionIsNeverDeletedThroughNorItself) {
  ASSERT_TRUE(sim.createFolderPath("C:\\Other\\Empty"));
  write("C:\\Other\\A.TXT", "theirs");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  ASSERT_TRUE(sim.makeFolderLink("C:\\Tool\\LINK", "C:\\Other"));
  EXPECT_EQ(sim.deleteExactly("C:\\Tool\\LINK\\A.TXT"), Status(kErrorAccessDenied));
  EXPECT_EQ(sim.deleteExactly("C:\\Tool\\LINK\\Empty"), Status(kErrorAccessDenied));
  EXPECT_EQ(sim.deleteExactly("C:\\Tool\\LINK"), Status(kErrorAccessDenied));
  EXPECT_TRUE(sim.fileExists("C:\\Other\\A.TXT"));
  EXPECT_TRUE(sim.folderExists("C:\\Other\\Empty"));
  EXPECT_TRUE(sim.folderExists("C:\\Tool\\LINK"));
}

TEST_F(SimPlatformTest, A32BitProgramSeesThe32BitViews) {
  sim.setMachine(true, false);
  constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
  const RegistryHive in64(kMachine, RegistryView::k64);
  const struct {
    RegistryRoot root;
    const char* seen;
    const char* held;  // where the 64-bit view finds it
  } keys[] = {
      {kMachine, "SOFTWARE\\Tool", "SOFTWARE\\Wow6432Node\\Tool"},
      {kMachine, "SOFTWARE\\Wow6432Node\\Tool2", "SOFTWARE\\Wow6432Node\\Tool2"},
      {kMachine, "SOFTWARE\\Classes\\.tool", "SOFTWARE\\Classes\\.tool"},
      {kMachine, "SOFTWARE\\Classes\\CLSID\\{1}", "SOFTWARE\\Classes\\Wow6432Node\\CLSID\\{1}"},
      {RegistryRoot::kClassesRoot, "CLSID\\{2}", "SOFTWARE\\Classes\\Wow6432Node\\CLSID\\{2}"},
      {RegistryRoot::kCurrentUser, "Software\\Tool", nullptr},
  };
  for (const auto& key : keys) {
    ASSERT_TRUE(sim.createRegistryKey(key.root, key.seen)) << key.seen;
    EXPECT_TRUE(sim.registryKeyExists(key.root, key.seen)) << key.seen;
    if (key.held == nullptr) {
      EXPECT_TRUE(sim.registryKeyExists({key.root, RegistryView::k64}, key.seen)) << "shared";
    } else {
      EXPECT_TRUE(sim.registryKeyExists(in64, key.held)) << key.seen;
    }
  }
  EXPECT_FALSE(sim.registryKeyExists(in64, "SOFTWARE\\Tool"));
  ASSERT_TRUE(sim.createRegistryKey(in64, "SOFTWARE\\Native"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, "SOFTWARE\\Native"));

  ASSERT_TRUE(sim.createFolderPath("C:\\WINDOWS\\SysWOW64"));
  ASSERT_TRUE(sim.createFolderPath("C:\\WINDOWS\\Sysnative"));
  write("C:\\WINDOWS\\system32\\A.DLL", "32");
  write("C:\\WINDOWS\\Sysnative\\A.DLL", "64");
  EXPECT_EQ(sim.hostPath("C:\\WINDOWS\\system32\\A.DLL"),
            root.path() / "C" / "WINDOWS" / "SysWOW64" / "A.DLL");
  EXPECT_EQ(sim.readFile("C:\\WINDOWS\\Sysnative\\A.DLL", 9), "64");
  EXPECT_EQ(sim.longPathName("C:\\windows\\SYSTEM32\\a.dll"), "C:\\WINDOWS\\SYSTEM32\\A.DLL");
  sim.setMachine(true, true);
  EXPECT_EQ(sim.readFile("C:\\WINDOWS\\System32\\A.DLL", 9), "64") << "a 64-bit program";
  sim.setMachine(false, false);
  EXPECT_TRUE(sim.registryKeyExists({kMachine, RegistryView::k64}, "SOFTWARE\\Tool3") ==
              sim.registryKeyExists(kMachine, "SOFTWARE\\Tool3"))
      << "32-bit Windows has one view";
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
