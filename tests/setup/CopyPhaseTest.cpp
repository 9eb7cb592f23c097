// The copy phase and the failure list at the end of the run, on the simulated Windows.
#include "setup/CopyPhase.h"

#include <chrono>

#include "app/FailureDisplay.h"
#include "app/ShellFixture.h"
#include "platform/SzddSamples.h"
#include "setup/Completion.h"
#include "setup/SetupRun.h"

namespace orv::test {
namespace {

using namespace copy_text;
using completion_text::kCompleteCaption;

class CopyPhaseTest : public ShellTest {
 protected:
  CopyPhaseTest() { EXPECT_TRUE(sim.createFolder("C:\\Tool")); }
  void disk(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(sim.writeFile("C:\\SETUP\\" + name, bytes)) << name;
  }
  std::string content(const std::string& path) {
    return sim.readFile(path, 1 << 24).value_or("<missing>");
  }
  // Runs setup into C:\Tool with the overwrite option as given.
  void runSetup(bool overwrite = true) {
    sim.userDoes([this, overwrite] { frmMain.chkOverWrite.userChangedCheck(overwrite); });
    sim.userTypes(frmMain.txtFolder, "C:\\Tool\\");
    sim.userClicks(frmMain.btnSetup);
    run();
  }
  // Records every progress text the window shows.
  void watchProgress() {
    sim.whileWorking([this] {
      const std::string& text = frmMain.lblStatus.caption();
      if (progress_.empty() || progress_.back() != text) progress_.push_back(text);
      return false;
    });
  }
  std::vector<std::string> progress_;
};

TEST(CopyPercentage, StaysWithinRangeForAnySizes) {
  EXPECT_EQ(CopyPercentage(3, 10), 30);
  EXPECT_EQ(CopyPercentage(999, 1000), 99) << "rounded down";
  EXPECT_EQ(CopyPercentage(0, 0), 100) << "nothing to copy";
  EXPECT_EQ(CopyPercentage(3'000'000'000ULL, 4'000'000'000ULL), 75) << "past 2 GiB";
  EXPECT_NEAR(CopyPercentage(~0ULL / 2, ~0ULL), 50, 1) << "sizes beyond any disk stay in range";
  EXPECT_EQ(CopyPercentage(~0ULL, ~0ULL), 100);
  EXPECT_EQ(CopyPercentage(20, 10), 100) << "a source that grew after loading";
  EXPECT_EQ(ProgressText(45, 3, 10), "45%(3/10)");
}

TEST_F(CopyPhaseTest, PlainAndCompressedFilesAreInstalled) {
  disk("README.TXT", "read me");
  disk("PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  disk("DATA.BI_", WithStoredCharacter(kDataCompressed, 'n'));
  disk("lower.ex_", WithStoredCharacter(kProgCompressed, 'e'));
  writeSetupIni(
      "[CopyFile]\nFile1=(App)\\README.TXT\nFile2=(App)\\PROG.EX_,/C\nFile3=(Sys)\\DATA.BI_\n"
      "File4=(App)\\lower.ex_\nFile5=(App)\\ABSENT.TXT\n");
  sim.whileWorking([this] {
    if (!frmMain.lblMessage.caption().starts_with(kCopying)) return false;
    EXPECT_TRUE(frmMain.fraStatus.visible());
    return true;
  });
  runSetup();
  EXPECT_EQ(content("C:\\Tool\\README.TXT"), "read me");
  EXPECT_EQ(content("C:\\Tool\\PROG.EXE"), kProgPlain);
  EXPECT_EQ(content("C:\\WINDOWS\\SYSTEM\\DATA.BIN"), kDataPlain);
  EXPECT_EQ(content("C:\\Tool\\LOWER.EXE"), kProgPlain) << "the recorded name in upper case";
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\PROG.EX_"));
  EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\TEMP\\EXPAND.BST")) << "the temporary file goes";
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries(),
            std::vector<std::string>({"C:\\Tool\\README.TXT", "C:\\Tool\\PROG.EXE,/C",
                                      "C:\\WINDOWS\\SYSTEM\\DATA.BIN", "C:\\Tool\\LOWER.EXE",
                                      "C:\\Tool\\UNSETUP.INI"}));
  EXPECT_EQ(runState.Failures.FailureCount, 0);
  EXPECT_FALSE(frmMain.fraStatus.visible());
  EXPECT_EQ(frmMain.lblStatus.caption(), "100%(4/4)");
  EXPECT_EQ(frmMain.prgStatus.progress(), 100);
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u + 4 * 500);
}

TEST_F(CopyPhaseTest, ProgressCountsBytesAndEntries) {
  std::string ini = "[CopyFile]\n";
  for (int n = 1; n <= 10; ++n) {
    disk("F" + std::to_string(n) + ".BIN", std::string(1 << 20, static_cast<char>('a' + n)));
    ini += "File" + std::to_string(n) + "=(App)\\F" + std::to_string(n) + ".BIN\n";
  }
  writeSetupIni(ini);
  watchProgress();
  runSetup();
  ASSERT_GE(progress_.size(), 4u);
  EXPECT_EQ(progress_[3], "30%(3/10)");
  EXPECT_EQ(progress_.back(), "100%(10/10)");
  EXPECT_EQ(content("C:\\Tool\\F10.BIN"), std::string(1 << 20, 'k'));
}

TEST_F(CopyPhaseTest, ProgressIsRightPast4GiB) {
  disk("BIG.DAT", "big");
  disk("SMALL.DAT", "s");
  sim.reportSize("C:\\SETUP\\BIG.DAT", 5ULL << 30);
  writeSetupIni("[CopyFile]\nFile1=(App)\\BIG.DAT\nFile2=(App)\\SMALL.DAT\nFile3=(App)\\BIG.DAT\n");
  watchProgress();
  runSetup();
  EXPECT_EQ(runState.TotalBytes, (10ULL << 30) + 1);
  EXPECT_EQ(progress_, std::vector<std::string>(
                           {main_text::kStatusStart, "49%(1/3)", "50%(2/3)", "100%(3/3)"}));
}

TEST_F(CopyPhaseTest, UnknownSizesShowNoProgressAndWaitNot) {
  disk("A.TXT", "a");
  disk("B.TXT", "b");
  sim.injectFault(SimPlatform::Operation::kFileSize, "C:\\SETUP\\B.TXT", kErrorAccessDenied, 1);
  writeSetupIni("[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  sim.whileWorking([this] {
    EXPECT_FALSE(frmMain.fraStatus.visible());
    return false;
  });
  runSetup();
  EXPECT_FALSE(runState.SizesKnown);
  EXPECT_EQ(frmMain.lblStatus.caption(), main_text::kStatusStart);
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u);
  EXPECT_EQ(content("C:\\Tool\\B.TXT"), "b");
}

