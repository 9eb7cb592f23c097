// The options stage: the proposed folder, the options the script allows, the message, and the
// folder chooser.
#include "app/ShellFixture.h"

namespace orv::test {
namespace {

using namespace main_text;

using OptionsStage = ShellTest;

TEST_F(OptionsStage, ProposedFolderResolvesOnlyALeadingMacro) {
  const struct {
    const char* windows;
    const char* line;  // the [DefaultFolder] line, or empty for none
    const char* expected;
  } cases[] = {
      {"C:\\WINDOWS", "", "C:\\Program Files\\"},
      {"C:\\WINDOWS", "Folder=(Prg)\\Tool", "C:\\Program Files\\Tool\\"},
      {"C:\\WINDOWS", "Folder=(Boo)\\Tool", "C:\\Tool\\"},
      {"C:\\WINDOWS", "Folder=(Win)\\Tool", "C:\\WINDOWS\\Tool\\"},
      {"C:\\WINDOWS", "Folder=(Sys)", "C:\\WINDOWS\\SYSTEM\\"},
      {"C:\\WINDOWS", "Folder=D:\\Tool", "D:\\Tool\\"},
      {"C:\\WINDOWS", "Folder=(App)\\Tool", "(App)\\Tool\\"},
      {"C:\\WINDOWS", "Folder=C:\\", "C:\\"},
      {"C:\\WINDOWS", "Folder=(Prg)MYAPP", "C:\\Program FilesMYAPP\\"},
      {"C:\\WINDOWS", "Folder=", "\\"},
      {"C:\\WINDOWS", "Folder=(prg)\\Tool", "(prg)\\Tool\\"},
      {"C:\\WINDOWS", "Folder=X(Prg)\\Tool", "X(Prg)\\Tool\\"},
      {"D:\\OS\\WINDOWS", "Folder=(Prg)\\Tool", "D:\\OS\\Program Files\\Tool\\"},
      {"D:\\OS\\WINDOWS", "Folder=(Boo)\\Tool", "D:\\OS\\Tool\\"},
  };
  writeSetupIni("");
  activate();
  for (const auto& row : cases) {
    sim.setWindowsFolder(row.windows);
    writeSetupIni(std::string("[DefaultFolder]\n") + row.line + "\n");
    frmMain.btnContinueClick();
    EXPECT_EQ(frmMain.txtFolder.caption(), row.expected) << row.windows << " " << row.line;
  }
}

TEST_F(OptionsStage, ShortcutOptionsFollowTheTokensOfTheNames) {
  writeSetupIni("[ShortCut]\nName1=(Dsk)(Sta)\\Tool\nName3=(Sup)\\Tool\nName21=(Sen)\\Tool\n");
  activate();
  EXPECT_TRUE(frmMain.chkSCutDesktop.enabled());
  EXPECT_TRUE(frmMain.chkSCutStartMenu.enabled());
  EXPECT_TRUE(frmMain.chkSCutStartUp.enabled()) << "a gap at Name2 is skipped";
  EXPECT_FALSE(frmMain.chkSCutSendTo.enabled()) << "Name21 is never read";
  EXPECT_TRUE(frmMain.txtFolder.enabled());
  EXPECT_TRUE(frmMain.btnRefer.enabled());
  EXPECT_TRUE(frmMain.chkOverWrite.enabled());
  for (const Control* box :
       {&frmMain.chkOverWrite, &frmMain.chkSCutDesktop, &frmMain.chkSCutStartMenu,
        &frmMain.chkSCutStartUp, &frmMain.chkSCutSendTo}) {
    EXPECT_TRUE(box->checked()) << box->name();
  }
}

TEST_F(OptionsStage, OnlyExactlyFalseDisablesTheOptions) {
  for (const char* value : {"false", "FALSE", "0", "No", ""}) {
    writeSetupIni(std::string("[Extend]\nEnabled=") + value + "\n[ShortCut]\nName1=(Dsk)\n");
    Globals g;
    RunState r;
    TfrmBack back(sim);
    TfrmMain main(sim, g, r, back);
    main.deliverActivate();
    EXPECT_TRUE(main.txtFolder.enabled()) << value;
    EXPECT_TRUE(main.chkSCutDesktop.enabled()) << value;
  }
  writeSetupIni("[Extend]\nEnabled=False\n[ShortCut]\nName1=(Dsk)(Sta)(Sup)(Sen)\n");
  activate();
  for (const Control* control :
       {&frmMain.txtFolder, &frmMain.btnRefer, &frmMain.chkOverWrite, &frmMain.chkSCutDesktop,
        &frmMain.chkSCutStartMenu, &frmMain.chkSCutStartUp, &frmMain.chkSCutSendTo}) {
    EXPECT_FALSE(control->enabled()) << control->name();
  }
  EXPECT_TRUE(frmMain.chkSCutDesktop.checked());
  EXPECT_TRUE(frmMain.btnSetup.enabled());
}

TEST_F(OptionsStage, MessageCases) {
  writeSetupIni("");
  activate();
  EXPECT_EQ(frmMain.lblMessage.caption(), std::string(kCloseProgramsFirst) + kSetupMessage);
  EXPECT_EQ(globals.MessageText, frmMain.lblMessage.caption());

  writeSetupIni("[TopMessage]\nMessage1=ようこそ\nMessage3=三行目\n");
  frmMain.btnContinueClick();
  EXPECT_EQ(frmMain.lblMessage.caption(),
            std::string(kCloseProgramsFirst) + "ようこそ\r\r三行目\r\r\r");
}

TEST_F(OptionsStage, AFailedFolderQueryIsListedAndNoRunCanStart) {
  writeSetupIni("");
  sim.setWindowsFolder("");
  sim.setSystemFolder("");
  activate();
  EXPECT_EQ(frmMain.lblMessage.caption(), std::string(kCloseProgramsFirst) + kWindowsFolderFailed +
                                              "\r" + kSystemFolderFailed + "\r");
  EXPECT_EQ(globals.ProgramFilesFolder, "\\Program Files");
  EXPECT_EQ(frmMain.btnEnd.caption(), kEnd);
  EXPECT_TRUE(frmMain.btnEnd.enabled());
  EXPECT_TRUE(frmMain.btnSetup.visible());
  EXPECT_FALSE(frmMain.btnSetup.enabled());
}

TEST_F(OptionsStage, UninstallModeErrorsShowOnlyTheErrors) {
  ASSERT_TRUE(sim.createFolder("C:\\Tool"));
  writeText("C:\\Tool\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\Tool\\\n");
  sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\Tool\\UNSETUP.INI");
  sim.setSystemFolder("");
  activate();
  EXPECT_EQ(frmMain.lblMessage.caption(), std::string(kSystemFolderFailed) + "\r");
  EXPECT_FALSE(frmMain.btnUnSetup.enabled());
}

TEST_F(OptionsStage, NoRunCanStartWhileTheStageIsPrepared) {
  writeSetupIni("");
  bool looked = false;
  sim.whileWorking([this, &looked] {
    looked = true;
    EXPECT_FALSE(frmMain.btnSetup.enabled()) << "no folder is proposed yet";
    return true;
  });
  activate();
  EXPECT_TRUE(looked);
  EXPECT_TRUE(frmMain.btnSetup.enabled());
}

TEST_F(OptionsStage, OptionsStageEmptiesTheRunTables) {
  runState.FolderList = {"old"};
  runState.FileList = {{"old", ""}};
  writeSetupIni("");
  activate();
  EXPECT_TRUE(runState.FolderList.empty());
  EXPECT_TRUE(runState.FileList.empty());
}

TEST_F(OptionsStage, TheFolderChooserSetsTheFolderWithASeparator) {
  writeSetupIni("");
  activate();
  sim.userChoosesFolder("C:\\Tool");
  frmMain.btnReferClick();
  EXPECT_EQ(frmMain.txtFolder.caption(), "C:\\Tool\\");
  sim.userChoosesFolder("C:\\");
  frmMain.btnReferClick();
  EXPECT_EQ(frmMain.txtFolder.caption(), "C:\\");
  sim.userChoosesFolder(std::nullopt);
  frmMain.btnReferClick();
  EXPECT_EQ(frmMain.txtFolder.caption(), "C:\\") << "cancel changes nothing";
  EXPECT_EQ(frmMain.dlgFolder.Folder, "C:\\");
}

TEST(FolderDialog, OptionsMapOntoBrowserFlags) {
  test::SimTestRoot root;
  SimPlatform sim(root.path());
  Form owner(sim, "owner", {});
  TFolderDialog dialog(owner);
  EXPECT_EQ(dialog.BrowserFlags(), 0x0001u) << "file-system folders only by default";
  dialog.include(TFolderDlgOption::bifStatusText);
  dialog.include(TFolderDlgOption::bifBrowseForComputer);
  EXPECT_EQ(dialog.BrowserFlags(), 0x1005u);
  EXPECT_TRUE(dialog.includes(TFolderDlgOption::bifReturnOnlyFSDirs));
  EXPECT_FALSE(dialog.includes(TFolderDlgOption::bifBrowseForPrinter));
}

}  // namespace
}  // namespace orv::test
