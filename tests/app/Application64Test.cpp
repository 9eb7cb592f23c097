// A 64-bit application's script ([Extend] Architecture=x64) on the simulated Windows: the 32-bit
// release installs it where 64-bit Windows keeps it, an uninstaller of either build removes it,
// and 32-bit Windows refuses it before anything is made.
#include "app/SETUP.h"
#include "app/ShellFixture.h"
#include "app/Unattended.h"

namespace orv::test {
namespace {

constexpr const char* kScript =
    "[Title]\nSetup=ツール64\n"
    "[Extend]\nArchitecture=x64\n"
    "[DefaultFolder]\nFolder=(Prg)\\Tool64\n"
    "[CopyFile]\nFile1=(App)\\TOOL.EXE\nFile2=(Sys)\\TOOL64.DLL,/F\n"
    "[Registry]\nKey1=(Local)Software\\Tool64\nName1=Library\nValue1=(Str)(Sys)\\TOOL64.DLL\n"
    "[DeleteRegistry]\nKey1=(Local)Software\\Tool64\n";
constexpr const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ツール64";
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

class Application64Test : public ::testing::Test, public SimMachine {
 protected:
  Application64Test() {
    // A 32-bit program's system folder on 64-bit Windows; the 64-bit one exists too.
    sim.setSystemFolder("C:\\WINDOWS\\SysWOW64");
    EXPECT_TRUE(sim.createFolderPath("C:\\WINDOWS\\SysWOW64"));
    EXPECT_TRUE(sim.createFolderPath("C:\\WINDOWS\\System32"));
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\TOOL.EXE", "tool"));
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\TOOL64.DLL", "library"));
    EXPECT_TRUE(sim.createFolder("C:\\LOGS"));
  }
  // Starts the program of one build: 64-bit or 32-bit, on 64-bit Windows unless told.
  int start(const std::string& program, const std::string& arguments, bool program64,
            bool windows64 = true) {
    sim.setMachine(windows64, program64);
    sim.setSystemFolder(program64 || !windows64 ? "C:\\WINDOWS\\System32"
                                                : "C:\\WINDOWS\\SysWOW64");
    sim.setProgramFilePath(program);
    sim.setCommandLine(program + " " + arguments);
    return RunProgram(sim);
  }
  int install(bool windows64 = true) {
    writeSetupIni(kScript);
    return start("C:\\SETUP\\SETUP.EXE", "/S /LOG=C:\\LOGS\\RUN.LOG", false, windows64);
  }
  // What the 64-bit view holds, seen as a 64-bit program sees it.
  bool file64(const std::string& path) {
    sim.setMachine(true, true);
    return sim.fileExists(path);
  }
  std::optional<RegistryValue> value(RegistryView view, const std::string& key,
                                     const std::string& name) const {
    return sim.readRegistryValue({kMachine, view}, key, name);
  }
  std::string log() const { return sim.readFile("C:\\LOGS\\RUN.LOG", 1 << 20).value_or(""); }
};

TEST_F(Application64Test, TheReleaseInstallsWhere64BitWindowsKeepsIt) {
  ASSERT_EQ(install(), exit_code::kDone) << log();
  EXPECT_TRUE(file64("C:\\Program Files\\Tool64\\TOOL.EXE"));
  EXPECT_TRUE(file64("C:\\WINDOWS\\System32\\TOOL64.DLL")) << "the 64-bit system folder";
  EXPECT_FALSE(file64("C:\\WINDOWS\\SysWOW64\\TOOL64.DLL"));
  const auto library = value(RegistryView::k64, "SOFTWARE\\Tool64", "Library");
  ASSERT_TRUE(library);
  EXPECT_EQ(library->text, "C:\\WINDOWS\\System32\\TOOL64.DLL") << "as 64-bit programs name it";
  EXPECT_FALSE(value(RegistryView::k32, "SOFTWARE\\Tool64", "Library")) << "not in Wow6432Node";
  EXPECT_TRUE(value(RegistryView::k64, kEntry, "UninstallString"));
  EXPECT_FALSE(value(RegistryView::k32, kEntry, "UninstallString"));
  const std::string record =
      sim.readFile("C:\\Program Files\\Tool64\\UNSETUP.INI", 1 << 20).value_or("");
  EXPECT_NE(record.find("C:\\WINDOWS\\System32\\TOOL64.DLL"), std::string::npos) << record;
}

TEST_F(Application64Test, AnUninstallerOfEitherBuildRemovesItWhole) {
  for (const bool uninstaller64 : {true, false}) {
    sim.startAfresh();
    ASSERT_EQ(install(), exit_code::kDone) << log();
    sim.startAfresh();
    EXPECT_EQ(start("C:\\WINDOWS\\UNORSET.EXE",
                    "\"C:\\Program Files\\Tool64\\UNSETUP.INI\" /S /LOG=C:\\LOGS\\RUN.LOG",
                    uninstaller64),
              exit_code::kDone)
        << log();
    EXPECT_FALSE(file64("C:\\Program Files\\Tool64\\TOOL.EXE")) << uninstaller64;
    EXPECT_FALSE(file64("C:\\WINDOWS\\System32\\TOOL64.DLL")) << uninstaller64;
    EXPECT_FALSE(sim.registryKeyExists({kMachine, RegistryView::k64}, "SOFTWARE\\Tool64"))
        << uninstaller64 << log();
    EXPECT_FALSE(sim.registryKeyExists({kMachine, RegistryView::k64}, kEntry)) << uninstaller64;
  }
}

TEST_F(Application64Test, ThirtyTwoBitWindowsRefusesItBeforeAnythingIsMade) {
  sim.setMachine(false, false);
  const SimSnapshot before = sim.snapshot();
  EXPECT_EQ(install(false), exit_code::kBadCommandLine);
  EXPECT_NE(log().find(main_text::kNeeds64BitWindows), std::string::npos) << log();
  const SimSnapshot after = sim.snapshot();
  EXPECT_EQ(after.registryValues, before.registryValues);
  EXPECT_FALSE(sim.folderExists("C:\\Program Files\\Tool64"));
}

TEST_F(Application64Test, AScriptWithoutTheKeyInstallsAsA32BitApplication) {
  std::string script = kScript;
  script.replace(script.find("Architecture=x64"), 16, "Architecture=");
  writeSetupIni(script);
  ASSERT_EQ(start("C:\\SETUP\\SETUP.EXE", "/S", false), exit_code::kDone);
  EXPECT_TRUE(file64("C:\\WINDOWS\\SysWOW64\\TOOL64.DLL"));
  EXPECT_TRUE(value(RegistryView::k32, "SOFTWARE\\Tool64", "Library"));
  EXPECT_FALSE(value(RegistryView::k64, "SOFTWARE\\Tool64", "Library"));
}

}  // namespace
}  // namespace orv::test
