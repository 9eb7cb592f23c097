// Whole program starts on the simulated Windows: how the main window and the program end.
#include "app/SETUP.h"
#include "app/ShellFixture.h"
#include "common/ErrorBox.h"

namespace orv::test {
namespace {

using namespace main_text;

class RunControl : public ShellTest {
 protected:
  // Uninstall mode with C:\Tool\UNSETUP.INI, copied into the temporary folder when it starts.
  void startUninstallMode() {
    ASSERT_TRUE(sim.createFolder("C:\\Tool"));
    writeText("C:\\Tool\\UNSETUP.INI", "[SetupFolder]\nFolder=C:\\Tool\\\n");
    sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE C:\\Tool\\UNSETUP.INI");
  }
};

TEST_F(RunControl, ExitAsksAndNoKeepsTheWindow) {
  writeSetupIni("");
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdNo);
  sim.userDoes([this] {
    EXPECT_EQ(frmMain.modalResult(), kModalNone) << "No leaves the window as it was";
    EXPECT_TRUE(frmMain.btnSetup.enabled());
    EXPECT_TRUE(sim.closedForms().empty());
  });
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({kCloseCaption, kCloseCaption}));
  EXPECT_EQ(sim.shownMessages()[0].text, kCloseQuestion);
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbYesNo | kMbIconQuestion);
  EXPECT_TRUE(frmBack.runFinished());
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
  EXPECT_TRUE(sim.fileExists("C:\\SETUP\\SETUP.INI")) << "SETUP.INI is never deleted";
}

TEST_F(RunControl, ExitFromTheReadmeStageAndAfterErrorsAlsoAsks) {
  writeSetupIni("[Readme]\nFile=README.TXT\n");
  writeText("C:\\SETUP\\README.TXT", "read me\n");
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({kCloseCaption}));
}