TEST_F(CopyPhaseTest, DiskChangesAskForTheNextDiskUntilItsFileIsThere) {
  disk("ONE.TXT", "1");
  disk("TWO.TXT", "2");
  writeSetupIni(
      "[CopyFile]\nFile1=(App)\\ONE.TXT\nFile2=(Dch)(App)\\TWO.TXT\nFile3=(Dch)(App)\\THREE.TXT\n");
  // Loading needs every source on the first disk; the third comes with the third disk.
  disk("THREE.TXT", "old three");
  sim.userAnswers(kIdOk);  // disk 2: TWO.TXT is there
  sim.userAnswers(kIdOk, [this] { ASSERT_TRUE(sim.deleteFile("C:\\SETUP\\THREE.TXT")); });
  sim.userAnswers(kIdOk, [this] { disk("THREE.TXT", "3"); });  // the same disk asked again
  runSetup();
  std::vector<std::string> prompts;
  for (const auto& message : sim.shownMessages()) {
    if (message.caption == kDiskCaption) prompts.push_back(message.text);
  }
  EXPECT_EQ(prompts, std::vector<std::string>({std::string("2") + kInsertDisk,
                                               std::string("3") + kInsertDisk,
                                               std::string("3") + kInsertDisk}));
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOkCancel | kMbIconInformation);
  EXPECT_EQ(content("C:\\Tool\\THREE.TXT"), "3");
  EXPECT_EQ(runState.DiskNumber, 3);
}

