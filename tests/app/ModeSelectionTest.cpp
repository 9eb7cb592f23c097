// The mode selection: which information file drives the start, the titles, the readme, and the
// state of the window each case leaves.
#include "app/ShellFixture.h"
#include "common/IniFile.h"
#include "e2e/ControlNames.h"

namespace orv::test {
namespace {

using namespace main_text;

using ModeSelection = ShellTest;

TEST_F(ModeSelection, MissingSetupIniLeavesOnlyExit) {
  activate();
  EXPECT_TRUE(frmMain.btnSetup.visible());
  EXPECT_FALSE(frmMain.btnSetup.enabled());
  EXPECT_FALSE(frmMain.btnUnSetup.visible());
  EXPECT_EQ(frmMain.btnEnd.caption(), kEnd);
  EXPECT_TRUE(frmMain.btnEnd.enabled());
  EXPECT_FALSE(frmMain.fraReadme.visible());
  EXPECT_EQ(frmMain.caption(), "Orvane! Setup 98");
  EXPECT_EQ(frmBack.lblBackTitle1.caption(), "");
  EXPECT_EQ(frmMain.lblMessage.caption(),
            std::string(kCloseProgramsFirst) + kInfoFileMissing + "\r");
  EXPECT_FALSE(frmMain.closeItemEnabled());
}

TEST_F(ModeSelection, MissingUnsetupIniShowsTheSetupButtonDisabled) {
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\GONE\\UNSETUP.INI");
  activate();
  EXPECT_TRUE(frmMain.btnSetup.visible());
  EXPECT_FALSE(frmMain.btnSetup.enabled());
  EXPECT_FALSE(frmMain.btnUnSetup.visible());
  EXPECT_EQ(frmMain.lblMessage.caption(), std::string(kInfoFileMissing) + "\r");
  EXPECT_EQ(globals.InfoFilePath, "C:\\WINDOWS\\TEMP\\UNSETUP.INI");
}

TEST_F(ModeSelection, UninstallModeUsesACopyInTheTemporaryFolder) {
  ASSERT_TRUE(sim.createFolderPath("C:\\Program Files\\Tool"));
  writeText("C:\\Program Files\\Tool\\UNSETUP.INI",
            "[Title]\nSetup=ツール\nUnSetup=ツールの削除\n[SetupFolder]\nFolder=C:\\Program "
            "Files\\Tool\\\n[Readme]\nFile=README.TXT\n");
  writeText("C:\\SETUP\\README.TXT", "never shown in uninstall mode\n");
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"C:\\Program Files\\Tool\\UNSETUP.INI\"");
  activate();

