// The uninstall run on the simulated Windows: what a record removes, what it keeps, and what no
// record can make it remove.
#include "uninstall/UninstallRun.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <map>

#include "app/FailureDisplay.h"
#include "app/ShellFixture.h"
#include "common/TextUtils.h"

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
  // Starts in uninstall mode on the record, as the setup run left it (its digest in the entry),
  // presses Uninstall and runs to the end. The record's [UnSetupRegistryKey] comes last.
  void uninstall(const std::string& record, const std::string& entryName = "Tool") {
    writeSetupRecord("C:\\Tool\\UNSETUP.INI", record, entryName);
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
      "\n[DeleteRegistry]\nKey1=(Cuser)Software\\Tool\n");
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

TEST_F(UninstallRunTest, AnotherProfilesEmptiedGroupGoesAndItsStartupFolderStays) {
  // Elevated for another user: the groups lie in that user's profile.
  const std::string programs =
      "C:\\Users\\Alice\\AppData\\Roaming\\Microsoft\\Windows\\"
      "Start Menu\\Programs\\";
  ASSERT_TRUE(sim.createFolderPath(programs + "Tool\\Sub"));
  ASSERT_TRUE(sim.createFolderPath(programs + "Startup"));
  file(programs + "Tool\\Sub\\Tool.lnk");
  file(programs + "Startup\\Run.lnk");
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFolder]\nFolder1=C:\\Tool\\DATA\\\n"
      "[DeleteFile]\nFile1=C:\\Tool\\UNSETUP.INI\n[DeleteShortCut]\nFile1=" +
      programs + "Tool\\Sub\\Tool.lnk\nFile2=" + programs + "Startup\\Run.lnk\n");
  EXPECT_EQ(failures(), "");
  EXPECT_FALSE(sim.folderExists(programs + "Tool\\Sub"));
  EXPECT_TRUE(sim.folderExists(programs + "Tool")) << "only the link's own folder goes";
  EXPECT_TRUE(sim.folderExists(programs + "Startup"));
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
      "File7=C:\\Tool\\Y.TXT,/C\nFile8=C:\\Tool\\DUP.TXT\nFile9=c:\\tool\\dup.txt\n");
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

TEST_F(UninstallRunTest, WhatIsInUseGoesAtTheRestartAndTheUserIsTold) {
  // Below Program Files, whose folders only administrators may change.
  const std::string tool = "C:\\Program Files\\Tool\\";
  ASSERT_TRUE(sim.createFolderPath(tool + "DATA"));
  file(tool + "DATA\\USER.TXT");  // a file the user added
  file(tool + "A.EXE");
  sim.injectFault(SimPlatform::Operation::kDeleteFile, tool + "A.EXE", kErrorAccessDenied);
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\WINDOWS\\TEMP\\UNSETUP.INI",
                  kErrorAccessDenied);
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"" + tool + "UNSETUP.INI\"");
  writeSetupRecord(tool + "UNSETUP.INI", "[SetupFolder]\nFolder=" + tool +
                                             "\n[DeleteFolder]\nFolder1=" + tool +
                                             "DATA\\\n[DeleteFile]\nFile1=" + tool +
                                             "A.EXE\nFile2=" + tool + "UNSETUP.INI\n");
  sim.userClicks(frmMain.btnUnSetup);
  sim.userAnswers(kIdNo);  // the failure list
  run();
  EXPECT_EQ(failures(), "<Folder> " + tool + "DATA\\\r\n<File> C:\\WINDOWS\\TEMP\\UNSETUP.INI\r\n")
      << "the user's files keep their folder";
  EXPECT_EQ(sim.pendingDeletions(), std::vector<std::string>({tool + "A.EXE", tool}))
      << "the folder of what goes at the restart goes after it";
  EXPECT_EQ(shownCaptions(),
            std::vector<std::string>({failure_text::kWarningCaption, kRestartCaption}));
  EXPECT_EQ(sim.shownMessages()[1].text, kRestartCompletes);
  EXPECT_FALSE(sim.registryKeyExists(kMachine, kEntry));
}

