// The uninstall run on the simulated Windows: what a record removes, what it keeps, and what no
// record can make it remove.
#include "uninstall/UninstallRun.h"

#include "app/FailureDisplay.h"
#include "app/ShellFixture.h"

namespace orv::test {
namespace {

using namespace uninstall_text;
constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kClasses = RegistryRoot::kClassesRoot;
constexpr const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";
constexpr const char* kOtherEntry =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other";

class UninstallRunTest : public ShellTest {
 protected:
  UninstallRunTest() {
    EXPECT_TRUE(sim.createFolderPath("C:\\Tool\\DATA"));
    sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"");
    entry(kEntry, "C:\\Tool\\UNSETUP.INI");
  }
  void file(const std::string& path) { ASSERT_TRUE(sim.writeFile(path, "x")) << path; }
  void entry(const std::string& key, const std::string& record) {
    ASSERT_TRUE(sim.writeRegistryValue(
        kMachine, key, "UninstallString",
        {RegistryType::kString, "C:\\WINDOWS\\UNORSET.EXE \"" + record + "\"", 0}));
  }
  std::string in(int folder, const std::string& name) {
    return sim.specialFolder(folder).value() + "\\" + name;
  }
  // Starts in uninstall mode on the record, presses Uninstall and runs to the end.
  void uninstall(const std::string& record) {
    writeText("C:\\Tool\\UNSETUP.INI", record);
    sim.userClicks(frmMain.btnUnSetup);
    run();
  }
  std::string failures() const { return runState.Failures.FailureText; }
};

TEST_F(UninstallRunTest, RemovesWhatTheRecordListsInItsOrder) {
  file("C:\\Tool\\A.TXT");
  file("C:\\Tool\\DATA\\B.TXT");
  ASSERT_TRUE(sim.setFileAttributes("C:\\Tool\\DATA\\B.TXT", attr::kReadOnly));
  ASSERT_TRUE(sim.createFolder(in(csidl::kPrograms, "Tool")));
  for (const std::string& link : {in(csidl::kPrograms, "Tool\\Tool.lnk"),
                                  in(csidl::kStartup, "Run.lnk"), in(csidl::kDesktop, "X.lnk")}) {
    file(link);
  }
  ASSERT_TRUE(sim.createRegistryKey(kUser, "Software\\Tool\\Deep\\Er"));
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFolder]\nFolder1=C:\\Tool\\\n"
      "Folder2=C:\\Tool\\DATA\\\n[DeleteFile]\nFile1=C:\\Tool\\A.TXT\n"
      "File2=C:\\Tool\\DATA\\B.TXT\nFile3=C:\\Tool\\UNSETUP.INI\n[DeleteShortCut]\nFile1=" +
      in(csidl::kPrograms, "Tool\\Tool.lnk") + "\nFile2=" + in(csidl::kStartup, "Run.lnk") +
      "\nFile3=" + in(csidl::kDesktop, "X.lnk") +
      "\n[DeleteRegistry]\nKey1=(Cuser)Software\\Tool\n[UnSetupRegistryKey]\nKey=" + kEntry + "\n");
  EXPECT_EQ(failures(), "");
  EXPECT_FALSE(sim.folderExists("C:\\Tool")) << "files, then folders, the setup folder last";
  EXPECT_FALSE(sim.folderExists(in(csidl::kPrograms, "Tool"))) << "the emptied group goes";
  EXPECT_TRUE(sim.folderExists(sim.specialFolder(csidl::kStartup).value()));
  EXPECT_TRUE(sim.folderExists(sim.specialFolder(csidl::kDesktop).value()));
  EXPECT_FALSE(sim.registryKeyExists(kUser, "Software\\Tool"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, kEntry));
  EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI")) << "the temporary copy";
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({kCompleteCaption}));
  EXPECT_EQ(sim.shownMessages()[0].text, kComplete);
  EXPECT_TRUE(frmBack.runFinished());
}