TEST_F(CopyPhaseTest, CancellingTheDiskChangeEndsTheRun) {
  disk("ONE.TXT", "1");
  disk("TWO.TXT", "2");
  disk("AFTER.TXT", "after");
  writeSetupIni(
      "[CopyFile]\nFile1=(App)\\ONE.TXT\nFile2=(Dch)(App)\\TWO.TXT\nFile3=(App)\\AFTER.TXT\n");
  sim.userAnswers(kIdCancel);
  runSetup();
  ASSERT_EQ(sim.shownMessages().size(), 2u);
  EXPECT_EQ(sim.shownMessages()[1].caption, kFatalCaption);
  EXPECT_EQ(sim.shownMessages()[1].text, setup_text::kCannotContinue);
  EXPECT_EQ(content("C:\\Tool\\ONE.TXT"), "1") << "nothing done is undone";
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\TWO.TXT"));
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\AFTER.TXT"));
  EXPECT_TRUE(frmBack.runFinished());
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(CopyPhaseTest, OverwriteOffAsksAndNoIsAFailureThatIsStillRecorded) {
  disk("A.TXT", "new a");
  disk("B.TXT", "new b");
  ASSERT_TRUE(sim.writeFile("C:\\Tool\\A.TXT", "old a"));
  ASSERT_TRUE(sim.writeFile("C:\\Tool\\B.TXT", "old b"));
  writeSetupIni("[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  sim.userAnswers(kIdNo);
  sim.userAnswers(kIdYes);
  sim.userAnswers(kIdNo);  // the failure list
  runSetup(false);
  EXPECT_EQ(sim.shownMessages()[0].text,
            "C:\\Tool\\A.TXT\r\rこのファイルは既に存在します．\r上書きしてもよろしいですか？");
  EXPECT_EQ(sim.shownMessages()[0].caption, kOverwriteCaption);
  EXPECT_EQ(content("C:\\Tool\\A.TXT"), "old a");
  EXPECT_EQ(content("C:\\Tool\\B.TXT"), "new b");
  EXPECT_EQ(runState.Failures.FailureText, "<File> C:\\Tool\\A.TXT\r\n");
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries().size(), 3u) << "both files and the record";
}

TEST_F(CopyPhaseTest, OverwriteOnReplacesOnlyOlderFilesSilently) {
  disk("SAME.TXT", "new same");
  disk("OLDER.TXT", "new older");
  disk("NEWER.TXT", "new newer");
  for (const char* name : {"SAME.TXT", "OLDER.TXT", "NEWER.TXT"}) {
    ASSERT_TRUE(sim.writeFile(std::string("C:\\Tool\\") + name, "installed"));
  }
  using namespace std::chrono;
  const auto at = [](int year) {
    return file_clock::from_sys(sys_seconds(sys_days(std::chrono::year(year) / 1 / 1)));
  };
  for (const char* name : {"SAME.TXT", "OLDER.TXT", "NEWER.TXT"}) {
    std::filesystem::last_write_time(sim.hostPath(std::string("C:\\SETUP\\") + name), at(2020));
  }
  std::filesystem::last_write_time(sim.hostPath("C:\\Tool\\SAME.TXT"), at(2020) + seconds(1));
  std::filesystem::last_write_time(sim.hostPath("C:\\Tool\\OLDER.TXT"), at(2019));
  std::filesystem::last_write_time(sim.hostPath("C:\\Tool\\NEWER.TXT"), at(2021));
  writeSetupIni(
      "[CopyFile]\nFile1=(App)\\SAME.TXT\nFile2=(App)\\OLDER.TXT\nFile3=(App)\\NEWER.TXT\n");
  runSetup(true);
  EXPECT_EQ(shownCaptions(), completedOnly()) << "no question, no failure";
  EXPECT_EQ(content("C:\\Tool\\SAME.TXT"), "installed") << "same age to 2 seconds";
  EXPECT_EQ(content("C:\\Tool\\OLDER.TXT"), "new older");
  EXPECT_EQ(content("C:\\Tool\\NEWER.TXT"), "installed");
  EXPECT_EQ(runState.Failures.FailureCount, 0);
}

TEST_F(CopyPhaseTest, AgesBefore1980CompareLikeAnyOther) {
  disk("OLD.TXT", "new old");
  ASSERT_TRUE(sim.writeFile("C:\\Tool\\OLD.TXT", "installed"));
  using namespace std::chrono;
  const auto at = [](int year) {
    return file_clock::from_sys(sys_seconds(sys_days(std::chrono::year(year) / 6 / 1)));
  };
  std::filesystem::last_write_time(sim.hostPath("C:\\SETUP\\OLD.TXT"), at(1979));
  std::filesystem::last_write_time(sim.hostPath("C:\\Tool\\OLD.TXT"), at(1978));
  writeSetupIni("[CopyFile]\nFile1=(App)\\OLD.TXT\n");
  runSetup(true);
  EXPECT_EQ(content("C:\\Tool\\OLD.TXT"), "new old") << "1979 is newer than 1978";
}

TEST_F(CopyPhaseTest, InstalledFilesDoNotKeepTheMediumsReadOnlyAttribute) {
  disk("RO.TXT", "from a CD-ROM");
  ASSERT_TRUE(sim.setFileAttributes("C:\\SETUP\\RO.TXT", attr::kReadOnly | attr::kArchive));
  writeSetupIni("[CopyFile]\nFile1=(App)\\RO.TXT\n");
  runSetup();
  EXPECT_EQ(sim.fileAttributes("C:\\Tool\\RO.TXT"), attr::kArchive);
  EXPECT_EQ(sim.fileAttributes("C:\\SETUP\\RO.TXT"), attr::kReadOnly | attr::kArchive);
}

TEST_F(CopyPhaseTest, NothingBrokenOrStaleIsInstalledOverAnInstalledFile) {
  disk("BAD.BI_", WithStoredCharacter(kDataCompressed, 'n').substr(0, 300));
  ASSERT_TRUE(sim.writeFile("C:\\Tool\\BAD.BIN", "installed"));
  writeSetupIni("[CopyFile]\nFile1=(App)\\BAD.BI_\n");
  sim.userAnswers(kIdNo);  // the failure list
  runSetup(true);
  EXPECT_EQ(content("C:\\Tool\\BAD.BIN"), "installed");
  EXPECT_EQ(runState.Failures.FailureText, "<File> C:\\Tool\\BAD.BIN\r\n")
      << "a broken file is no older file to keep";
}

TEST_F(CopyPhaseTest, AStaleExpandedFileThatCannotBeClearedFailsTheCopy) {
  disk("PROG.EX_", WithStoredCharacter(kProgCompressed, 'e'));
  ASSERT_TRUE(sim.writeFile("C:\\WINDOWS\\TEMP\\EXPAND.BST", "stale"));
  ASSERT_TRUE(sim.setFileAttributes("C:\\WINDOWS\\TEMP\\EXPAND.BST", attr::kReadOnly));
  writeSetupIni("[CopyFile]\nFile1=(App)\\PROG.EX_\n");
  sim.userAnswers(kIdNo);  // the failure list
  runSetup();
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\PROG.EXE"));
  EXPECT_EQ(runState.Failures.FailureText, "<File> C:\\Tool\\PROG.EXE\r\n");
  EXPECT_EQ(content("C:\\WINDOWS\\TEMP\\EXPAND.BST"), "stale") << "not ours to delete";
}

TEST_F(CopyPhaseTest, TheSameDestinationTwiceIsRecordedOnceWithTheLaterFlag) {
  disk("A.TXT", "a");
  ASSERT_TRUE(
      sim.writeFile("C:\\Tool\\UNSETUP.INI", "[DeleteFile]\r\nFile1=c:\\tool\\a.txt,/L\r\n"));
  writeSetupIni("[CopyFile]\nFile1=(App)\\A.TXT,/F\nFile2=(App)\\B.TXT\nFile3=(App)\\a.txt,/C\n");
  runSetup();
  EXPECT_EQ(runState.Records.DeleteFileRecords.Entries(),
            std::vector<std::string>({"C:\\Tool\\a.txt,/C", "C:\\Tool\\UNSETUP.INI"}));
}

TEST_F(CopyPhaseTest, FailedCopiesAndBrokenCompressedFilesAreListed) {
  disk("A.TXT", "a");
  disk("BAD.BI_", WithStoredCharacter(kDataCompressed, 'n').substr(0, 300));
  writeSetupIni(
      "[MakeFolder]\nFolder1=(App)\\X\\Y\n[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\BAD.BI_\n"
      "File3=(App)\\NOFOLDER\\A.TXT\n");
  sim.injectFault(SimPlatform::Operation::kCopyFile, "C:\\Tool\\A.TXT", kErrorDiskFull);
  sim.userAnswers(kIdNo);
  runSetup();
  EXPECT_EQ(runState.Failures.FailureText,
            "<Folder> C:\\Tool\\X\\Y\\\r\n<File> C:\\Tool\\A.TXT\r\n<File> C:\\Tool\\BAD.BIN\r\n"
            "<File> C:\\Tool\\NOFOLDER\\A.TXT\r\n");
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\BAD.BIN"));
}

TEST_F(CopyPhaseTest, AbortWhileCopyingStopsAtTheNextCheck) {
  disk("A.TXT", "a");
  disk("B.TXT", "b");
  writeSetupIni("[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  sim.whileWorking([this] {
    if (frmMain.lblStatus.caption() != "50%(1/2)") return false;
    sim.userAnswers(kIdYes);
    frmMain.deliverClick(frmMain.btnAbort);
    return true;
  });
  runSetup();
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\A.TXT"));
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\B.TXT"));
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u) << "no pause after the aborted progress";
}