TEST_F(UninstallRunTest, WhatStaysIsRecordedAgainSoALaterUninstallFinishes) {
  file("C:\\Tool\\A.TXT");
  file("C:\\Tool\\B.TXT");
  ASSERT_TRUE(sim.createRegistryKey(kMachine, "SOFTWARE\\Tool"));
  ASSERT_TRUE(sim.createRegistryKey(kMachine, "SOFTWARE\\ToolData"));
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\Tool\\A.TXT", kErrorAccessDenied, 1);
  sim.injectRegistryFault(SimPlatform::Operation::kDeleteRegistryKey, kMachine, "SOFTWARE\\Tool",
                          kErrorAccessDenied, 1);
  sim.userAnswers(kIdNo);  // the failure list
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFolder]\nFolder1=C:\\Tool\\\n"
      "Folder2=C:\\Tool\\DATA\\\n[DeleteFile]\nFile1=C:\\Tool\\A.TXT,/F\n"
      "File2=C:\\Tool\\B.TXT\nFile3=C:\\Tool\\UNSETUP.INI\n"
      "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Tool\nKey2=(Local)SOFTWARE\\ToolData\n");
  EXPECT_EQ(shownCaptions(),
            std::vector<std::string>({failure_text::kWarningCaption, kLeftCaption}));
  EXPECT_EQ(sim.shownMessages()[1].text, kLeftRecorded);
  const IniReader left =
      IniReader::FromBytes(sim, sim.readFile("C:\\Tool\\UNSETUP.INI", 1 << 20).value_or(""));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Folder1", "C:\\Tool\\"},         {"Folder2", ""},
      {"File1", "C:\\Tool\\A.TXT,/F"},   {"File2", "C:\\Tool\\UNSETUP.INI"},
      {"Key1", "(Local)SOFTWARE\\Tool"}, {"Key2", ""}};
  for (const auto& [key, value] : expected) {
    const char* section = key.starts_with("Folder") ? "DeleteFolder"
                          : key.starts_with("File") ? "DeleteFile"
                                                    : "DeleteRegistry";
    EXPECT_EQ(left.Read(section, key, ""), value) << key;
  }
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kEntry)) << "the entry stays";
  EXPECT_TRUE(sim.pendingDeletions().empty())
      << "a folder other users may change could lead elsewhere by the restart";
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\B.TXT"));

  ProgramStart again(sim);
  sim.userClicks(again.frmMain.btnUnSetup);
  again.frmBack.show(ShowMode::kMaximized);
  EXPECT_EQ(sim.shownMessages().back().caption, kCompleteCaption);
  EXPECT_EQ(sim.shownMessages().size(), 3u) << "the record written again counts as the setup's own";
  EXPECT_FALSE(sim.folderExists("C:\\Tool"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, "SOFTWARE\\Tool"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, kEntry));
}