TEST_F(UninstallRunTest, SharedLibrariesAndFlagsDecideWhatStays) {
  const char* kept[] = {"C:\\WINDOWS\\SYSTEM\\X.DLL", "C:\\WINDOWS\\Q.DLL\\F.TXT",
                        "C:\\Tool\\..\\WINDOWS\\SYSTEM\\N.DLL", "C:\\Tool\\K.TXT",
                        "C:\\WINDOWS\\SYSTEM\\Z.OCX"};
  const char* gone[] = {"C:\\WINDOWS\\SYSTEM\\Y.DLL", "C:\\Tool\\Y.TXT", "C:\\Tool\\DUP.TXT"};
  ASSERT_TRUE(sim.createFolder("C:\\WINDOWS\\Q.DLL"));
  for (const char* path : kept)
    file(path);
  for (const char* path : gone)
    file(path);
  sim.userAnswers(kIdNo);   // Z.OCX
  sim.userAnswers(kIdYes);  // Y.TXT
  sim.userAnswers(kIdNo);   // the failure list
  uninstall(
      "[DeleteFile]\nFile1=C:\\WINDOWS\\SYSTEM\\X.DLL\nFile2=C:\\WINDOWS\\Q.DLL\\F.TXT\n"
      "File3=C:\\Tool\\..\\WINDOWS\\SYSTEM\\N.DLL\nFile4=C:\\Tool\\K.TXT,/L\n"
      "File5=C:\\WINDOWS\\SYSTEM\\Z.OCX,/C\nFile6=C:\\WINDOWS\\SYSTEM\\Y.DLL,/F\n"
      "File7=C:\\Tool\\Y.TXT,/C\nFile8=C:\\Tool\\DUP.TXT\nFile9=c:\\tool\\dup.txt\n"
      "[UnSetupRegistryKey]\nKey=" +
      std::string(kEntry) + "\n");
  for (const char* path : kept)
    EXPECT_TRUE(sim.fileExists(path)) << path;
  for (const char* path : gone)
    EXPECT_FALSE(sim.fileExists(path)) << path;
  EXPECT_EQ(
      sim.shownMessages()[0].text,
      "C:\\WINDOWS\\SYSTEM\\Z.OCX\r\rこのファイルを削除してもよろしいですか？\r\r<<　注意　>>\r"
      "DLL・OCXなどは他のプログラムでも使用される可能性があります．\r"
      "確実に使用されないことがわかっている場合のみ削除してください．");
  EXPECT_EQ(sim.shownMessages()[0].caption, kDeleteCaption);
  EXPECT_EQ(failures(), "<SetupFolder> \r\n") << "the record names no setup folder";
}

TEST_F(UninstallRunTest, WhatCannotBeRemovedIsReportedAndTheRunCompletes) {
  file("C:\\Tool\\DATA\\USER.TXT");  // a file the user added
  file("C:\\Tool\\A.TXT");
  file(in(csidl::kDesktop, "A.lnk"));
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\Tool\\A.TXT", kErrorSharingViolation);
  sim.injectFault(SimPlatform::Operation::kDeleteFile, in(csidl::kDesktop, "A.lnk"),
                  kErrorAccessDenied);
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\WINDOWS\\TEMP\\UNSETUP.INI",
                  kErrorAccessDenied);
  sim.userAnswers(kIdNo);  // the failure list
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFolder]\nFolder1=C:\\Tool\\DATA\\\n"
      "[DeleteFile]\nFile1=C:\\Tool\\A.TXT\nFile2=C:\\Tool\\UNSETUP.INI\n"
      "[DeleteShortCut]\nFile1=" +
      in(csidl::kDesktop, "A.lnk") + "\n[UnSetupRegistryKey]\nKey=" + kEntry + "\n");
  EXPECT_EQ(failures(), "<File> C:\\Tool\\A.TXT\r\n<ShortCut> " + in(csidl::kDesktop, "A.lnk") +
                            "\r\n<Folder> C:\\Tool\\DATA\\\r\n<SetupFolder> C:\\Tool\\\r\n"
                            "<File> C:\\WINDOWS\\TEMP\\UNSETUP.INI\r\n");
  EXPECT_EQ(shownCaptions(),
            std::vector<std::string>({failure_text::kWarningCaption, kCompleteCaption}));
  EXPECT_EQ(sim.shownMessages()[0].text, kFailuresQuestion);
  EXPECT_FALSE(sim.registryKeyExists(kMachine, kEntry));
}

