// The setup run from the Setup button to the end of the folder phase, on the simulated Windows.
#include "setup/SetupRun.h"

#include "app/ShellFixture.h"
#include "common/IniFile.h"

namespace orv::test {
namespace {

using namespace setup_text;

class SetupRunTest : public ShellTest {
 protected:
  // Starts the program, types the setup folder and presses Setup.
  void startRun(const std::string& folder) {
    sim.userTypes(frmMain.txtFolder, folder);
    sim.userClicks(frmMain.btnSetup);
  }
  // Presses Abort (and confirms) the first time the status starts with prefix.
  void abortAt(const std::string& prefix) {
    sim.whileWorking([this, prefix] {
      if (!frmMain.lblMessage.caption().starts_with(prefix)) return false;
      sim.userAnswers(kIdYes);
      frmMain.deliverClick(frmMain.btnAbort);
      return true;
    });
  }
  std::vector<std::string> folderTexts() const { return seenFolders_; }
  void watchFolderTexts() {
    sim.whileWorking([this] {
      const std::string& text = frmMain.lblMessage.caption();
      if (text.starts_with(kCreatingFolder) &&
          (seenFolders_.empty() || seenFolders_.back() != text)) {
        seenFolders_.push_back(text.substr(std::string(kCreatingFolder).size()));
      }
      return false;
    });
  }

 private:
  std::vector<std::string> seenFolders_;
};

TEST_F(SetupRunTest, CreatesTheSetupFolderAfterAskingThenTheListedFolders) {
  writeSetupIni(
      "[MakeFolder]\nFolder1=(App)\nFolder2=(App)\\DATA\nFolder4=(App)\\DATA\\SUB\n"
      "Folder5=(Win)\\HELP\n");
  watchFolderTexts();
  startRun("C:\\Program Files\\Tool");
  sim.userAnswers(kIdYes);
  run();

  ASSERT_EQ(shownCaptions(), std::vector<std::string>({kCreateFolderCaption, "完了"}))
      << "no close question after a finished run";
  EXPECT_EQ(sim.shownMessages()[0].caption, kCreateFolderCaption);
  EXPECT_EQ(sim.shownMessages()[0].text,
            "C:\\Program Files\\Tool\r\rこのフォルダは存在しません．\r"
            "作成してもよろしいですか？");
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbYesNo | kMbIconQuestion);
  for (const char* folder :
       {"C:\\Program Files\\Tool", "C:\\Program Files\\Tool\\DATA\\SUB", "C:\\WINDOWS\\HELP"}) {
    EXPECT_TRUE(sim.folderExists(folder)) << folder;
  }
  const std::vector<std::string> expected = {
      "C:\\Program Files\\Tool\\", "C:\\Program Files\\Tool\\DATA\\",
      "C:\\Program Files\\Tool\\DATA\\SUB\\", "C:\\WINDOWS\\HELP\\"};
  EXPECT_EQ(runState.Records.DeleteFolderRecords.Entries(), expected);
  EXPECT_EQ(folderTexts(), expected);
  EXPECT_EQ(runState.Failures.FailureCount, 0);
  EXPECT_EQ(runState.UninstallInfoPath, "C:\\Program Files\\Tool\\UNSETUP.INI");
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u + 4 * 500) << "first status, then each folder";
  EXPECT_TRUE(frmBack.runFinished());
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(SetupRunTest, ControlsAreLockedAndAbortOfferedWhileRunning) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\n");
  sim.whileWorking([this] {
    if (frmMain.lblMessage.caption() != kPreparing) return false;
    for (const Control* c : {&frmMain.txtFolder, &frmMain.btnRefer, &frmMain.chkOverWrite,
                             &frmMain.chkSCutDesktop, &frmMain.btnEnd, &frmMain.btnSetup}) {
      EXPECT_FALSE(c->enabled()) << c->name();
    }
    EXPECT_FALSE(frmMain.btnSetup.visible());
    EXPECT_TRUE(frmMain.btnAbort.visible());
    EXPECT_TRUE(frmMain.btnAbort.enabled());
    return true;
  });
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  startRun("C:\\Tool\\");
  run();
  EXPECT_TRUE(frmBack.runFinished());
}