TEST_F(UninstallRunTest, ARecordWithoutListsStillRemovesTheEntryAndCompletes) {
  sim.userAnswers(kIdNo);  // the failure list: the setup folder is not empty
  file("C:\\Tool\\USER.TXT");
  uninstall("[SetupFolder]\nFolder=C:\\Tool\\\n");
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

// A record that names what is not the product's. Each row is one uninstall of a record that lists
// the product's own file and one hostile line; the line's target stays and is reported, and the
// product's file still goes.
struct Hostile {
  const char* what;
  bool fromSetup;    // the record is the one the setup run wrote (verified), or an older one
  std::string line;  // "[Section]\nKey=value"
  std::function<void(SimPlatform&)> prepare;
  std::function<bool(const SimPlatform&)> stays;
  std::string reported;  // the failure line, without its CR LF
};

const std::string kUserFolder = "C:\\Users\\User\\";
const std::string kDesktop = kUserFolder + "Desktop";
const std::string kSendTo = kUserFolder + "AppData\\Roaming\\Microsoft\\Windows\\SendTo";
const std::string kStartup =
    kUserFolder + "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
const std::string kDocument = kUserFolder + "Documents\\MY.DOC";
const std::string kOtherEntry32 =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other";
const std::string kOtherLink =
    kUserFolder + "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Other\\Other.lnk";
const std::string kAgentLink =
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Agent.lnk";

std::function<void(SimPlatform&)> Files(std::vector<std::string> paths) {
  return [paths](SimPlatform& sim) {
    for (const std::string& path : paths) {
      ASSERT_TRUE(sim.createFolderPath(FolderPart(path)));
      ASSERT_TRUE(sim.writeFile(path, "theirs"));
      ASSERT_TRUE(sim.setFileAttributes(path, attr::kReadOnly));
    }
  };
}
std::function<void(SimPlatform&)> Keys(std::vector<std::pair<RegistryRoot, std::string>> keys) {
  return [keys](SimPlatform& sim) {
    for (const auto& [root, key] : keys)
      ASSERT_TRUE(sim.createRegistryKey(root, key + "\\Theirs"));
  };
}
// Shell links another product, Windows or the user made, each to its target.
std::function<void(SimPlatform&)> Links(std::vector<std::pair<std::string, std::string>> links) {
  return [links](SimPlatform& sim) {
    for (const auto& [link, target] : links) {
      ASSERT_TRUE(sim.createFolderPath(FolderPart(link)));
      const ShellLinkObject made = sim.createShellLink();
      made.link->setTarget(target);
      ASSERT_TRUE(made.link->save(link));
    }
  };
}
std::function<bool(const SimPlatform&)> FileStays(std::string path) {
  return [path](const SimPlatform& sim) { return sim.fileExists(path); };
}
std::function<bool(const SimPlatform&)> FolderStays(std::string path) {
  return [path](const SimPlatform& sim) { return sim.folderExists(path); };
}
std::function<bool(const SimPlatform&)> KeyStays(RegistryRoot root, std::string key) {
  return [root, key](const SimPlatform& sim) { return sim.registryKeyExists(root, key); };
}

// A record that names an existing key of another owner: the key stays and is reported.
Hostile ForeignKey(const char* what, bool fromSetup, RegistryRoot root, const std::string& key) {
  const char* root_token = root == kMachine ? "(Local)" : root == kUser ? "(Cuser)" : "(Class)";
  const std::string token = root_token + key;
  return {what,
          fromSetup,
          "[DeleteRegistry]\nKey1=" + token,
          Keys({{root, key}}),
          KeyStays(root, key),
          "<Registry> " + token};
}

class HostileRecordTest : public UninstallRunTest, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileRecordTest, ReachesNothingBeyondTheProduct) {
  const Hostile& row = GetParam();
  file("C:\\Tool\\PROG.EXE");
  row.prepare(sim);
  sim.userAnswers(kIdNo);  // the failure list
  // The line joins the record's own sections: only the first section of a name is read.
  const std::string section = row.line.substr(0, row.line.find('\n'));
  const std::string entry = row.line.substr(section.size() + 1) + "\n";
  std::map<std::string, std::string> sections = {{"[SetupFolder]", "Folder=C:\\Tool\\\n"},
                                                 {"[DeleteFile]", "File99=C:\\Tool\\PROG.EXE\n"}};
  sections[section] = section == "[SetupFolder]" ? entry : sections[section] + entry;
  std::string record;
  for (const auto& [name, lines] : sections)
    record += name + "\n" + lines;
  if (row.fromSetup) {
    uninstall(record);
  } else {
    // As an older program left it: an entry that names it, but no digest.
    writeText("C:\\Tool\\UNSETUP.INI",
              record + "[UnSetupRegistryKey]\nKey=" + std::string(kEntry) + "\n");
    sim.userClicks(frmMain.btnUnSetup);
    run();
  }
  EXPECT_TRUE(row.stays(sim)) << row.what;
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\PROG.EXE")) << row.what;
  EXPECT_NE(failures().find(row.reported + "\r\n"), std::string::npos)
      << row.what << ": " << failures();
  EXPECT_EQ(shownCaptions().back(), kCompleteCaption) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Records, HostileRecordTest,
    ::testing::Values(
        Hostile{"a document through ..", false,
                "[DeleteFile]\nFile1=C:\\Tool\\..\\Users\\User\\Documents\\MY.DOC",
                Files({kDocument}), FileStays(kDocument),
                "<File> C:\\Tool\\..\\Users\\User\\Documents\\MY.DOC"},
        Hostile{"another product's file", false, "[DeleteFile]\nFile1=C:\\Other\\PROG.EXE",
                Files({"C:\\Other\\PROG.EXE"}), FileStays("C:\\Other\\PROG.EXE"),
                "<File> C:\\Other\\PROG.EXE"},
        Hostile{"the uninstaller itself", true, "[DeleteFile]\nFile1=C:\\windows\\.\\unorset.exe",
                Files({"C:\\WINDOWS\\UNORSET.EXE"}), FileStays("C:\\WINDOWS\\UNORSET.EXE"),
                "<File> C:\\windows\\unorset.exe"},
        Hostile{"a shortcut that is a document", false, "[DeleteShortCut]\nFile1=" + kDocument,
                Files({kDocument}), FileStays(kDocument), "<ShortCut> " + kDocument},
        Hostile{"a shortcut outside the shell's folders", false,
                "[DeleteShortCut]\nFile1=C:\\Other\\Run.lnk", Files({"C:\\Other\\Run.lnk"}),
                FileStays("C:\\Other\\Run.lnk"), "<ShortCut> C:\\Other\\Run.lnk"},
        Hostile{"a folder outside the product", false, "[DeleteFolder]\nFolder1=C:\\Other\\",
                Files({}), FolderStays("C:\\WINDOWS"), "<Folder> C:\\Other\\"},
        Hostile{"a setup folder above the product", false,
                "[SetupFolder]\nFolder=C:\\Tool\\..\\WINDOWS\\", Files({}),
                FolderStays("C:\\WINDOWS"), "<SetupFolder> C:\\Tool\\..\\WINDOWS\\"},
        Hostile{"the desktop with '/'", true, "[DeleteFolder]\nFolder1=C:/Users/User/Desktop/",
                Files({}), FolderStays(kDesktop), "<Folder> C:\\Users\\User\\Desktop\\"},
        Hostile{"Send To with a final dot", true, "[DeleteFolder]\nFolder1=" + kSendTo + ".\\",
                Files({}), FolderStays(kSendTo), "<Folder> " + kSendTo + "\\"},
        Hostile{"the desktop through \\\\?\\", true,
                "[DeleteFolder]\nFolder1=\\\\?\\C:\\users\\user\\desktop\\", Files({}),
                FolderStays(kDesktop), "<Folder> C:\\users\\user\\desktop\\"},
        Hostile{"the desktop by its short name", true,
                "[DeleteFolder]\nFolder1=C:\\Users\\User\\DESKTO~1\\",
                [](SimPlatform& sim) { ASSERT_TRUE(sim.setShortName(kDesktop, "DESKTO~1")); },
                FolderStays(kDesktop), "<Folder> C:\\Users\\User\\Desktop\\"},
        Hostile{"a drive's root", true, "[DeleteFolder]\nFolder1=C:\\", Files({}),
                FolderStays("C:\\"), "<Folder> C:\\"},
        Hostile{"a junction into the system folder", true,
                "[DeleteFile]\nFile1=C:\\Tool\\LINK\\X.DLL,/F",
                [](SimPlatform& sim) {
                  Files({"C:\\WINDOWS\\SYSTEM\\X.DLL"})(sim);
                  ASSERT_TRUE(sim.makeFolderLink("C:\\Tool\\LINK", "C:\\WINDOWS\\SYSTEM"));
                },
                FileStays("C:\\WINDOWS\\SYSTEM\\X.DLL"), "<File> C:\\Tool\\LINK\\X.DLL"},
        Hostile{"a junction as a folder", true, "[DeleteFolder]\nFolder1=C:\\Tool\\LINK\\",
                [](SimPlatform& sim) {
                  ASSERT_TRUE(sim.createFolder("C:\\Other"));
                  ASSERT_TRUE(sim.makeFolderLink("C:\\Tool\\LINK", "C:\\Other"));
                },
                FolderStays("C:\\Tool\\LINK"), "<Folder> C:\\Tool\\LINK\\"},
        Hostile{"a root key", true, "[DeleteRegistry]\nKey1=(Local)", Keys({}),
                KeyStays(kMachine, "SOFTWARE"), "<Registry> (Local)"},
        ForeignKey("the machine's classes", true, kMachine, "SOFTWARE\\Classes"),
        Hostile{"the user's classes", true, "[DeleteRegistry]\nKey1=(Cuser)Software\\Classes\\",
                Keys({{kUser, "Software\\Classes"}}), KeyStays(kUser, "Software\\Classes"),
                "<Registry> (Cuser)Software\\Classes\\"},
        ForeignKey("a class of Windows", true, kClasses, "txtfile\\shell"),
        ForeignKey("the system's services", true, kMachine, "SYSTEM\\CurrentControlSet"),
        ForeignKey("Windows NT's settings", true, kMachine, "SOFTWARE\\Microsoft\\Windows NT"),
        Hostile{
            "a Run key in the 32-bit view", true,
            "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\"
            "CurrentVersion\\Run",
            Keys({{kMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"}}),
            KeyStays(kMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"),
            "<Registry> (Local)SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
        Hostile{"another user's software", true,
                "[DeleteRegistry]\nKey1=(Users)S-1-5-21-7\\Software",
                Keys({{RegistryRoot::kUsers, "S-1-5-21-7\\Software"}}),
                KeyStays(RegistryRoot::kUsers, "S-1-5-21-7\\Software"),
                "<Registry> (Users)S-1-5-21-7\\Software"},
        Hostile{"another product's entry", true,
                "[DeleteRegistry]\nKey1=(Local)" + std::string(kOtherEntry),
                Keys({{kMachine, kOtherEntry}}), KeyStays(kMachine, kOtherEntry),
                "<Registry> (Local)" + std::string(kOtherEntry)},
        Hostile{"another product's entry in the 32-bit view", false,
                "[DeleteRegistry]\nKey1=(Local)" + kOtherEntry32, Keys({{kMachine, kOtherEntry32}}),
                KeyStays(kMachine, kOtherEntry32), "<Registry> (Local)" + kOtherEntry32},
        Hostile{"another product's entry in the 32-bit view, verified", true,
                "[DeleteRegistry]\nKey1=(Local)" + kOtherEntry32, Keys({{kMachine, kOtherEntry32}}),
                KeyStays(kMachine, kOtherEntry32), "<Registry> (Local)" + kOtherEntry32},
        ForeignKey("another vendor's key", false, kMachine, "SOFTWARE\\Vendor"),
        ForeignKey("another vendor's key in the 32-bit view", false, kMachine,
                   "SOFTWARE\\Wow6432Node\\Vendor"),
        Hostile{"another user's settings", false,
                "[DeleteRegistry]\nKey1=(Users)S-1-5-21-7\\Software\\Vendor",
                Keys({{RegistryRoot::kUsers, "S-1-5-21-7\\Software\\Vendor"}}),
                KeyStays(RegistryRoot::kUsers, "S-1-5-21-7\\Software\\Vendor"),
                "<Registry> (Users)S-1-5-21-7\\Software\\Vendor"},
        ForeignKey("the graphics drivers' list", false, kMachine,
                   "SOFTWARE\\Khronos\\Vulkan\\Drivers"),
        ForeignKey("the machine's policies", true, kMachine, "SOFTWARE\\Policies\\Vendor"),
        ForeignKey("the user's policies", true, kUser, "Software\\Policies\\Vendor"),
        ForeignKey("another product's association class", false, kClasses, "txt_auto_file"),
        ForeignKey("Windows' Open With", true, kClasses,
                   "*\\shellex\\ContextMenuHandlers\\Open With"),
        ForeignKey("Windows' command prompt here", true, kClasses,
                   "Directory\\Background\\shell\\cmd"),
        ForeignKey("Windows' image editing", true, kClasses,
                   "SystemFileAssociations\\image\\shell\\edit"),
        ForeignKey("a product's own verb on an unverified record's word", false, kClasses,
                   "*\\shell\\ToolOpen"),
        Hostile{"another product's group link", false, "[DeleteShortCut]\nFile1=" + kOtherLink,
                Links({{kOtherLink, "C:\\Other\\OTHER.EXE"}}), FileStays(kOtherLink),
                "<ShortCut> " + kOtherLink},
        Hostile{"an all-users Startup link", false, "[DeleteShortCut]\nFile1=" + kAgentLink,
                Links({{kAgentLink, "C:\\Program Files\\Agent\\AGENT.EXE"}}), FileStays(kAgentLink),
                "<ShortCut> " + kAgentLink},
        Hostile{"the user's own desktop link", false,
                "[DeleteShortCut]\nFile1=" + kDesktop + "\\Mail.lnk",
                Links({{kDesktop + "\\Mail.lnk", "C:\\Program Files\\Mail\\MAIL.EXE"}}),
                FileStays(kDesktop + "\\Mail.lnk"), "<ShortCut> " + kDesktop + "\\Mail.lnk"}),
    [](const ::testing::TestParamInfo<Hostile>& info) {
      std::string name;
      for (const char c : std::string(info.param.what)) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      }
      return name;
    });

TEST_F(UninstallRunTest, AnAssociationIsUndoneAndWindowsOwnDataStays) {
  const auto value = [](const char* text) { return RegistryValue{RegistryType::kString, text, 0}; };
  ASSERT_TRUE(sim.writeRegistryValue(kClasses, ".txt", "", value("txt_auto_file")));
  ASSERT_TRUE(sim.writeRegistryValue(kClasses, ".txt", "Content Type", value("text/plain")));
  ASSERT_TRUE(sim.createRegistryKey(kClasses, ".txt\\ShellNew"));
  ASSERT_TRUE(sim.writeRegistryValue(kClasses, ".smp", "", value("SMP_auto_file")));
  ASSERT_TRUE(sim.writeRegistryValue(kClasses, ".doc", "", value("Word.Document")));
  ASSERT_TRUE(sim.createRegistryKey(kClasses, "smp_auto_file\\shell\\open\\command"));
  ASSERT_TRUE(sim.createRegistryKey(kMachine, "SOFTWARE\\Tool\\Settings"));
  sim.userAnswers(kIdNo);  // the failure list
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteRegistry]\nKey1=(Class).txt\n"
      "Key2=(Class).smp\nKey3=(Class)smp_auto_file\nKey4=(Class).doc\n"
      "Key5=(Local)SOFTWARE\\Tool\n");
  EXPECT_FALSE(sim.readRegistryValue(kClasses, ".txt", "")) << "the product's association";
  EXPECT_EQ(sim.readRegistryValue(kClasses, ".txt", "Content Type"), value("text/plain"));
  EXPECT_TRUE(sim.registryKeyExists(kClasses, ".txt\\ShellNew"));
  EXPECT_FALSE(sim.registryKeyExists(kClasses, ".smp")) << "nothing else was in it";
  EXPECT_FALSE(sim.registryKeyExists(kClasses, "smp_auto_file"));
  EXPECT_EQ(sim.readRegistryValue(kClasses, ".doc", ""), value("Word.Document"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, "SOFTWARE\\Tool")) << "the product's own key";
  EXPECT_EQ(failures(), "<Registry> (Class).doc\r\n<SetupFolder> C:\\Tool\\\r\n");
}

TEST_F(UninstallRunTest, ARecordChangedAfterSetupIsToldAndHeldToTheProduct) {
  file("C:\\Tool\\PROG.EXE");
  Files({kDocument})(sim);
  writeSetupRecord("C:\\Tool\\UNSETUP.INI",
                   "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFolder]\nFolder1=C:\\Tool\\DATA\\\n"
                   "[DeleteFile]\nFile1=C:\\Tool\\PROG.EXE\n");
  // Another user adds a line to the record in the product's folder.
  std::string changed = sim.readFile("C:\\Tool\\UNSETUP.INI", 1 << 20).value();
  changed.insert(changed.find("[UnSetupRegistryKey]"), "File2=" + kDocument + "\r\n");
  ASSERT_TRUE(sim.writeFile("C:\\Tool\\UNSETUP.INI", changed));
  sim.userAnswers(kIdNo);  // the failure list
  sim.userClicks(frmMain.btnUnSetup);
  run();
  ASSERT_FALSE(shownCaptions().empty());
  EXPECT_EQ(sim.shownMessages()[0].text, trust_text::kRecordChanged) << "told before anything";
  EXPECT_TRUE(sim.fileExists(kDocument));
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\PROG.EXE"));
  EXPECT_FALSE(sim.folderExists("C:\\Tool\\DATA"));
  EXPECT_FALSE(sim.registryKeyExists(kMachine, kEntry)) << "the entry names this record";
  EXPECT_EQ(failures(), "<File> " + kDocument + "\r\n<SetupFolder> C:\\Tool\\\r\n");
}

TEST_F(UninstallRunTest, ARecordAnotherRecordsEntryNamesIsHeldToItsFolderAndLeavesTheEntry) {
  Files({"C:\\Other\\PROG.EXE"})(sim);
  file("C:\\Tool\\A.TXT");
  writeSetupRecord("C:\\Other\\UNSETUP.INI", "[DeleteFile]\nFile1=C:\\Other\\PROG.EXE\n", "Other");
  // The record in C:\Tool names the other product's entry, which vouches for another file.
  writeText("C:\\Tool\\UNSETUP.INI",
            "[DeleteFile]\nFile1=C:\\Other\\PROG.EXE\n"
            "File2=C:\\Tool\\A.TXT\n[UnSetupRegistryKey]\nKey=" +
                std::string(kOtherEntry) + "\n");
  sim.userAnswers(kIdNo);  // the failure list
  sim.userClicks(frmMain.btnUnSetup);
  run();
  EXPECT_EQ(shownCaptions().front(), failure_text::kWarningCaption) << "nothing to tell first";
  EXPECT_TRUE(sim.fileExists("C:\\Other\\PROG.EXE"));
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\A.TXT"));
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kOtherEntry));
  EXPECT_EQ(failures(), "<File> C:\\Other\\PROG.EXE\r\n<Registry> " + std::string(kOtherEntry) +
                            "\r\n<SetupFolder> \r\n");
}