TEST_F(UninstallRunTest, AHostileRecordCannotReachBeyondTheProduct) {
  ASSERT_TRUE(sim.createRegistryKey(kUser, "Software\\Keep"));
  ASSERT_TRUE(sim.writeRegistryValue(kClasses, ".txt", "", {RegistryType::kString, "txtfile", 0}));
  ASSERT_TRUE(
      sim.writeRegistryValue(kClasses, ".smp", "", {RegistryType::kString, "smp_auto_file", 0}));
  ASSERT_TRUE(sim.createRegistryKey(kClasses, "smp_auto_file\\shell"));
  ASSERT_TRUE(sim.createRegistryKey(kMachine, "SOFTWARE\\Tool"));
  entry(kOtherEntry, "C:\\Other\\UNSETUP.INI");
  const std::string cut(300, 'x');
  file("C:\\Tool\\" + std::string(245, 'x'));
  sim.userAnswers(kIdNo);  // the failure list
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\..\\WINDOWS\\\n[DeleteFolder]\nFolder1=C:\\\n"
      "Folder2=C:\\WINDOWS\\SYSTEM\\\n[DeleteFile]\nFile1=C:\\Tool\\" +
      cut +
      "\n[DeleteRegistry]\nKey1=(Local)\nKey2=(Local)SOFTWARE\nKey3=(Cuser)Software\n"
      "Key4=(Local)SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\nKey5=(Local)" +
      kOtherEntry +
      "\nKey6=(Class).txt\nKey7=(Class).smp\nKey8=(Class)smp_auto_file\n"
      "Key9=(Local)SOFTWARE\\Tool\n[UnSetupRegistryKey]\nKey=" +
      kOtherEntry + "\n");
  EXPECT_TRUE(sim.registryKeyExists(kUser, "Software\\Keep")) << sim.registryText();
  EXPECT_TRUE(
      sim.registryKeyExists(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kOtherEntry)) << "another product's entry";
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kEntry)) << "not named by this record";
  EXPECT_TRUE(sim.registryKeyExists(kClasses, ".txt"));
  EXPECT_FALSE(sim.registryKeyExists(kClasses, ".smp")) << "a class the setup run made goes";
  EXPECT_FALSE(sim.registryKeyExists(kClasses, "smp_auto_file"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, "SOFTWARE\\Tool"));
  EXPECT_TRUE(sim.folderExists("C:\\WINDOWS"));
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\" + std::string(245, 'x'))) << "a cut path is no path";
  const std::string reported = failures();
  for (const std::string& line :
       {std::string("<File> C:\\Tool\\") + std::string(245, 'x'), std::string("<Folder> C:\\\r\n"),
        std::string("<Folder> C:\\WINDOWS\\SYSTEM\\\r\n"), std::string("<Registry> (Local)\r\n"),
        std::string("<Registry> (Local)SOFTWARE\r\n"),
        std::string("<Registry> (Cuser)Software\r\n"), std::string("<Registry> (Class).txt\r\n"),
        std::string("<Registry> (Local)") + kOtherEntry + "\r\n",
        std::string("<Registry> ") + kOtherEntry + "\r\n",
        std::string("<SetupFolder> C:\\Tool\\..\\WINDOWS\\\r\n")}) {
    EXPECT_NE(reported.find(line), std::string::npos) << line << " in\n" << reported;
  }
}

TEST_F(UninstallRunTest, ARecordWithoutListsStillRemovesTheEntryAndCompletes) {
  sim.userAnswers(kIdNo);  // the failure list: the setup folder is not empty
  file("C:\\Tool\\USER.TXT");
  uninstall("[SetupFolder]\nFolder=C:\\Tool\\\n[UnSetupRegistryKey]\nKey=" + std::string(kEntry) +
            "\n");
  EXPECT_FALSE(sim.registryKeyExists(kMachine, kEntry));
  EXPECT_EQ(failures(), "<SetupFolder> C:\\Tool\\\r\n");
  EXPECT_TRUE(frmBack.runFinished());
}

TEST_F(UninstallRunTest, ATemporaryFolderThatCannotBeMadeCurrentStopsBeforeRemovingAnything) {
  file("C:\\Tool\\A.TXT");
  sim.injectFault(SimPlatform::Operation::kSetCurrentFolder, "C:\\WINDOWS\\TEMP\\",
                  kErrorPathNotFound);
  writeText("C:\\Tool\\UNSETUP.INI", "[DeleteFile]\nFile1=C:\\Tool\\A.TXT\n");
  sim.userClicks(frmMain.btnUnSetup);
  sim.userDoes([this] { EXPECT_TRUE(frmMain.btnEnd.enabled()) << "left to leave by"; });
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(sim.shownMessages()[0].text, "I/O ｴﾗｰ (3).");
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\A.TXT"));
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kEntry));
}

}  // namespace
}  // namespace orv::test
