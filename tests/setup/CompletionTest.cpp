// The end of the setup run on the simulated Windows: the uninstaller, UNSETUP.INI, the Add/Remove
// entry and the completion.
#include "setup/Completion.h"

#include <chrono>

#include "app/ShellFixture.h"
#include "common/RegistryNames.h"
#include "setup/SetupRun.h"

namespace orv::test {
namespace {

using namespace completion_text;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr const char* kRecord = "C:\\Tool\\UNSETUP.INI";
constexpr const char* kUninstaller = "C:\\WINDOWS\\UNORSET.EXE";

class CompletionTest : public ShellTest {
 protected:
  CompletionTest() {
    EXPECT_TRUE(sim.createFolder("C:\\Tool"));
    disk("A.TXT", "a");
  }
  void disk(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(sim.writeFile("C:\\SETUP\\" + name, bytes)) << name;
  }
  void startSetup(const std::string& ini) {
    writeSetupIni(ini);
    sim.userTypes(frmMain.txtFolder, "C:\\Tool\\");
    sim.userClicks(frmMain.btnSetup);
  }
  void runSetup(const std::string& ini) {
    startSetup(ini);
    run();
  }
  std::string file(const std::string& path) {
    return sim.readFile(path, 1 << 20).value_or("<missing>");
  }
  // The Shift-JIS bytes of a record written as text lines.
  std::string record(const std::string& lines) {
    std::string text;
    for (const char c : lines) {
      if (c == '\n') text += '\r';
      text += c;
    }
    return sim.toShiftJis(text).value();
  }
  std::optional<RegistryValue> entry(const std::string& key, const std::string& name) {
    return sim.readRegistryValue(
        kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key, name);
  }
  void age(const std::string& path, int year) {
    using namespace std::chrono;
    std::filesystem::last_write_time(
        sim.hostPath(path),
        file_clock::from_sys(sys_seconds(sys_days(std::chrono::year(year) / 1 / 1))));
  }
};

constexpr const char* kScript =
    "[Title]\nSetup=ツール\nUnSetup=ツールの削除\n"
    "[MakeFolder]\nFolder1=(App)\nFolder2=(App)\\DATA\n"
    "[CopyFile]\nFile1=(App)\\A.TXT,/L\n"
    "[ShortCut]\nMake1=(App)\\A.TXT\nName1=(Dsk)Tool\n"
    "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Tool\nKey2=(Local)\\\nKey3=(Cuser)\n";

TEST_F(CompletionTest, AFreshFolderGetsTheWholeRecordInItsOrder) {
  runSetup(kScript);
  EXPECT_EQ(file(kRecord),
            record("[Information]\n"
                   "Message1=！！！　警告　！！！\n"
                   "Message2=このファイルをエディタなどで書き換えたり，削除しないでください．\n"
                   "Message3=書き換えた場合，アンセットアップ動作の保証はできません．\n"
                   "[Title]\nUnSetup=ツールの削除\n"
                   "[SetupFolder]\nFolder=C:\\Tool\\\n"
                   "[DeleteFolder]\nFolder1=C:\\Tool\\\nFolder2=C:\\Tool\\DATA\\\n"
                   "[DeleteFile]\nFile1=C:\\Tool\\A.TXT,/L\nFile2=C:\\Tool\\UNSETUP.INI\n"
                   "[DeleteShortCut]\nFile1=C:\\Users\\User\\Desktop\\Tool.lnk\n"
                   "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Tool\n"
                   "[UnSetupRegistryKey]\n"
                   "Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ツールの削除\n"))
      << "keys that name no key below their root are never written";
  EXPECT_EQ(entry("ツールの削除", "DisplayName"),
            (RegistryValue{RegistryType::kString, "ツールの削除", 0}));
  EXPECT_EQ(entry("ツールの削除", "UninstallString"),
            (RegistryValue{RegistryType::kString,
                           "C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"", 0}));
  EXPECT_EQ(entry("ツールの削除", "DisplayIcon"),
            (RegistryValue{RegistryType::kString, kUninstaller, 0}));
  EXPECT_EQ(entry("ツールの削除", "NoModify"), (RegistryValue{RegistryType::kDword, "", 1}));
  EXPECT_EQ(entry("ツールの削除", "NoRepair"), (RegistryValue{RegistryType::kDword, "", 1}));
  EXPECT_EQ(shownCaptions(), completedOnly());
  EXPECT_EQ(sim.shownMessages()[0].text, kCompleteMessage);
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOk | kMbIconInformation);
  EXPECT_TRUE(frmBack.runFinished());
}

TEST_F(CompletionTest, AReinstallKeepsEveryEarlierEntryAtItsNumber) {
  writeSetupRecord(kRecord,
                   "[DeleteFolder]\nFolder1=c:\\tool\\\n[DeleteFile]\nFile1=C:\\Tool\\OLD.TXT\n"
                   "File2=c:\\tool\\a.txt,/C\nFile3=C:\\Tool\\UNSETUP.INI\n[DeleteShortCut]\n"
                   "File1=C:\\Users\\User\\Desktop\\Tool.lnk\n",
                   "Old");
  disk("B.TXT", "b");
  runSetup(
      "[Title]\nUnSetupKey=ToolKey\n[MakeFolder]\nFolder1=(App)\n[CopyFile]\nFile1=(App)\\A.TXT,/"
      "L\n"
      "File2=(App)\\B.TXT\n[ShortCut]\nMake1=(App)\\A.TXT\nName1=(Dsk)Tool\n");
  EXPECT_EQ(file(kRecord),
            record("[Information]\n"
                   "Message1=！！！　警告　！！！\n"
                   "Message2=このファイルをエディタなどで書き換えたり，削除しないでください．\n"
                   "Message3=書き換えた場合，アンセットアップ動作の保証はできません．\n"
                   "[Title]\nUnSetup=Orvane! Setup 98\n"
                   "[SetupFolder]\nFolder=C:\\Tool\\\n"
                   "[DeleteFolder]\nFolder1=c:\\tool\\\n"
                   "[DeleteFile]\nFile1=C:\\Tool\\OLD.TXT\nFile2=C:\\Tool\\A.TXT,/L\n"
                   "File3=C:\\Tool\\UNSETUP.INI\nFile4=C:\\Tool\\B.TXT\n"
                   "[DeleteShortCut]\nFile1=C:\\Users\\User\\Desktop\\Tool.lnk\n"
                   "[UnSetupRegistryKey]\n"
                   "Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ToolKey\n"));
  EXPECT_EQ(entry("ToolKey", "DisplayName"), (RegistryValue{RegistryType::kString, "ToolKey", 0}));
}

TEST(UninstallEntryName, IsAlwaysOneKeyRightBelowTheBranchThatTheRecordKeepsWhole) {
  const std::string longest(201, 'k');  // the branch's 52 bytes and this make 253
  const struct {
    std::string key;
    const char* title;
    std::string name;
  } cases[] = {
      {"Tool", "ツールの削除", "Tool"},
      {"", "ツールの削除", "ツールの削除"},
      {"\\", "ツールの削除", "ツールの削除"},
      {"Vendor\\Product", "ツールの削除", "ツールの削除"},
      {longest, "T", longest},
      {longest + "k", "T", "T"},
      {"\\", "A\\B", "Orvane! Setup 98"},
  };
  for (const auto& row : cases)
    EXPECT_EQ(UninstallEntryName(row.key, row.title), row.name) << row.key;
}

TEST_F(CompletionTest, WhatTheRecordCannotKeepIsInstalledAndReported) {
  std::string earlier = "[DeleteFile]\n";
  for (int n = 1; n <= 100; ++n) {
    earlier += "File" + std::to_string(n) + "=C:\\OLD\\" + std::to_string(n) + "\n";
  }
  writeSetupRecord(kRecord, earlier);
  disk("B.TXT", "b");
  disk("C.TXT", "c");
  const std::string deep = "C:\\Tool\\" + std::string(230, 'd');
  ASSERT_TRUE(sim.createFolder(deep));
  sim.userAnswers(kIdNo);  // the failure list
  runSetup("[CopyFile]\nFile1=(App)\\B.TXT\nFile2=(App)\\C.TXT\nFile3=(App)\\" +
           std::string(230, 'd') + "\\A.TXT\n");
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries().size(), 101u);
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries().back(), "C:\\Tool\\B.TXT");
  EXPECT_EQ(file(deep + "\\A.TXT"), "a") << "installed all the same";
  EXPECT_EQ(runState.Failures.FailureText,
            "<File> C:\\Tool\\C.TXT\r\n<File> " + deep + "\\A.TXT\r\n<File> " + kRecord + "\r\n");
}

TEST_F(CompletionTest, TheUninstallerIsCopiedOnlyWhenNewer) {
  const struct {
    const char* name;
    int setupYear;     // 0: no SETUP.EXE on the disk
    int earlierYear;   // 0: no UNORSET.EXE yet
    bool readOnly;     // the earlier copy is read-only
    const char* kept;  // what UNORSET.EXE holds afterwards
  } cases[] = {
      {"no SETUP.EXE", 0, 2000, false, "earlier"}, {"none yet", 2020, 0, false, "new"},
      {"older", 2020, 2010, true, "new"},          {"same time", 2020, 2020, false, "earlier"},
      {"newer", 2020, 2021, false, "earlier"},
  };
  writeSetupIni("");
  activate();
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    (void)sim.setFileAttributes(kUninstaller, attr::kNormal);
    (void)sim.deleteFile(kUninstaller);
    (void)sim.deleteFile("C:\\SETUP\\SETUP.EXE");
    if (row.setupYear) {
      disk("SETUP.EXE", "new");
      age("C:\\SETUP\\SETUP.EXE", row.setupYear);
    }
    if (row.earlierYear) {
      ASSERT_TRUE(sim.writeFile(kUninstaller, "earlier"));
      age(kUninstaller, row.earlierYear);
      ASSERT_TRUE(
          sim.setFileAttributes(kUninstaller, row.readOnly ? attr::kReadOnly : attr::kArchive));
    }
    const auto before = sim.fileAttributes(kUninstaller);
    CopyUninstaller(frmMain);
    EXPECT_EQ(file(kUninstaller), row.earlierYear || row.setupYear ? row.kept : "<missing>");
    if (std::string(row.kept) == "new") {
      EXPECT_EQ(sim.fileAttributes(kUninstaller), attr::kReadOnly | attr::kArchive);
    } else {
      EXPECT_EQ(sim.fileAttributes(kUninstaller), before) << "left as it was";
    }
  }
  EXPECT_EQ(runState.Failures.FailureCount, 0);
  disk("SETUP.EXE", "newest");
  sim.injectFault(SimPlatform::Operation::kCopyFile, kUninstaller, kErrorDiskFull);
  (void)sim.setFileAttributes(kUninstaller, attr::kNormal);
  (void)sim.deleteFile(kUninstaller);
  CopyUninstaller(frmMain);
  const std::string failed = std::string("<SetupFile> ") + kUninstaller + "\r\n";
  EXPECT_EQ(runState.Failures.FailureText, failed);
  // The disk in the drive (the last of a set) lacks SETUP.EXE, and no uninstaller is there yet.
  ASSERT_TRUE(sim.deleteFile("C:\\SETUP\\SETUP.EXE"));
  CopyUninstaller(frmMain);
  EXPECT_EQ(runState.Failures.FailureText, failed + failed);
}

TEST_F(CompletionTest, ExecuteFileRestartsOrStartsAProgram) {
  const struct {
    const char* value;
    int restartAnswer;
    std::intptr_t startResult;
    std::vector<std::string> captions;
    const char* program;
    const char* parameters;
  } cases[] = {
      {"", 0, 42, {"完了"}, nullptr, nullptr},
      {"WINDOWS_REBOOT", kIdYes, 42, {}, nullptr, nullptr},
      {"WINDOWS_REBOOT", kIdNo, 42, {"情報"}, nullptr, nullptr},
      {"WINDOWS_REBOOT", 0, 42, {"情報"}, nullptr, nullptr},  // Wine's answer
      {"windows_reboot", 0, 2, {"完了", "警告"}, "windows_reboot", ""},
      {"notepad.exe,(App)README.TXT", 0, 42, {"完了"}, "notepad.exe", "C:\\Tool\\README.TXT"},
      {"(App)\\MISSING.EXE", 0, 2, {"完了", "警告"}, "C:\\Tool\\MISSING.EXE", ""},
  };
  writeSetupIni("");
  activate();
  for (const auto& row : cases) {
    SCOPED_TRACE(std::string(row.value) + " / " + std::to_string(row.restartAnswer));
    writeSetupIni(std::string("[ExecuteFile]\nFile=") + row.value + "\n");
    frmMain.loadInfoFile();
    runState.SetupFolderPath = "C:\\Tool\\";
    const auto shownBefore = sim.shownMessages().size();
    const auto startedBefore = sim.startedPrograms().size();
    const int restartsBefore = sim.restartDialogs();
    sim.setRestartAnswer(row.restartAnswer);
    sim.setProgramStartResult(row.startResult);
    ShowCompletion(frmMain);
    std::vector<std::string> captions;
    for (auto i = shownBefore; i < sim.shownMessages().size(); ++i) {
      captions.push_back(sim.shownMessages()[i].caption);
    }
    EXPECT_EQ(captions, row.captions);
    EXPECT_EQ(sim.restartDialogs() - restartsBefore,
              std::string(row.value) == "WINDOWS_REBOOT" ? 1 : 0);
    ASSERT_EQ(sim.startedPrograms().size() - startedBefore, row.program ? 1u : 0u);
    if (row.program) {
      EXPECT_EQ(sim.startedPrograms().back().program, row.program);
      EXPECT_EQ(sim.startedPrograms().back().parameters, row.parameters);
    }
  }
}

TEST_F(CompletionTest, AnErrorAfterInstallingStillLeavesAUsableUninstall) {
  disk("SETUP.EXE", "the program");
  sim.injectRegistryFault(SimPlatform::Operation::kWriteRegistryValue, RegistryRoot::kCurrentUser,
                          "Software\\Tool", kErrorAccessDenied);
  startSetup(std::string(kScript) + "[Registry]\nKey1=Software\\Tool\nName1=V\nValue1=x\n");
  sim.userClicks(frmMain.btnAbort);  // what is left to leave by after the error
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(shownCaptions(),
            std::vector<std::string>({"Orvane! Setup 98", main_text::kAbortCaption}));
  EXPECT_EQ(sim.shownMessages()[0].text, "'V' の設定に失敗しました.");
  EXPECT_NE(file(kRecord).find(sim.toShiftJis("File1=C:\\Tool\\A.TXT,/L").value()),
            std::string::npos);
  EXPECT_NE(file(kRecord).find("Tool.lnk"), std::string::npos) << "what was done so far";
  EXPECT_EQ(file(kUninstaller), "the program");
  EXPECT_TRUE(entry("ツールの削除", "UninstallString").has_value());
}

TEST_F(CompletionTest, AFailedRegistrationLeavesExitToLeaveBy) {
  sim.injectRegistryFault(SimPlatform::Operation::kCreateRegistryKey, kMachine,
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ツールの削除",
                          kErrorAccessDenied);
  startSetup(kScript);
  sim.userDoes([this] {
    EXPECT_FALSE(frmMain.btnAbort.showing());
    EXPECT_EQ(frmMain.btnEnd.caption(), main_text::kEnd);
  });
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(sim.shownMessages()[0].text,
            "ｷｰ SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ツールの削除 "
            "の作成に失敗しました.");
  EXPECT_TRUE(sim.fileExists(kRecord)) << "the record was complete before the registry";
}

enum class RecordTrouble { kAborted, kReplaceFails, kReadOnly };

class EarlierRecordTest : public CompletionTest,
                          public ::testing::WithParamInterface<RecordTrouble> {};

// Aborted: no new record. A record that cannot be replaced: the old one stays whole and the user
// is told, with no completion box sending them to a stale record and no Add/Remove entry.
TEST_P(EarlierRecordTest, StaysWholeUnlessTheNewOneIsWritten) {
  const std::string earlier = "[DeleteFile]\r\nFile1=C:\\Tool\\OLD.TXT\r\n";
  ASSERT_TRUE(sim.writeFile(kRecord, earlier));
  if (GetParam() == RecordTrouble::kAborted) {
    sim.whileWorking([this] {
      if (!frmMain.lblMessage.caption().starts_with(kCopyingUninstaller)) return false;
      sim.userAnswers(kIdYes);
      frmMain.deliverClick(frmMain.btnAbort);
      return true;
    });
    runSetup(kScript);
    EXPECT_EQ(shownCaptions(), std::vector<std::string>({main_text::kAbortCaption}));
  } else {
    if (GetParam() == RecordTrouble::kReplaceFails) {
      sim.injectFault(SimPlatform::Operation::kReplaceFile, kRecord, kErrorSharingViolation);
    } else {
      ASSERT_TRUE(sim.setFileAttributes(kRecord, attr::kReadOnly));
    }
    startSetup(kScript);
    sim.userClicks(frmMain.btnEnd);
    sim.userAnswers(kIdYes);
    run();
    ASSERT_FALSE(sim.shownMessages().empty());
    EXPECT_EQ(sim.shownMessages()[0].text,
              std::string(kRecordFailedHead) + kRecord + kRecordFailedTail + ".");
    EXPECT_EQ(shownCaptions(),
              std::vector<std::string>({"Orvane! Setup 98", main_text::kCloseCaption}));
  }
  EXPECT_EQ(file(kRecord), earlier);
  EXPECT_FALSE(sim.fileExists(std::string(kRecord) + ".new"));
  EXPECT_FALSE(entry("ツールの削除", "UninstallString").has_value());
}

INSTANTIATE_TEST_SUITE_P(Troubles, EarlierRecordTest,
                         ::testing::Values(RecordTrouble::kAborted, RecordTrouble::kReplaceFails,
                                           RecordTrouble::kReadOnly));

// --- Review: the merge at reinstall ---------------------------------------------------------

// A record of the other build, vouched for by its entry in the 32-bit view, as a 32-bit setup
// left it.
void Write32BitSetupRecord(SimMachine& machine, const std::string& lines) {
  const std::string key = std::string(kUninstallBranch) + "Tool";
  machine.writeText(kRecord, lines + "[UnSetupRegistryKey]\nKey=" + key + "\n");
  const RegistryHive view32(kMachine, RegistryView::k32);
  const auto text = [](std::string value) {
    return RegistryValue{RegistryType::kString, std::move(value), 0};
  };
  ASSERT_TRUE(machine.sim.writeRegistryValue(
      view32, key, "UninstallString", text(std::string(kUninstaller) + " \"" + kRecord + "\"")));
  ASSERT_TRUE(machine.sim.writeRegistryValue(
      view32, key, std::string(kRecordDigestValue),
      text(Sha256Hex(machine.sim.readFile(kRecord, 1 << 20).value()))));
}

// F5. The earlier record's keys lay in its view (32-bit: SOFTWARE\Wow6432Node\Vendor); merged
// as written into the 64-bit setup's record, they name the 64-bit view's key of that name,
// another product's, which the uninstall of the new record then deletes.
TEST_F(CompletionTest, ReviewAnEarlierRecordsKeysStayInTheViewItWroteThemIn) {
  const RegistryHive view32(kMachine, RegistryView::k32);
  const RegistryHive view64(kMachine, RegistryView::k64);
  ASSERT_TRUE(sim.createRegistryKey(view32, "SOFTWARE\\Vendor\\Old"));
  ASSERT_TRUE(sim.createRegistryKey(view64, "SOFTWARE\\Vendor\\Theirs"));
  Write32BitSetupRecord(
      *this,
      "[SetupFolder]\nFolder=C:\\Tool\\\n[DeleteFile]\nFile1=C:\\Tool\\UNSETUP.INI\n"
      "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Vendor\n");
  sim.answerEveryQuestion(kIdNo);
  runSetup("[Title]\nUnSetupKey=Tool\n[CopyFile]\nFile1=(App)\\A.TXT\n");  // the 64-bit build
  sim.setCommandLine(std::string(kUninstaller) + " \"" + kRecord + "\"");
  ProgramStart again(sim);
  sim.userClicks(again.frmMain.btnUnSetup);
  again.frmBack.show(ShowMode::kMaximized);
  EXPECT_TRUE(sim.registryKeyExists(view64, "SOFTWARE\\Vendor\\Theirs")) << "the 64-bit product's";
  EXPECT_FALSE(sim.registryKeyExists(view32, "SOFTWARE\\Vendor\\Old")) << "the earlier record's";
}

// F6. The setup writes its entry and never removes the earlier one: under another name
// ([Title] UnSetupKey changed) or in the other view (the other build's reinstall), the earlier
// entry still names the record and vouches for the earlier bytes. Another user who kept a copy
// of them puts them back, and the uninstall takes them for the setup's own record.
TEST_F(CompletionTest, ReviewAReinstallLeavesNoEntryThatVouchesForTheEarlierBytes) {
  writeSetupRecord(kRecord, "[DeleteFile]\nFile1=C:\\Tool\\UNSETUP.INI\n", "Old");
  const std::string earlier = file(kRecord);
  runSetup("[Title]\nUnSetupKey=ToolKey\n[CopyFile]\nFile1=(App)\\A.TXT\n");
  ASSERT_TRUE(entry("ToolKey", std::string(kRecordDigestValue)));
  const RecordCheck check =
      CheckRecord(sim, earlier, std::string(kUninstallBranch) + "Old", kRecord);
  EXPECT_NE(check.Standing, RecordStanding::kVerified);
  EXPECT_FALSE(entry("Old", "UninstallString")) << "Add/Remove shows the product twice";
}

TEST_F(CompletionTest, ReviewTheOtherBuildsReinstallLeavesNoEntryThatVouchesForTheEarlierBytes) {
  Write32BitSetupRecord(*this, "[DeleteFile]\nFile1=C:\\Tool\\UNSETUP.INI\n");
  const std::string earlier = file(kRecord);
  runSetup("[Title]\nUnSetupKey=Tool\n[CopyFile]\nFile1=(App)\\A.TXT\n");  // the 64-bit build
  const RecordCheck check =
      CheckRecord(sim, earlier, std::string(kUninstallBranch) + "Tool", kRecord);
  EXPECT_NE(check.Standing, RecordStanding::kVerified)
      << "the 32-bit entry, left behind, still vouches for the earlier bytes";
}

// F7. The merge judges a relative path from the setup's temporary folder but keeps it as
// written; the new record, vouched for by this run, is resolved at the uninstall from the
// uninstalling user's temporary folder, which may be elsewhere.
TEST_F(CompletionTest, ReviewAMergedPathIsTheOneThatWasJudged) {
  // Planted in the product's folder by another user: no entry vouches for it.
  writeText(kRecord, "[DeleteFile]\nFile1=..\\..\\Tool\\OLD.TXT\n");
  sim.answerEveryQuestion(kIdNo);
  runSetup("[CopyFile]\nFile1=(App)\\A.TXT\n");  // the setup's temporary folder: C:\WINDOWS\TEMP
  const std::string victim = "C:\\Users\\Admin\\AppData\\Tool\\OLD.TXT";
  ASSERT_TRUE(sim.createFolderPath("C:\\Users\\Admin\\AppData\\Local\\Temp"));
  ASSERT_TRUE(sim.createFolderPath("C:\\Users\\Admin\\AppData\\Tool"));
  ASSERT_TRUE(sim.writeFile(victim, "the administrator's"));
  sim.setTempFolder("C:\\Users\\Admin\\AppData\\Local\\Temp\\");
  sim.setCommandLine(std::string(kUninstaller) + " \"" + kRecord + "\"");
  ProgramStart again(sim);
  sim.userClicks(again.frmMain.btnUnSetup);
  again.frmBack.show(ShowMode::kMaximized);
  EXPECT_TRUE(sim.fileExists(victim));
}
}  // namespace
}  // namespace orv::test