TEST_F(UninstallRunTest, AFolderMadeALinkWhileTheQuestionWaitsLeavesWhatItLeadsTo) {
  Files({kDocument})(sim);
  file("C:\\Tool\\DATA\\MY.DOC");
  // While the box waits, another user puts a junction to the administrator's documents in the
  // place of the product's folder.
  sim.userAnswers(kIdYes, [this] {
    ASSERT_TRUE(sim.deleteFile("C:\\Tool\\DATA\\MY.DOC"));
    ASSERT_TRUE(sim.removeFolder("C:\\Tool\\DATA"));
    ASSERT_TRUE(sim.makeFolderLink("C:\\Tool\\DATA", kUserFolder + "Documents"));
  });
  sim.userAnswers(kIdNo);  // the failure list
  uninstall("[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\nFile1=C:\\Tool\\DATA\\MY.DOC,/C\n");
  EXPECT_TRUE(sim.fileExists(kDocument));
  EXPECT_EQ(failures(), "<File> C:\\Tool\\DATA\\MY.DOC\r\n<SetupFolder> C:\\Tool\\\r\n");
}

TEST_F(UninstallRunTest, WhatAChangedRecordLeavesIsWrittenBackHeldToItsOwnFolder) {
  ASSERT_TRUE(sim.createFolderPath("C:\\Other\\PLUGINS"));
  file("C:\\Tool\\A.TXT");
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\Tool\\A.TXT", kErrorAccessDenied);
  writeSetupRecord("C:\\Tool\\UNSETUP.INI",
                   "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\nFile1=C:\\Tool\\A.TXT\n");
  const auto digest = [this] {
    return sim.readRegistryValue(kMachine, kEntry, std::string(kRecordDigestValue));
  };
  const auto vouched = digest();
  // Another user makes the record name their product's folder as the setup folder.
  std::string changed = sim.readFile("C:\\Tool\\UNSETUP.INI", 1 << 20).value();
  changed.replace(changed.find("Folder=C:\\Tool\\"), 15, "Folder=C:\\Other\\PLUGINS\\");
  ASSERT_TRUE(sim.writeFile("C:\\Tool\\UNSETUP.INI", changed));
  sim.userAnswers(kIdNo);  // the failure list
  sim.userClicks(frmMain.btnUnSetup);
  run();
  EXPECT_EQ(shownCaptions().back(), kLeftCaption);
  const IniReader left =
      IniReader::FromBytes(sim, sim.readFile("C:\\Tool\\UNSETUP.INI", 1 << 20).value_or(""));
  EXPECT_EQ(left.Read("SetupFolder", "Folder", ""), "C:\\Tool\\") << "the record's own folder";
  EXPECT_EQ(left.Read("DeleteFile", "File1", ""), "C:\\Tool\\A.TXT");
  EXPECT_EQ(digest(), vouched) << "never vouched for";

  ProgramStart again(sim);
  sim.userAnswers(kIdNo);  // the failure list
  sim.userClicks(again.frmMain.btnUnSetup);
  again.frmBack.show(ShowMode::kMaximized);
  EXPECT_EQ(sim.shownMessages()[3].text, trust_text::kRecordChanged) << "still changed";
  EXPECT_TRUE(sim.folderExists("C:\\Other\\PLUGINS"));
}