  EXPECT_EQ(globals.InfoFilePath, "C:\\WINDOWS\\TEMP\\UNSETUP.INI");
  EXPECT_TRUE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI"));
  EXPECT_TRUE(frmMain.btnUnSetup.visible());
  EXPECT_TRUE(frmMain.btnUnSetup.enabled());
  EXPECT_FALSE(frmMain.btnSetup.visible());
  EXPECT_FALSE(frmMain.fraReadme.visible());
  EXPECT_EQ(frmMain.btnEnd.caption(), kEndUnSetup);
  EXPECT_TRUE(frmMain.btnEnd.enabled());
  EXPECT_EQ(frmMain.caption(), "ツールの削除");
  EXPECT_EQ(frmBack.lblBackTitle1.caption(), "ツールの削除");
  EXPECT_EQ(frmBack.lblBackTitle2.caption(), "ツールの削除");
  EXPECT_EQ(frmMain.txtFolder.caption(), "C:\\Program Files\\Tool\\");
  EXPECT_FALSE(frmMain.txtFolder.enabled());
  EXPECT_FALSE(frmMain.btnRefer.enabled());
  EXPECT_FALSE(frmMain.chkOverWrite.enabled());
  EXPECT_EQ(frmMain.lblMessage.caption(), kUnSetupMessage);
}

TEST_F(ModeSelection, OnlyTheExactNameUnsetupIniSelectsUninstall) {
  writeSetupIni("[Title]\nSetup=Setup title\n");
  ASSERT_TRUE(sim.writeFile("C:\\unsetup.ini", "[Title]\r\nUnSetup=x\r\n"));
  sim.setCommandLine("C:\\SETUP\\SETUP.EXE C:\\unsetup.ini");
  activate();
  EXPECT_EQ(globals.InfoFilePath, "C:\\SETUP\\SETUP.INI");
  EXPECT_TRUE(frmMain.btnSetup.enabled());
  EXPECT_EQ(frmMain.caption(), "Setup title");
}

TEST_F(ModeSelection, SetupWithReadmeShowsItFirst) {
  writeSetupIni("[Title]\nSetup=サンプル\n[Readme]\nFile=DOC\\README.TXT\nTitle=お読みください\n");
  ASSERT_TRUE(sim.createFolder("C:\\SETUP\\DOC"));
  writeText("C:\\SETUP\\DOC\\README.TXT", "一行目\n\n三行目 表示\n");
  activate();
  EXPECT_TRUE(frmMain.btnContinue.visible());
  EXPECT_TRUE(frmMain.btnContinue.enabled());
  EXPECT_FALSE(frmMain.btnSetup.visible());
  EXPECT_EQ(frmMain.btnEnd.caption(), kEndSetup);
  EXPECT_TRUE(frmMain.btnEnd.enabled());
  EXPECT_TRUE(frmMain.fraReadme.visible());
  EXPECT_EQ(frmMain.fraReadme.caption(), "お読みください");
  EXPECT_EQ(frmMain.txtReadme.lines(), std::vector<std::string>({"一行目", "", "三行目 表示"}));
  EXPECT_EQ(frmMain.caption(), "サンプル");
  EXPECT_EQ(globals.UnSetupTitle, "サンプル") << "the uninstall title defaults to the setup title";

  frmMain.btnContinue.click();
  EXPECT_FALSE(frmMain.fraReadme.visible());
  EXPECT_FALSE(frmMain.btnContinue.visible());
  EXPECT_TRUE(frmMain.btnSetup.visible());
  EXPECT_TRUE(frmMain.btnSetup.enabled());
}

TEST_F(ModeSelection, SetupWithoutReadmeGoesStraightToTheOptions) {
  writeSetupIni("[Readme]\nFile=MISSING.TXT\n");
  activate();
  EXPECT_FALSE(frmMain.fraReadme.visible());
  EXPECT_TRUE(frmMain.btnSetup.visible());
  EXPECT_TRUE(frmMain.btnSetup.enabled());
  EXPECT_EQ(frmMain.btnEnd.caption(), kEndSetup);
  EXPECT_EQ(frmMain.caption(), "Orvane! Setup 98");
  EXPECT_EQ(frmBack.lblBackTitle1.caption(), "Orvane! Setup 98");
}

TEST_F(ModeSelection, AReadmeTooLargeToShowIsSkipped) {
  writeSetupIni("[Readme]\nFile=HUGE.TXT\n");
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\HUGE.TXT", std::string(5 << 20, 'x')));
  activate();
  EXPECT_FALSE(frmMain.fraReadme.visible());
  EXPECT_TRUE(frmMain.btnSetup.enabled());
}

TEST_F(ModeSelection, ReadmeIsAlwaysTakenRelativeToTheProgramFolder) {
  sim.mapDrive('A', root.path() / "floppy");
  sim.setProgramFilePath("A:\\SETUP.EXE");
  ASSERT_TRUE(sim.createFolder("A:\\DOC"));
  writeText("A:\\README.TXT", "top\n");
  writeText("A:\\DOC\\README.TXT", "doc\n");
  writeText("C:\\README.TXT", "elsewhere\n");
  const struct {
    const char* value;
    std::vector<std::string> lines;  // empty: no readme stage
  } cases[] = {
      {"README.TXT", {"top"}},
      {"\\DOC\\README.TXT", {"doc"}},
      {"C:\\README.TXT", {}},
  };
  for (const auto& row : cases) {
    writeText("A:\\SETUP.INI", std::string("[Readme]\nFile=") + row.value + "\n");
    Globals g;
    RunState r;
    TfrmBack back(sim);
    TfrmMain main(sim, g, r, back);
    main.deliverActivate();
    EXPECT_EQ(main.fraReadme.visible(), !row.lines.empty()) << row.value;
    EXPECT_EQ(main.txtReadme.lines(), row.lines) << row.value;
  }
}

TEST_F(ModeSelection, AFailedCopyNeverUsesAStaleCopy) {
  ASSERT_TRUE(
      sim.writeFile("C:\\WINDOWS\\TEMP\\UNSETUP.INI", "[SetupFolder]\r\nFolder=C:\\OLD\\\r\n"));
  writeText("C:\\SETUP\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\NEW\\\n");
  sim.injectFault(SimPlatform::Operation::kCopyFile, "C:\\SETUP\\UNSETUP.INI",
                  kErrorSharingViolation);
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\SETUP\\UNSETUP.INI");
  activate();
  EXPECT_FALSE(frmMain.btnUnSetup.visible());
  EXPECT_FALSE(frmMain.btnSetup.enabled());
  EXPECT_EQ(frmMain.lblMessage.caption(), std::string(kInfoFileMissing) + "\r");
  EXPECT_NE(frmMain.txtFolder.caption(), "C:\\OLD\\");
}

TEST_F(ModeSelection, ARecordInTheTemporaryFolderItselfIsNeverDeleted) {
  // The setup folder is the temporary folder: the copy onto itself fails, and neither the start
  // nor a confirmed Exit may delete the only record.
  writeText("C:\\WINDOWS\\TEMP\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\WINDOWS\\TEMP\\\n");
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\WINDOWS\\TEMP\\UNSETUP.INI");
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_TRUE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI"));
}

TEST_F(ModeSelection, AStaleReadOnlyCopyNeverBlocksAStartAndNoCopyIsReadOnly) {
  ASSERT_TRUE(
      sim.writeFile("C:\\WINDOWS\\TEMP\\UNSETUP.INI", "[SetupFolder]\r\nFolder=C:\\OLD\\\r\n"));
  ASSERT_TRUE(sim.setFileAttributes("C:\\WINDOWS\\TEMP\\UNSETUP.INI", attr::kReadOnly));
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  writeText("C:\\Tool\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\Tool\\\n");
  ASSERT_TRUE(sim.setFileAttributes("C:\\Tool\\UNSETUP.INI", attr::kReadOnly));
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\Tool\\UNSETUP.INI");
  activate();
  EXPECT_EQ(frmMain.txtFolder.caption(), "C:\\Tool\\");
  EXPECT_EQ(sim.fileAttributes("C:\\WINDOWS\\TEMP\\UNSETUP.INI"), attr::kNormal);
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI")) << "Exit deletes the copy";
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\UNSETUP.INI"));
}

TEST_F(ModeSelection, NoCopyIsMadeOrDeletedThroughALinkedTemporaryFolder) {
  // The user's programs may make their temporary folder a junction to another product's folder.
  ASSERT_TRUE(sim.createFolder("C:\\Other"));
  writeText("C:\\Other\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\Other\\\n");
  ASSERT_TRUE(sim.makeFolderLink("C:\\WINDOWS\\TEMP\\LINK", "C:\\Other"));
  sim.setTempFolder("C:\\WINDOWS\\TEMP\\LINK\\");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  writeText("C:\\Tool\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\Tool\\\n");
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\Tool\\UNSETUP.INI");
  activate();
  EXPECT_EQ(frmMain.lblMessage.caption(), std::string(kInfoFileMissing) + "\r");
  EXPECT_EQ(sim.readFile("C:\\Other\\UNSETUP.INI", 1 << 20),
            sim.toShiftJis("[SetupFolder]\r\nFolder=C:\\Other\\\r\n"));
}

TEST_F(ModeSelection, NoTemporaryFolderFallsBackToTheProgramFolder) {
  sim.setTempFolder("");
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  writeText("C:\\Tool\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\Tool\\\n");
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\Tool\\UNSETUP.INI");
  activate();
  EXPECT_EQ(globals.TempFolder, "C:\\SETUP\\");
  EXPECT_EQ(globals.InfoFilePath, "C:\\SETUP\\UNSETUP.INI");
  EXPECT_TRUE(frmMain.btnUnSetup.enabled());
}

TEST_F(ModeSelection, RunsOnceWhateverTheActivations) {
  writeSetupIni("[Readme]\nFile=README.TXT\n");
  writeText("C:\\SETUP\\README.TXT", "text\n");
  activate();
  frmMain.btnContinue.click();
  activate();
  EXPECT_FALSE(frmMain.fraReadme.visible()) << "a second activation selects nothing again";
  EXPECT_TRUE(frmMain.btnSetup.visible());
}

}  // namespace
}  // namespace orv::test

namespace orv::test {
namespace {

// The end-to-end driver finds controls by their window ids, which follow creation order.
TEST_F(ModeSelection, DriverControlListsFollowTheForms) {
  ASSERT_EQ(frmMain.controls().size(), e2e::kMainControls.size());
  for (std::size_t i = 0; i < e2e::kMainControls.size(); ++i) {
    EXPECT_EQ(frmMain.controls()[i]->name(), e2e::kMainControls[i]);
  }
  ASSERT_EQ(frmBack.controls().size(), e2e::kBackControls.size());
  for (std::size_t i = 0; i < e2e::kBackControls.size(); ++i) {
    EXPECT_EQ(frmBack.controls()[i]->name(), e2e::kBackControls[i]);
  }
}

}  // namespace
}  // namespace orv::test