TEST_F(CopyPhaseTest, TaskBarCloseDoesNothingWhileTheRunWorks) {
  disk("A.TXT", "a");
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\X\\Y\n[CopyFile]\nFile1=(App)\\A.TXT\n");
  bool closedWhileCopying = false;
  sim.whileWorking([this, &closedWhileCopying] {
    if (!frmMain.lblMessage.caption().starts_with(kCopying)) return false;
    sim.closeApplication();
    EXPECT_EQ(frmMain.modalResult(), kModalNone);
    return closedWhileCopying = true;
  });
  bool closedOnTheList = false;
  sim.whileWorking([this, &closedOnTheList] {
    if (!frmMain.btnCloseErrorLog.visible()) return false;
    sim.closeApplication();
    EXPECT_EQ(frmMain.modalResult(), kModalNone);
    frmMain.deliverClick(frmMain.btnCloseErrorLog);
    return closedOnTheList = true;
  });
  sim.userAnswers(kIdYes);  // the failure list
  runSetup();
  EXPECT_TRUE(closedWhileCopying && closedOnTheList);
  EXPECT_EQ(shownCaptions(),
            std::vector<std::string>({failure_text::kWarningCaption, kCompleteCaption}));
  EXPECT_EQ(content("C:\\Tool\\A.TXT"), "a");
}