TEST_F(UninstallRunTest, ARecordThatNamesAMissingEntryMakesNone) {
  file("C:\\Tool\\A.TXT");
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\Tool\\A.TXT", kErrorAccessDenied);
  const std::string ghost = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ghost";
  writeText("C:\\Tool\\UNSETUP.INI",
            "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\n"
            "File1=C:\\Tool\\A.TXT\n[UnSetupRegistryKey]\nKey=" +
                ghost + "\n");
  sim.userAnswers(kIdNo);  // the failure list
  sim.userClicks(frmMain.btnUnSetup);
  run();
  EXPECT_FALSE(sim.registryKeyExists({kMachine, RegistryView::k64}, ghost));
  EXPECT_FALSE(sim.registryKeyExists({kMachine, RegistryView::k32}, ghost));
}

TEST_F(UninstallRunTest, TheSetupsOwnRecordRemovesWhatItRegisteredInWindowsContainers) {
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  const std::string clsid = "CLSID\\{6B29FC40-CA47-1067-B31D-00DD010662DA}";
  const std::vector<std::pair<RegistryRoot, std::string>> keys = {
      {kMachine, appPaths + "TOOL.EXE"},
      {kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\TOOL.EXE"},
      {kClasses, "Applications\\TOOL.EXE\\shell\\open"},
      {kClasses, "Orvane.Tool.1\\CurVer"},
      {kClasses, clsid + "\\InprocServer32"},
      {kClasses, "*\\shell\\OpenWithTool\\command"}};
  for (const auto& [root, key] : keys)
    ASSERT_TRUE(sim.createRegistryKey(root, key));
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFolder]\nFolder1=C:\\Tool\\DATA\\\n"
      "[DeleteFile]\nFile1=C:\\Tool\\UNSETUP.INI\n[DeleteRegistry]\nKey1=(Local)" +
      appPaths +
      "TOOL.EXE\nKey2=(Cuser)Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\"
      "TOOL.EXE\nKey3=(Class)Applications\\TOOL.EXE\nKey4=(Class)Orvane.Tool.1\nKey5=(Class)" +
      clsid + "\nKey6=(Class)*\\shell\\OpenWithTool\n");
  EXPECT_EQ(failures(), "");
  for (const auto& [root, key] : keys)
    EXPECT_FALSE(sim.registryKeyExists(root, key)) << key;
  EXPECT_TRUE(sim.registryKeyExists(kMachine,
                                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                    "App Paths"));
  EXPECT_TRUE(sim.registryKeyExists(kClasses, "CLSID"));
}