TEST_F(SetupRunTest, RefusingTheFolderEndsTheRunAndCreatesNothing) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\nFolder2=(Win)\\HELP\n");
  startRun("C:\\Program Files\\Tool\\");
  sim.userAnswers(kIdNo);
  run();
  ASSERT_EQ(sim.shownMessages().size(), 2u);
  EXPECT_EQ(sim.shownMessages()[1].text, kCannotContinue);
  EXPECT_EQ(sim.shownMessages()[1].caption, kStoppedCaption);
  EXPECT_EQ(sim.shownMessages()[1].flags, kMbOk | kMbIconStop);
  EXPECT_FALSE(sim.folderExists("C:\\Program Files\\Tool"));
  EXPECT_FALSE(sim.folderExists("C:\\WINDOWS\\HELP"));
  EXPECT_TRUE(runState.Records.DeleteFolderRecords.Entries().empty());
  EXPECT_TRUE(frmBack.runFinished());
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(SetupRunTest, FolderPhaseFailuresAndDuplicates) {
  writeSetupIni(
      "[MakeFolder]\nFolder1=(App)\\A\\B\nFolder2=(App)\\A\nFolder3=(App)\\a\\\n"
      "Folder4=(App)\nFolder5=(App)\\LOCKED\n");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  sim.injectFault(SimPlatform::Operation::kCreateFolder, "C:\\Tool\\LOCKED", kErrorAccessDenied);
  startRun("C:\\Tool");
  sim.userAnswers(kIdNo);  // the failure list is offered at the end
  run();
  EXPECT_EQ(runState.Failures.FailureText,
            "<Folder> C:\\Tool\\A\\B\\\r\n<Folder> C:\\Tool\\LOCKED\\\r\n")
      << "a folder before its parent fails; existing folders do not";
  EXPECT_EQ(runState.Failures.FailureCount, 2);
  EXPECT_EQ(runState.Records.DeleteFolderRecords.Entries(),
            std::vector<std::string>(
                {"C:\\Tool\\A\\B\\", "C:\\Tool\\A\\", "C:\\Tool\\", "C:\\Tool\\LOCKED\\"}))
      << "failed folders stay recorded; duplicates are recorded once";
  EXPECT_TRUE(sim.folderExists("C:\\Tool\\A"));
}

TEST_F(SetupRunTest, ARecordNoEntryVouchesForGivesOnlyWhatIsTheProductsOwn) {
  // Planted by another user in a folder anyone may write: this run's digest must not vouch for it.
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  const std::string desktop = "C:\\Users\\User\\Desktop\\";
  for (const auto& [link, target] : {std::pair(desktop + "Tool.lnk", "C:\\Tool\\TOOL.EXE"),
                                     std::pair(desktop + "Other.lnk", "C:\\Other\\OTHER.EXE")}) {
    const auto made = sim.createShellLink();
    made.link->setTarget(target);
    ASSERT_TRUE(made.link->save(link));
  }
  writeText("C:\\Tool\\UNSETUP.INI",
            "[DeleteFolder]\nFolder1=C:\\Tool\\OLD\\\nFolder2=C:\\Users\\\n"
            "[DeleteFile]\nFile1=C:\\Tool\\OLD.TXT,/L\nFile2=C:\\Tool\\..\\WINDOWS\\WIN.INI\n"
            "[DeleteShortCut]\nFile1=" +
                desktop + "Tool.lnk\nFile2=" + desktop +
                "Other.lnk\nFile3=C:\\Tool\\A.TXT\n"
                "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Tool\nKey2=(Local)SYSTEM\\Setup\n");
  writeSetupIni("[MakeFolder]\nFolder1=(App)\n");
  startRun("C:\\Tool\\");
  sim.userAnswers(kIdNo);  // the failure list
  run();
  EXPECT_EQ(runState.Records.DeleteFolderRecords.Entries(),
            std::vector<std::string>({"C:\\Tool\\OLD\\", "C:\\Tool\\"}));
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries(),
            std::vector<std::string>({"C:\\Tool\\OLD.TXT,/L", "C:\\Tool\\UNSETUP.INI"}));
  EXPECT_EQ(runState.Records.DeleteShortCutRecords.Entries(),
            std::vector<std::string>({desktop + "Tool.lnk"}))
      << "only a link to the product";
  EXPECT_EQ(runState.Records.DeleteRegistryRecords.Entries(), std::vector<std::string>())
      << "no key is the product's on this record's word";
  EXPECT_EQ(runState.Failures.FailureText,
            "<Folder> C:\\Users\\\r\n<File> C:\\Tool\\..\\WINDOWS\\WIN.INI\r\n<ShortCut> " +
                desktop +
                "Other.lnk\r\n<ShortCut> C:\\Tool\\A.TXT\r\n<Registry> "
                "(Local)SOFTWARE\\Tool\r\n<Registry> (Local)SYSTEM\\Setup\r\n");
}