TEST_F(CopyPhaseTest, AQuitDuringTheRunStopsItAsAnAbortWould) {
  disk("A.TXT", "a");
  disk("B.TXT", "b");
  writeSetupIni("[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  sim.whileWorking([this] {
    if (frmMain.lblStatus.caption() != "50%(1/2)") return false;
    sim.postQuit();
    return true;
  });
  runSetup();
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\A.TXT"));
  EXPECT_FALSE(sim.fileExists("C:\\Tool\\B.TXT"));
  EXPECT_TRUE(globals.AbortRequested);
  EXPECT_TRUE(sim.shownMessages().empty()) << "no question on the way out";
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(CopyPhaseTest, AQuitEndsTheWaitOnTheFailureListAndTheRun) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\X\\Y\n");
  sim.userAnswers(kIdYes);
  sim.whileWorking([this] {
    if (!frmMain.btnCloseErrorLog.visible()) return false;
    sim.postQuit();
    return true;
  });
  runSetup();
  EXPECT_TRUE(frmMain.btnCloseErrorLog.visible()) << "never pressed";
  EXPECT_TRUE(globals.AbortRequested);
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(CopyPhaseTest, TheFailureListIsShownUntilContinueIsPressed) {
  writeSetupIni("[MakeFolder]\nFolder1=(App)\\X\\Y\nFolder2=(App)\\P\\Q\n");
  bool sawList = false;
  sim.userAnswers(kIdYes);
  sim.whileWorking([this, &sawList] {
    if (!frmMain.btnCloseErrorLog.visible()) return false;
    sawList = true;
    EXPECT_TRUE(frmMain.fraReadme.visible());
    EXPECT_EQ(frmMain.fraReadme.caption(), setup_text::kFailuresCaption);
    EXPECT_EQ(frmMain.txtReadme.lines(),
              std::vector<std::string>({"<Folder> C:\\Tool\\X\\Y\\", "<Folder> C:\\Tool\\P\\Q\\"}));
    EXPECT_FALSE(frmMain.btnSetup.visible());
    EXPECT_FALSE(frmMain.btnAbort.visible());
    EXPECT_EQ(frmMain.lblMessage.caption(), failure_text::kSomeFailed);
    frmMain.deliverClick(frmMain.btnCloseErrorLog);
    return true;
  });
  runSetup();
  EXPECT_TRUE(sawList);
  const auto& question = sim.shownMessages().at(sim.shownMessages().size() - 2);
  EXPECT_EQ(question.caption, failure_text::kWarningCaption);
  EXPECT_EQ(question.text, setup_text::kFailuresQuestion);
  EXPECT_EQ(question.flags, kMbYesNo | kMbIconExclamation);
  EXPECT_TRUE(frmMain.btnSetup.visible());
  EXPECT_FALSE(frmMain.btnSetup.enabled());
  EXPECT_FALSE(frmMain.fraReadme.visible());
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u + 2 * 500 + 200) << "one poll before Continue";
}

TEST_F(CopyPhaseTest, NoFailuresAskNothing) {
  disk("A.TXT", "a");
  writeSetupIni("[CopyFile]\nFile1=(App)\\A.TXT\n");
  bool sawFailureText = false;
  sim.whileWorking([this, &sawFailureText] {
    sawFailureText = sawFailureText || frmMain.lblMessage.caption() == failure_text::kSomeFailed;
    return false;
  });
  runSetup();
  EXPECT_FALSE(sawFailureText);
  EXPECT_EQ(shownCaptions(), completedOnly());
}

}  // namespace
}  // namespace orv::test