// A record the other build's setup wrote: its entry, its keys and its system folder lie in that
// build's views, and it is still the setup's own.
TEST_F(UninstallRunTest, TheOtherBuildsRecordIsVerifiedAndRemovedInItsViews) {
  const struct {
    bool program64;               // the uninstaller's build
    RegistryView recordView;      // the setup's
    const char* recordedLibrary;  // as the setup named it
    const char* removedLibrary;   // where it lies, as this build names it
    const char* keptLibrary;      // the other view's file of that name
  } builds[] = {
      {true, RegistryView::k32, "C:\\WINDOWS\\System32\\TOOL.DLL",
       "C:\\WINDOWS\\SysWOW64\\TOOL.DLL", "C:\\WINDOWS\\System32\\TOOL.DLL"},
      {false, RegistryView::k64, "C:\\WINDOWS\\System32\\TOOL.DLL",
       "C:\\WINDOWS\\Sysnative\\TOOL.DLL", "C:\\WINDOWS\\System32\\TOOL.DLL"},
      // Other spellings that Windows' redirector still takes for System32.
      {true, RegistryView::k32, "C:/WINDOWS/System32/TOOL.DLL", "C:\\WINDOWS\\SysWOW64\\TOOL.DLL",
       "C:\\WINDOWS\\System32\\TOOL.DLL"},
      {true, RegistryView::k32, "C:\\WINDOWS\\.\\System32\\TOOL.DLL",
       "C:\\WINDOWS\\SysWOW64\\TOOL.DLL", "C:\\WINDOWS\\System32\\TOOL.DLL"},
      {false, RegistryView::k64, "C:/WINDOWS/System32/TOOL.DLL", "C:\\WINDOWS\\Sysnative\\TOOL.DLL",
       "C:\\WINDOWS\\System32\\TOOL.DLL"},
  };
  for (const auto& build : builds) {
    SCOPED_TRACE(build.recordedLibrary);
    SimProgram machine;
    SimPlatform& s = machine.sim;
    s.setMachine(true, build.program64);
    s.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"");
    ASSERT_TRUE(s.createFolderPath("C:\\WINDOWS\\SysWOW64"));
    ASSERT_TRUE(
        s.createFolderPath(build.program64 ? "C:\\WINDOWS\\System32" : "C:\\WINDOWS\\Sysnative"));
    ASSERT_TRUE(s.createFolder("C:\\Tool"));
    ASSERT_TRUE(s.writeFile(build.removedLibrary, "the product's"));
    ASSERT_TRUE(s.writeFile(build.keptLibrary, "the other view's"));
    const RegistryHive setupView(kMachine, build.recordView);
    const RegistryHive otherView(
        kMachine, build.recordView == RegistryView::k32 ? RegistryView::k64 : RegistryView::k32);
    ASSERT_TRUE(s.createRegistryKey(setupView, "SOFTWARE\\Tool"));
    ASSERT_TRUE(s.createRegistryKey(otherView, "SOFTWARE\\Tool"));
    machine.writeText("C:\\Tool\\UNSETUP.INI",
                      std::string("[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\nFile1=") +
                          build.recordedLibrary +
                          ",/F\nFile2=C:\\Tool\\UNSETUP.INI\n"
                          "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Tool\n"
                          "[UnSetupRegistryKey]\nKey=" +
                          kEntry + "\n");
    const auto text = [](std::string value) {
      return RegistryValue{RegistryType::kString, std::move(value), 0};
    };
    ASSERT_TRUE(s.writeRegistryValue(setupView, kEntry, "UninstallString",
                                     text("C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"")));
    ASSERT_TRUE(s.writeRegistryValue(
        setupView, kEntry, std::string(kRecordDigestValue),
        text(Sha256Hex(s.readFile("C:\\Tool\\UNSETUP.INI", 1 << 20).value()))));
    s.userClicks(machine.frmMain.btnUnSetup);
    machine.run();
    EXPECT_EQ(machine.shownCaptions(), SimProgram::completedOnly()) << "no change to tell";
    EXPECT_FALSE(s.fileExists(build.removedLibrary)) << build.removedLibrary;
    EXPECT_EQ(s.readFile(build.keptLibrary, 99), "the other view's");
    EXPECT_FALSE(s.registryKeyExists(setupView, "SOFTWARE\\Tool"));
    EXPECT_TRUE(s.registryKeyExists(otherView, "SOFTWARE\\Tool"));
    EXPECT_FALSE(s.registryKeyExists(setupView, kEntry));
  }
}

// --- Review: attacks on the record's standing -----------------------------------------------

// F2. A record that cannot be written back (another user left a read-only UNSETUP.INI.new, or a
// folder of that name, or made UNSETUP.INI a second name of a file) is taken for "nothing left":
// the entry and the record go while the product's file stays, and nothing says so.
TEST_F(UninstallRunTest, ReviewARecordThatCannotBeWrittenBackKeepsItsEntry) {
  file("C:\\Tool\\A.TXT");
  // In use: the other user holds it open without sharing deletion.
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\Tool\\A.TXT", kErrorSharingViolation);
  file("C:\\Tool\\UNSETUP.INI.new");
  ASSERT_TRUE(sim.setFileAttributes("C:\\Tool\\UNSETUP.INI.new", attr::kReadOnly));
  sim.userAnswers(kIdNo);  // the failure list
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\nFile1=C:\\Tool\\A.TXT\n"
      "File2=C:\\Tool\\UNSETUP.INI\n");
  ASSERT_TRUE(sim.fileExists("C:\\Tool\\A.TXT"));
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kEntry)) << "the product is still there";
  EXPECT_EQ(shownCaptions().back(), kLeftCaption) << "the record is written under another name";
  EXPECT_EQ(IniReader(sim, "C:\\Tool\\UNSETUP.INI").Read("DeleteFile", "File1", ""),
            "C:\\Tool\\A.TXT");
}