TEST_F(RunControl, ConfirmedCloseDeletesOnlyTheTemporaryUninstallCopy) {
  startUninstallMode();
  sim.userDoes([this] { EXPECT_TRUE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI")); });
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI"));
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\UNSETUP.INI"));
}

TEST_F(RunControl, TaskBarCloseAsksLikeExit) {
  writeSetupIni("[Readme]\nFile=README.TXT\n");
  writeText("C:\\SETUP\\README.TXT", "read me\n");
  sim.userDoes([this] { sim.closeApplication(); });  // the readme stage
  sim.userAnswers(kIdNo);
  sim.userClicks(frmMain.btnContinue);
  sim.userDoes([this] { sim.closeApplication(); });  // the options stage
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({kCloseCaption, kCloseCaption}));
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

// A quit message, or the end of the Windows session, outside a run: the window closes with no
// question, and an uninstall's temporary record goes at once (the process may end right after).
TEST_F(RunControl, AQuitMessageClosesAndRemovesTheTemporaryUninstallCopy) {
  startUninstallMode();
  sim.userDoes([this] { sim.postQuit(); });
  run();
  EXPECT_TRUE(sim.shownMessages().empty());
  EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI"));
  EXPECT_TRUE(sim.fileExists("C:\\Tool\\UNSETUP.INI"));
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(RunControl, TheEndOfTheSessionRemovesTheTemporaryCopyAtOnce) {
  startUninstallMode();
  sim.userDoes([this] {
    sim.endSession();
    EXPECT_FALSE(sim.fileExists("C:\\WINDOWS\\TEMP\\UNSETUP.INI"));
  });
  run();
  EXPECT_TRUE(sim.shownMessages().empty());
}

TEST_F(RunControl, AbortQuestionBothWays) {
  writeSetupIni("");
  activate();
  const std::string shown = frmMain.lblMessage.caption();
  sim.userAnswers(kIdNo);
  frmMain.btnAbortClick();
  EXPECT_FALSE(globals.AbortRequested);
  EXPECT_EQ(globals.MessageAnswer, kIdNo);
  EXPECT_EQ(frmMain.modalResult(), kModalNone);
  EXPECT_FALSE(frmBack.runFinished());
  EXPECT_EQ(frmMain.lblMessage.caption(), shown) << "the label keeps its text";
  EXPECT_EQ(globals.MessageText, kAbortQuestion);

  sim.userAnswers(kIdYes);
  frmMain.btnAbortClick();
  EXPECT_TRUE(globals.AbortRequested);
  EXPECT_TRUE(frmBack.runFinished());
  EXPECT_EQ(frmMain.modalResult(), kModalOk);
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({kAbortCaption, kAbortCaption}));
}

TEST_F(RunControl, AfterAConfirmedAbortTheWindowClosesWithoutAQuestion) {
  writeSetupIni("");
  sim.userDoes([this] {
    // A run's handler shows Abort; the user presses it while the run works.
    frmMain.btnAbort.setVisible(true);
    sim.userAnswers(kIdYes);
    frmMain.deliverClick(frmMain.btnAbort);
  });
  run();
  EXPECT_EQ(shownCaptions(), std::vector<std::string>({kAbortCaption}));
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(RunControl, AClickDeliveredToADisabledOrHiddenButtonIsNone) {
  int clicks = 0;
  frmMain.btnRefer.onClick = [&clicks] { ++clicks; };
  frmMain.btnRefer.setEnabled(false);
  frmMain.deliverClick(frmMain.btnRefer);
  frmMain.btnRefer.setEnabled(true);
  frmMain.grpSetupFolder.setVisible(false);
  frmMain.deliverClick(frmMain.btnRefer);
  EXPECT_EQ(clicks, 0);
  frmMain.grpSetupFolder.setVisible(true);
  frmMain.deliverClick(frmMain.btnRefer);
  EXPECT_EQ(clicks, 1);
}

TEST_F(RunControl, CloseErrorLogHidesItsButton) {
  frmMain.btnCloseErrorLog.setVisible(true);
  frmMain.btnCloseErrorLog.click();
  EXPECT_FALSE(frmMain.btnCloseErrorLog.visible());
}

TEST_F(RunControl, ARaisedErrorIsShownAndTheProgramGoesOn) {
  writeSetupIni("");
  frmMain.btnRefer.onClick = [this] { frmMain.showError("ｷｰ HKLM\\X の作成に失敗しました"); };
  sim.userClicks(frmMain.btnRefer);
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
  ASSERT_EQ(sim.shownMessages().size(), 2u);
  EXPECT_EQ(sim.shownMessages()[0].text, "ｷｰ HKLM\\X の作成に失敗しました.");
  EXPECT_EQ(sim.shownMessages()[0].caption, "Orvane! Setup 98");
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOk | kMbIconStop);
}

TEST(ErrorBox, APeriodIsAddedOnlyWithoutPunctuation) {
  EXPECT_EQ(ErrorBoxText("I/O ｴﾗｰ (5)"), "I/O ｴﾗｰ (5).");
  EXPECT_EQ(ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(ErrorBoxText("終わり。"), "終わり。");
  EXPECT_EQ(ErrorBoxText("見つかりません．"), "見つかりません．");
  EXPECT_EQ(ErrorBoxText("really?"), "really?");
  EXPECT_EQ(ErrorBoxText(""), "");
}

class ProgramStart : public ::testing::Test {
 protected:
  ProgramStart() : sim(root.path()) {
    EXPECT_TRUE(sim.createFolderPath("C:\\SETUP"));
    EXPECT_TRUE(sim.createFolderPath("C:\\WINDOWS\\TEMP"));
  }
  SimTestRoot root;
  SimPlatform sim;
};

TEST_F(ProgramStart, ASecondStartEndsAtOnceWithoutAWindow) {
  const auto firstCopy = sim.claimNamedMutex("ORVSETUP");
  EXPECT_EQ(RunProgram(sim), 0);
  EXPECT_TRUE(sim.shownMessages().empty());
  EXPECT_TRUE(sim.closedForms().empty());
}

TEST_F(ProgramStart, AStartAfterTheFirstEndedRunsNormally) {
  sim.claimNamedMutex("ORVSETUP").reset();
  sim.userDoes(
      [this] { EXPECT_EQ(sim.claimNamedMutex("ORVSETUP"), nullptr) << "held while running"; });
  sim.userDoes([] { throw SimScriptError{"end"}; });
  try {
    RunProgram(sim);
    FAIL() << "the script ends the program";
  } catch (const SimScriptError& error) {
    EXPECT_EQ(error.message, "end");
  }
  EXPECT_NE(sim.claimNamedMutex("ORVSETUP"), nullptr) << "released at the end";
}

TEST_F(RunControl, BackgroundLayoutFollowsEverySizeAndScale) {
  sim.setScreenSize({1024, 768});
  writeSetupIni("[Title]\nSetup=とても長いタイトル\n");
  sim.userDoes([this] {
    const Rect window = frmBack.bounds();
    EXPECT_EQ(frmBack.lblBackTitle1.bounds(), (Rect{16, 16, window.width - 24, 32}));
    EXPECT_EQ(frmBack.lblBackTitle2.bounds(), (Rect{18, 18, window.width - 24, 32}));
    const Rect banner = frmBack.lblPrgTitle1.bounds();
    EXPECT_EQ(banner.left + banner.width, window.width - 24);
    EXPECT_EQ(banner.top + banner.height, window.height - 48);
    const Rect shadow = frmBack.lblPrgTitle2.bounds();
    EXPECT_EQ(shadow.left, banner.left + 2);
    EXPECT_EQ(shadow.top, banner.top + 2);
    EXPECT_EQ(shadow.width + 8, banner.width) << "only the white label gets the overhang";
    EXPECT_TRUE(frmBack.lblPrgTitle1.visible());
    EXPECT_EQ(frmBack.lblPrgTitle1.caption(), back_text::kBanner);
    EXPECT_EQ(frmBack.lblBackTitle1.caption(), "とても長いタイトル");
    // A later resize, or the same screen at a scale of 150 % (1548 pixels are 1032 design
    // units), keeps the labels at the edges; the main window is not shown again.
    for (const Rect later : {Rect{0, 0, 640, 480}, Rect{0, 0, 1032, 752}}) {
      frmBack.viewMoved(later);
      frmBack.deliverResize();
      const Rect moved = frmBack.lblPrgTitle1.bounds();
      EXPECT_EQ(moved.left + moved.width, later.width - 24);
      EXPECT_EQ(moved.top + moved.height, later.height - 48);
      EXPECT_EQ(moved.width, banner.width);
      EXPECT_EQ(frmBack.lblPrgTitle2.bounds().left, moved.left + 2);
      EXPECT_EQ(frmBack.lblBackTitle1.bounds().width, later.width - 24);
    }
  });
  sim.userClicks(frmMain.btnEnd);
  sim.userAnswers(kIdYes);
  run();
}

TEST(BackgroundWindow, AResizeWhileTheWindowsAreMadeShowsNothing) {
  SimTestRoot root;
  SimPlatform sim(root.path());
  TfrmBack back(sim);
  back.viewMoved({0, 0, 800, 600});
  back.deliverResize();
  EXPECT_FALSE(back.lblPrgTitle1.visible());
  EXPECT_TRUE(sim.closedForms().empty());
  EXPECT_FALSE(back.runFinished());
}

}  // namespace
}  // namespace orv::test