TEST_F(SetupRunTest, AnEarlierRecordIsMergedFirst) {
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  std::string record = "[DeleteFolder]\n";
  for (int n = 1; n <= 15; ++n)
    record += "Folder" + std::to_string(n) + "=C:\\Tool\\OLD" + std::to_string(n) + "\\\n";
  record += "[DeleteFile]\nFile2=c:\\tool\\prog.exe,/C\n[DeleteShortCut]\nFile1=C:\\L.lnk\n";
  record += "[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Tool\n";
  writeSetupRecord("C:\\Tool\\UNSETUP.INI", record);
  std::string ini = "[MakeFolder]\nFolder1=(App)\\old1\n";
  for (int n = 2; n <= 8; ++n)
    ini += "Folder" + std::to_string(n) + "=(App)\\NEW" + std::to_string(n) + "\n";
  writeSetupIni(ini);
  startRun("C:\\Tool\\");
  sim.userAnswers(kIdNo);  // the failure list
  run();
  const auto& folders = runState.Records.DeleteFolderRecords.Entries();
  ASSERT_EQ(folders.size(), 20u);
  EXPECT_EQ(folders[0], "C:\\Tool\\OLD1\\") << "the earlier form of a duplicate stays";
  EXPECT_EQ(folders[15], "C:\\Tool\\NEW2\\");
  EXPECT_EQ(folders[19], "C:\\Tool\\NEW6\\") << "only five new folders fit";
  EXPECT_TRUE(sim.folderExists("C:\\Tool\\NEW8")) << "a folder not recorded is still made";
  EXPECT_EQ(runState.Failures.FailureText,
            "<Folder> C:\\Tool\\NEW7\\\r\n<Folder> C:\\Tool\\NEW8\\\r\n")
      << "and reported, since no uninstall would remove it";
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries(),
            std::vector<std::string>({"c:\\tool\\prog.exe,/C", "C:\\Tool\\UNSETUP.INI"}));
  EXPECT_EQ(runState.Records.DeleteShortCutRecords.Entries(),
            std::vector<std::string>({"C:\\L.lnk"}));
  EXPECT_EQ(runState.Records.DeleteRegistryRecords.Entries(),
            std::vector<std::string>({"(Local)SOFTWARE\\Tool"}));
}

TEST_F(SetupRunTest, AnEarlierRecordThatCannotBeReadStopsTheRunBeforeAnythingIsMade) {
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  writeSetupRecord("C:\\Tool\\UNSETUP.INI", "[DeleteFile]\nFile1=C:\\Tool\\OLD.EXE,/C\n");
  const auto before = sim.readFile("C:\\Tool\\UNSETUP.INI", kIniFileMaxBytes);
  sim.injectFault(SimPlatform::Operation::kReadFile, "C:\\Tool\\UNSETUP.INI",
                  kErrorSharingViolation, 1);
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\NEW\n");
  startRun("C:\\Tool\\");
  run();
  ASSERT_EQ(sim.shownMessages().size(), 1u);
  EXPECT_EQ(sim.shownMessages()[0].text,
            "C:\\Tool\\UNSETUP.INI\r\r" + std::string(kEarlierRecordUnreadable));
  EXPECT_EQ(sim.shownMessages()[0].caption, kStoppedCaption);
  EXPECT_FALSE(sim.folderExists("C:\\Tool\\NEW"));
  EXPECT_EQ(sim.readFile("C:\\Tool\\UNSETUP.INI", kIniFileMaxBytes), before)
      << "the earlier record is left as it was";
  EXPECT_TRUE(frmBack.runFinished());
}