TEST_F(UninstallRunTest, ARecordThatCannotBeWrittenBackLeavesTheEntryAndIsReported) {
  file("C:\\Tool\\A.TXT");
  sim.injectFault(SimPlatform::Operation::kDeleteFile, "C:\\Tool\\A.TXT", kErrorSharingViolation);
  sim.injectFault(SimPlatform::Operation::kReplaceFile, "C:\\Tool\\UNSETUP.INI",
                  kErrorAccessDenied);
  sim.userAnswers(kIdNo);  // the failure list
  uninstall(
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\nFile1=C:\\Tool\\A.TXT\n"
      "File2=C:\\Tool\\UNSETUP.INI\n");
  EXPECT_TRUE(sim.registryKeyExists(kMachine, kEntry)) << "the product is still there";
  EXPECT_NE(failures().find("<File> C:\\Tool\\UNSETUP.INI\r\n"), std::string::npos) << failures();
}

// F3. Windows deletes at its next start by name. A record that is not the setup's lies, by that
// very fact, in a folder another user may write: below Program Files too. That user releases
// the file and puts a junction in DATA's place before the restart.
TEST_F(UninstallRunTest, ReviewAnUnverifiedRecordLeavesNothingToWindowsAtTheRestart) {
  const std::string tool = "C:\\Program Files\\Tool\\";
  ASSERT_TRUE(sim.createFolderPath(tool + "DATA"));
  file(tool + "DATA\\X.DLL");
  sim.injectFault(SimPlatform::Operation::kDeleteFile, tool + "DATA\\X.DLL", kErrorSharingViolation,
                  1);
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"" + tool + "UNSETUP.INI\"");
  entry(kEntry, tool + "UNSETUP.INI");  // an older program's entry: no digest
  writeText(tool + "UNSETUP.INI", "[SetupFolder]\nFolder=" + tool +
                                      "\n[DeleteFile]\nFile1=" + tool +
                                      "DATA\\X.DLL\n[UnSetupRegistryKey]\nKey=" + kEntry + "\n");
  sim.answerEveryQuestion(kIdNo);
  sim.userClicks(frmMain.btnUnSetup);
  run();
  // What the other user does before the restart.
  Files({"C:\\WINDOWS\\SYSTEM\\X.DLL"})(sim);
  ASSERT_TRUE(sim.deleteFile(tool + "DATA\\X.DLL"));
  ASSERT_TRUE(sim.removeFolder(tool + "DATA"));
  ASSERT_TRUE(sim.makeFolderLink(tool + "DATA", "C:\\WINDOWS\\SYSTEM"));
  for (const std::string& path : sim.pendingDeletions()) {
    std::error_code error;
    EXPECT_FALSE(std::filesystem::equivalent(sim.hostPath(path),
                                             sim.hostPath("C:\\WINDOWS\\SYSTEM\\X.DLL"), error))
        << path << " now names the system folder's file";
  }
  EXPECT_EQ(sim.pendingDeletions(), std::vector<std::string>());
}

