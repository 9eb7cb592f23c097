// Unattended starts (/S) on the simulated Windows, run as the Windows entry point runs them: no
// view and no box reach the platform, each question takes its unattended answer, and the exit
// code and the log tell the outcome.
#include "app/Unattended.h"

#include "app/SETUP.h"
#include "app/ShellFixture.h"
#include "setup/AssociationPhase.h"
#include "setup/CopyPhase.h"
#include "setup/SetupRun.h"

namespace orv::test {
namespace {

constexpr const char* kScript =
    "[Title]\nSetup=ツール\nUnSetup=ツールの削除\nVersion=2.1\nPublisher=ツール工房\n"
    "Url=https://example.com/tool/\n"
    "[DefaultFolder]\nFolder=(Prg)\\Tool\n"
    "[CopyFile]\nFile1=(App)\\TOOL.EXE\nFile2=(App)\\HELP.TXT,/C\n"
    "[ShortCut]\nMake1=(App)\\TOOL.EXE\nName1=(Dsk)Tool\n"
    "[Relate]\nName1=tol,Tool file\nFile1=(App)\\TOOL.EXE\n";
constexpr const char* kEntry =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ツールの削除";

class UnattendedTest : public ::testing::Test, public SimMachine {
 protected:
  UnattendedTest() {
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\TOOL.EXE", std::string(3000, 't')));
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\HELP.TXT", "help"));
  }
  int start(const std::string& program, const std::string& arguments) {
    sim.setProgramFilePath(program);
    sim.setCommandLine(program + " " + arguments);
    return RunProgram(sim);
  }
  int install(const std::string& arguments, const std::string& script = kScript) {
    writeSetupIni(script);
    return start("C:\\SETUP\\SETUP.EXE", arguments);
  }
  std::string entryValue(const std::string& name) const {
    const auto value = sim.readRegistryValue(RegistryRoot::kLocalMachine, kEntry, name);
    return !value                                ? "none"
           : value->type == RegistryType::kDword ? std::to_string(value->number)
                                                 : value->text;
  }
  std::string log() const { return sim.readFile("C:\\LOGS\\RUN.LOG", 1 << 20).value_or(""); }
};

TEST_F(UnattendedTest, InstallsWithNoWindowNoBoxNoPauseAndFillsTheEntry) {
  ASSERT_EQ(install("/s /D=C:\\Program Files\\My Tool"), exit_code::kDone);
  EXPECT_EQ(sim.viewsCreated(), 0);
  EXPECT_TRUE(sim.shownMessages().empty());
  EXPECT_EQ(sim.elapsedMilliseconds(), 0u);
  EXPECT_TRUE(sim.fileExists("C:\\Program Files\\My Tool\\TOOL.EXE"));
  EXPECT_TRUE(sim.fileExists("C:\\Users\\User\\Desktop\\Tool.lnk")) << "the box's default";
  EXPECT_TRUE(sim.registryKeyExists(RegistryRoot::kClassesRoot, ".tol")) << "association made";
  const std::string command =
      "C:\\WINDOWS\\UNORSET.EXE \"C:\\Program Files\\My Tool\\UNSETUP.INI\"";
  EXPECT_EQ(entryValue("UninstallString"), command);
  EXPECT_EQ(entryValue("QuietUninstallString"), command + " /S");
  EXPECT_EQ(entryValue("InstallLocation"), "C:\\Program Files\\My Tool");
  EXPECT_EQ(entryValue("EstimatedSize"), "4") << "3000 + 4 bytes and the record, rounded up";
  EXPECT_EQ(entryValue("InstallDate"), "20261208");
  EXPECT_EQ(entryValue("DisplayVersion"), "2.1");
  EXPECT_EQ(entryValue("Publisher"), "ツール工房");
  EXPECT_EQ(entryValue("URLInfoAbout"), "https://example.com/tool/");

  // The recorded quiet command removes it all but the ",/C" file, which keeps its folder as the
  // answer keeps the file: no failure.
  sim.startAfresh();
  ASSERT_TRUE(sim.createFolder("C:\\LOGS"));
  EXPECT_EQ(start("C:\\WINDOWS\\UNORSET.EXE",
                  "\"C:\\Program Files\\My Tool\\UNSETUP.INI\" /S /LOG=C:\\LOGS\\RUN.LOG"),
            exit_code::kDone);
  EXPECT_NE(log().find("stays, as an answer keeps it: <SetupFolder> C:\\Program Files\\My Tool\\"),
            std::string::npos)
      << log();
  EXPECT_EQ(sim.viewsCreated(), 0);
  EXPECT_TRUE(sim.shownMessages().empty());
  EXPECT_FALSE(sim.fileExists("C:\\Program Files\\My Tool\\TOOL.EXE"));
  EXPECT_TRUE(sim.fileExists("C:\\Program Files\\My Tool\\HELP.TXT")) << "the safe answer";
  EXPECT_FALSE(sim.fileExists("C:\\Users\\User\\Desktop\\Tool.lnk"));
  EXPECT_EQ(entryValue("UninstallString"), "none");
}

TEST_F(UnattendedTest, AnUpgradeWithoutAFolderKeepsTheOneInstallation) {
  ASSERT_EQ(install("/S /D=C:\\Apps\\Tool"), exit_code::kDone);
  // The next version, as a package manager upgrades it: no folder on the command line.
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\NEW.TXT", "new"));
  ASSERT_TRUE(sim.createFolder("C:\\LOGS"));
  std::string next = kScript;
  next.insert(next.find("[ShortCut]"), "File3=(App)\\NEW.TXT\n");
  ASSERT_EQ(install("/S /LOG=C:\\LOGS\\RUN.LOG", next), exit_code::kDone);
  EXPECT_TRUE(sim.fileExists("C:\\Apps\\Tool\\NEW.TXT"));
  EXPECT_FALSE(sim.folderExists("C:\\Program Files\\Tool")) << "no second installation";
  EXPECT_EQ(entryValue("InstallLocation"), "C:\\Apps\\Tool");
  // The recorded quiet command then removes the one installation whole.
  sim.startAfresh();
  EXPECT_EQ(start("C:\\WINDOWS\\UNORSET.EXE", "\"C:\\Apps\\Tool\\UNSETUP.INI\" /S"),
            exit_code::kDone);
  EXPECT_FALSE(sim.fileExists("C:\\Apps\\Tool\\NEW.TXT"));
  EXPECT_FALSE(sim.fileExists("C:\\Apps\\Tool\\TOOL.EXE"));
  EXPECT_EQ(entryValue("UninstallString"), "none");

  // A folder named on the command line still goes first, and the log tells of the other one.
  ASSERT_EQ(install("/S /D=C:\\Apps\\Tool"), exit_code::kDone);
  ASSERT_EQ(install("/S /LOG=C:\\LOGS\\RUN.LOG /D=C:\\Other"), exit_code::kDone);
  EXPECT_NE(
      log().find("another installation is registered under the same entry, in C:\\Apps\\Tool"),
      std::string::npos);
}

TEST_F(UnattendedTest, TheEntrySaysWhatTheLatestRunSays) {
  ASSERT_EQ(install("/S"), exit_code::kDone);
  ASSERT_EQ(entryValue("DisplayVersion"), "2.1");
  sim.mapDrive('D', root.path() / "D");
  const std::string plain =
      "[Title]\nSetup=ツール\nUnSetup=ツールの削除\n[CopyFile]\n"
      "File1=(App)\\TOOL.EXE\n";
  ASSERT_EQ(install("/S /D=D:\\", plain), exit_code::kDone);
  EXPECT_EQ(entryValue("InstallLocation"), "D:\\") << "the root, not the drive's current folder";
  for (const char* value : {"DisplayVersion", "Publisher", "URLInfoAbout"})
    EXPECT_EQ(entryValue(value), "none") << value;
}

TEST_F(UnattendedTest, ExitCodesTellTheOutcome) {
  struct Case {
    const char* name;
    std::string script;
    std::string arguments;
    std::function<void(SimPlatform&)> prepare;
    int code;
  };
  const std::string restart = std::string(kScript) + "[ExecuteFile]\nFile=WINDOWS_REBOOT\n";
  const std::string twoDisks =
      "[DefaultFolder]\nFolder=(Prg)\\Tool\n[CopyFile]\nFile1=(App)\\TOOL.EXE\nFile2=(Dch)(App)"
      "\\DISK2.DAT\n";
  const std::vector<Case> cases = {
      {"done", kScript, "/S", nullptr, exit_code::kDone},
      {"restart needed", restart, "/S", nullptr, exit_code::kRestartNeeded},
      // A package manager reads 3010 as done: with something failed, 1 says what matters more.
      {"restart needed and a failure", restart, "/S",
       [](SimPlatform& s) { ASSERT_TRUE(s.createFolderPath("C:\\Program Files\\Tool\\TOOL.EXE")); },
       exit_code::kDoneWithFailures},
      {"a failure", kScript, "/S",
       [](SimPlatform& s) { ASSERT_TRUE(s.createFolderPath("C:\\Program Files\\Tool\\TOOL.EXE")); },
       exit_code::kDoneWithFailures},
      {"a file the disk lacks", kScript, "/S",
       [](SimPlatform& s) { ASSERT_TRUE(s.deleteFile("C:\\SETUP\\HELP.TXT")); },
       exit_code::kDoneWithFailures},
      {"disk 2 already in the folder", twoDisks, "/S",
       [](SimPlatform& s) { ASSERT_TRUE(s.writeFile("C:\\SETUP\\DISK2.DAT", "2")); },
       exit_code::kDone},
      {"a later file of disk 2 missing from the folder", twoDisks + "File3=(App)\\DISK2B.DAT\n",
       "/S", [](SimPlatform& s) { ASSERT_TRUE(s.writeFile("C:\\SETUP\\DISK2.DAT", "2")); },
       exit_code::kDoneWithFailures},
      {"a file gone when its turn comes", twoDisks, "/S",
       [](SimPlatform& s) {
         ASSERT_TRUE(s.writeFile("C:\\SETUP\\DISK2.DAT", "2"));
         s.whileWorking([&s] {
           return s.folderExists("C:\\Program Files\\Tool") &&
                  s.deleteFile("C:\\SETUP\\TOOL.EXE").succeeded();
         });
       },
       exit_code::kDoneWithFailures},
      {"disk 2 gone when asked for", twoDisks, "/S",
       [](SimPlatform& s) {
         ASSERT_TRUE(s.writeFile("C:\\SETUP\\DISK2.DAT", "2"));
         // A share that drops: the file the run found at its start is gone at the change.
         s.whileWorking([&s] {
           return s.folderExists("C:\\Program Files\\Tool") &&
                  s.deleteFile("C:\\SETUP\\DISK2.DAT").succeeded();
         });
       },
       exit_code::kDiskMissing},
      {"folder not made", kScript, "/S /D=C:\\HELP.TXT\\Tool",
       [](SimPlatform& s) { ASSERT_TRUE(s.writeFile("C:\\HELP.TXT", "a file")); },
       exit_code::kFolderNotMade},
      {"no script", "", "/S",
       [](SimPlatform& s) { ASSERT_TRUE(s.deleteFile("C:\\SETUP\\SETUP.INI")); },
       exit_code::kBadCommandLine},
      {"unknown switch", kScript, "/S /VERYSILENT", nullptr, exit_code::kBadCommandLine},
      {"an argument that is no record", kScript, "/S Tool", nullptr, exit_code::kBadCommandLine},
      {"the folder locked by the script", std::string(kScript) + "[Extend]\nEnabled=False\n",
       "/S /D=C:\\Tool", nullptr, exit_code::kBadCommandLine},
      {"an error ends the run",
       std::string(kScript) + "[Registry]\nKey1=(Local)\\\nName1=x\nValue1=y\n", "/S", nullptr,
       exit_code::kRunFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SimMachine machine;
    EXPECT_TRUE(machine.sim.writeFile("C:\\SETUP\\TOOL.EXE", "tool"));
    EXPECT_TRUE(machine.sim.writeFile("C:\\SETUP\\HELP.TXT", "help"));
    machine.writeSetupIni(c.script);
    if (c.prepare) c.prepare(machine.sim);
    machine.sim.setCommandLine("C:\\SETUP\\SETUP.EXE " + c.arguments);
    EXPECT_EQ(RunProgram(machine.sim), c.code);
    EXPECT_TRUE(machine.sim.shownMessages().empty());
  }
}

TEST_F(UnattendedTest, ASecondCopyGetsItsCodeAndAddsToTheRunningCopysLog) {
  writeSetupIni(kScript);
  ASSERT_TRUE(sim.createFolder("C:\\LOGS"));
  ASSERT_TRUE(sim.writeFile("C:\\LOGS\\RUN.LOG", "the running copy's lines\r\n"));
  const auto held = sim.claimNamedMutex(kSingleInstanceName);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(start("C:\\SETUP\\SETUP.EXE", "/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kAlreadyRunning);
  EXPECT_TRUE(log().starts_with("the running copy's lines\r\n")) << log();
  EXPECT_NE(log().find("another copy of the program is running"), std::string::npos) << log();
}

TEST_F(UnattendedTest, AFolderOnTheCommandLineIsRecordedWhole) {
  ASSERT_TRUE(sim.setCurrentFolder("C:\\"));
  ASSERT_EQ(install("/S /D=Tool"), exit_code::kDone);
  EXPECT_EQ(entryValue("InstallLocation"), "C:\\Tool");
  EXPECT_EQ(entryValue("QuietUninstallString"),
            "C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\" /S");
}

TEST_F(UnattendedTest, NoLogIsWrittenThroughALink) {
  // Another user made the folder the administrator names a link to the system folder.
  ASSERT_TRUE(sim.makeFolderLink("C:\\LOGS", "C:\\WINDOWS\\SYSTEM"));
  EXPECT_EQ(install("/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kBadCommandLine);
  EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\SYSTEM\\RUN.LOG"));
  EXPECT_FALSE(sim.fileExists("C:\\Program Files\\Tool\\TOOL.EXE"));
}

TEST_F(UnattendedTest, ARefusedCommandLineWritesNothing) {
  ASSERT_TRUE(sim.createFolderPath("C:\\Users\\Taro Yamada"));
  // The manifest's switches as a package manager fills them in, the log's path unquoted.
  EXPECT_EQ(install("/S /LOG=C:\\Users\\Taro Yamada\\tool.log /D=C:\\Program Files\\Tool"),
            exit_code::kBadCommandLine);
  EXPECT_FALSE(sim.fileExists("C:\\Users\\Taro")) << "no stray log";
  EXPECT_FALSE(sim.folderExists("C:\\Program Files\\Tool"));
  EXPECT_EQ(install("/S /LOG=\"C:\\Users\\Taro Yamada\\tool.log\" /D=C:\\Program Files\\Tool"),
            exit_code::kDone);
  EXPECT_TRUE(sim.fileExists("C:\\Users\\Taro Yamada\\tool.log"));
}

TEST_F(UnattendedTest, NoLogIsWrittenThroughAHardLink) {
  // Another user gave a file the program must not change a second name where the log goes.
  ASSERT_TRUE(sim.createFolder("C:\\LOGS"));
  ASSERT_TRUE(sim.writeFile("C:\\WINDOWS\\SYSTEM\\CONFIG.SYS", "the system's"));
  ASSERT_TRUE(sim.makeHardLink("C:\\LOGS\\RUN.LOG", "C:\\WINDOWS\\SYSTEM\\CONFIG.SYS"));
  EXPECT_EQ(install("/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kBadCommandLine);
  EXPECT_EQ(sim.readFile("C:\\WINDOWS\\SYSTEM\\CONFIG.SYS", 99), "the system's");
}

TEST_F(UnattendedTest, UnattendedAnswers) {
  UnattendedPlatform quiet(sim, nullptr);
  const auto answer = [&](const char* caption, std::uint32_t buttons) {
    return quiet.messageBox("text", caption, buttons | kMbIconQuestion);
  };
  EXPECT_EQ(answer(setup_text::kCreateFolderCaption, kMbYesNo), kIdYes);
  EXPECT_EQ(answer(relate_text::kCaption, kMbYesNo), kIdYes);
  EXPECT_EQ(answer("ファイル削除の確認", kMbYesNo), kIdNo) << "a ,/C file stays";
  EXPECT_EQ(answer("警告", kMbYesNo), kIdNo) << "the failure list goes to the log";
  EXPECT_EQ(answer(copy_text::kDiskCaption, kMbOkCancel), kIdOk) << "the disk may be there";
  EXPECT_EQ(answer(copy_text::kDiskCaption, kMbOkCancel), kIdCancel) << "it was not";
  EXPECT_EQ(answer("警告", kMbOk), kIdOk);
  Form owner(sim, "owner", {});
  EXPECT_EQ(quiet.restartDialog(owner), kIdNo);
  EXPECT_GT(quiet.openProgram(owner, "C:\\Tool\\TOOL.EXE", ""), 32);
  EXPECT_TRUE(sim.startedPrograms().empty());
  EXPECT_TRUE(sim.shownMessages().empty());
}

TEST_F(UnattendedTest, TheLogTellsTheRun) {
  ASSERT_TRUE(sim.createFolder("C:\\LOGS"));
  ASSERT_TRUE(sim.createFolderPath("C:\\Program Files\\Tool\\TOOL.EXE"));
  ASSERT_TRUE(sim.deleteFile("C:\\SETUP\\HELP.TXT"));
  ASSERT_EQ(install("/LOG=C:\\LOGS\\RUN.LOG /S"), exit_code::kDoneWithFailures);
  const std::string text = log();
  for (const std::string line : {
           "2026-12-08 09:30:00.000  Orvane! Setup 98 1.70β (Build:1212)\r\n",
           "  command line: C:\\SETUP\\SETUP.EXE /LOG=C:\\LOGS\\RUN.LOG /S\r\n",
           "  unattended start\r\n",
           "  setup run: folder C:\\Program Files\\Tool\\; overwrite yes, desktop yes, start menu "
           "yes, startup yes, send to yes\r\n",
           "  status: セットアップを開始します．．．\r\n",
           "  question: [関連付けの確認] 拡張子 *.tol を\r\n",
           "  answer: Yes\r\n",
           "  skipped, not in the program's folder: C:\\SETUP\\HELP.TXT\r\n",
           "  failure: <File> C:\\Program Files\\Tool\\TOOL.EXE\r\n",
           "  failure: <File> C:\\SETUP\\HELP.TXT\r\n",
           "  the run completed; 2 failures; exit code 1\r\n",
       }) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;
  }
}

}  // namespace
}  // namespace orv::test