TEST_F(SetupRunTest, AbortRightAfterPreparingEndsBeforeTheScriptIsLoaded) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\n");
  abortAt(kPreparing);
  startRun("C:\\Tool");
  run();
  EXPECT_TRUE(globals.AbortRequested);
  EXPECT_TRUE(runState.FolderList.empty());
  EXPECT_FALSE(sim.folderExists("C:\\Tool"));
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({main_text::kAbortCaption}))
      << "no folder question, no close question";
}

TEST_F(SetupRunTest, AbortAtTheFolderCheckAsksNothingMore) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\n");
  abortAt(kCheckingFolder);
  startRun("C:\\Tool");
  run();
  EXPECT_EQ(runState.FolderList.size(), 1u);
  EXPECT_FALSE(sim.folderExists("C:\\Tool"));
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({main_text::kAbortCaption}));
}

TEST_F(SetupRunTest, AbortWhileCreatingFoldersStopsAtOnce) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\A\nFolder2=(App)\\B\nFolder3=(App)\\C\n");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  abortAt(std::string(kCreatingFolder) + "C:\\Tool\\B");
  startRun("C:\\Tool");
  run();
  EXPECT_TRUE(sim.folderExists("C:\\Tool\\A"));
  EXPECT_FALSE(sim.folderExists("C:\\Tool\\B"));
  EXPECT_FALSE(sim.folderExists("C:\\Tool\\C"));
  EXPECT_EQ(runState.Records.DeleteFolderRecords.Entries().size(), 2u) << "B was recorded before";
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u + 500);
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(SetupRunTest, AbortAnsweredNoLetsTheRunGoOn) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\A\nFolder2=(App)\\B\n");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  sim.whileWorking([this] {
    if (!frmMain.lblMessage.caption().starts_with(kCreatingFolder)) return false;
    sim.userAnswers(kIdNo);
    frmMain.deliverClick(frmMain.btnAbort);
    return true;
  });
  startRun("C:\\Tool");
  run();
  EXPECT_TRUE(sim.folderExists("C:\\Tool\\B"));
  EXPECT_FALSE(globals.AbortRequested);
}

TEST_F(SetupRunTest, NoFoldersMeansNoFolderTextAndNoWait) {
  writeSetupIni("");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  watchFolderTexts();
  startRun("C:\\Tool");
  run();
  EXPECT_TRUE(folderTexts().empty());
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u);
}

TEST_F(SetupRunTest, AnEmptySetupFolderRaisesAndAbortStillLeaves) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\A\n");
  startRun("");
  sim.userAnswers(kIdYes);
  sim.userDoes([this] {
    EXPECT_TRUE(frmMain.btnAbort.showing() && frmMain.btnAbort.enabled());
    EXPECT_FALSE(frmMain.btnEnd.enabled());
  });
  sim.userClicks(frmMain.btnAbort);
  sim.userAnswers(kIdYes);
  run();
  ASSERT_GE(sim.shownMessages().size(), 2u);
  EXPECT_EQ(sim.shownMessages()[1].text, std::string(kCannotCreateFolder) + ".");
  EXPECT_EQ(sim.shownMessages()[1].caption, "Orvane! Setup 98");
  EXPECT_TRUE(runState.Records.DeleteFolderRecords.Entries().empty());
  EXPECT_FALSE(sim.folderExists("C:\\A"));
  EXPECT_FALSE(sim.folderExists("\\A"));
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

}  // namespace
}  // namespace orv::test