// F4. The lists of Windows' own verbs, handlers and ProgIDs miss many of Windows' own: the
// setup's record deletes them.
INSTANTIATE_TEST_SUITE_P(
    Review, HostileRecordTest,
    ::testing::Values(
        Hostile{"Windows' New menu", true,
                "[DeleteRegistry]\nKey1=(Class)Directory\\Background\\shellex\\"
                "ContextMenuHandlers\\New",
                Keys({{kClasses, "Directory\\Background\\shellex\\ContextMenuHandlers\\New"}}),
                KeyStays(kClasses, "Directory\\Background\\shellex\\ContextMenuHandlers\\New"),
                "<Registry> (Class)Directory\\Background\\shellex\\ContextMenuHandlers\\New"},
        ForeignKey("BitLocker's verb", true, kClasses, "Drive\\shell\\encrypt-bde"),
        ForeignKey("Windows' Personalize", true, kClasses, "DesktopBackground\\Shell\\Personalize"),
        ForeignKey("Open in new window", true, kClasses, "Folder\\shell\\opennewwindow"),
        ForeignKey("Windows Installer's package class", true, kClasses, "Msi.Package"),
        ForeignKey("Internet Explorer's association", true, kClasses, "IE.AssocFile.HTM"),
        ForeignKey("the Task Scheduler's class", true, kClasses, "Schedule.Service")),
    [](const ::testing::TestParamInfo<Hostile>& info) {
      std::string name;
      for (const char c : std::string(info.param.what)) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      }
      return name;
    });
}  // namespace
}  // namespace orv::test
