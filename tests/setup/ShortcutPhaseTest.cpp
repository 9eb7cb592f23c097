// The shortcut phase on the simulated Windows: where each [ShortCut] entry goes, what is recorded
// and reported, and how the run ends on an error.
#include "setup/ShortcutPhase.h"

#include "app/ShellFixture.h"
#include "common/Globals.h"
#include "setup/PathMacros.h"
#include "setup/SetupRun.h"

namespace orv::test {
namespace {

TEST(PlaceShortcut, NamesGiveTheFolderTheLinkAndTheWorkingFolder) {
  Globals g;
  g.WindowsFolder = "C:\\WINDOWS";
  const MacroFolders folders = MacroFolders::Of(g, "C:\\Tool\\");
  const struct {
    const char* name;
    int folder;
    const char* link;
    const char* working;
  } cases[] = {
      {"(Dsk)My Program,(App)", csidl::kDesktop, "My Program", "C:\\Tool\\"},
      {"Default", csidl::kPrograms, "PROG.EXE", ""},
      {"MyApp\\Readme", csidl::kPrograms, "MyApp\\Readme", ""},
      {"Tools (Sen) copy", csidl::kPrograms, "Tools (Sen) copy", ""},
      {"(Xyz)Tool", csidl::kPrograms, "Tool", ""},
      {"(Sup)Run,(Win)\\LOG", csidl::kStartup, "Run", "C:\\WINDOWS\\LOG"},
      {"(Sen)\\Send,", csidl::kSendTo, "\\Send", ""},
      {"ab(d)x", csidl::kPrograms, "x", ""},            // ")" fifth: a token, though unknown
      {"ソフト表)名前", csidl::kPrograms, "名前", ""},  // counted in characters, not bytes
      {"ソフト表名前", csidl::kPrograms, "ソフト表名前", ""},
      {"(Dsk", csidl::kPrograms, "", ""},  // "(" first: the whole short name is the token
  };
  for (const auto& row : cases) {
    const ShortcutPlace place = PlaceShortcut(row.name, "C:\\Tool\\PROG.EXE", folders);
    EXPECT_EQ(place.FolderId, row.folder) << row.name;
    EXPECT_EQ(place.LinkName, row.link) << row.name;
    EXPECT_EQ(place.WorkingFolder, row.working) << row.name;
  }
  // "Default" takes the target's file name as it is, token-like start and comma included.
  for (const char* file : {"(New) Tool.exe", "Tool,v2.exe"}) {
    const ShortcutPlace place = PlaceShortcut("Default", std::string("C:\\Tool\\") + file, folders);
    EXPECT_EQ(place.FolderId, csidl::kPrograms) << file;
    EXPECT_EQ(place.LinkName, file);
    EXPECT_EQ(place.WorkingFolder, "") << file;
  }
}

class ShortcutPhaseTest : public ShellTest {
 protected:
  ShortcutPhaseTest() {
    EXPECT_TRUE(sim.createFolder("C:\\Tool"));
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\PROG.EXE", "program"));
  }
  // The user types the setup folder and presses Setup.
  void startSetup(const std::string& ini) {
    writeSetupIni("[CopyFile]\nFile1=(App)\\PROG.EXE\n" + ini);
    sim.userTypes(frmMain.txtFolder, "C:\\Tool\\");
    sim.userClicks(frmMain.btnSetup);
  }
  void runSetup(const std::string& ini) {
    startSetup(ini);
    run();
  }
  std::string in(int folder, const std::string& name) {
    return sim.specialFolder(folder).value() + "\\" + name;
  }
  SimPlatform::LinkContent link(const std::string& path) {
    return sim.readShellLink(path).value_or(SimPlatform::LinkContent{"<no link>", ""});
  }
  const std::vector<std::string>& records() const {
    return runState.Records.DeleteShortCutRecords.Entries();
  }
};

TEST_F(ShortcutPhaseTest, ShortcutsAreMadeInTheirFoldersAndRecorded) {
  sim.userDoes([this] { frmMain.chkSCutSendTo.userChangedCheck(false); });
  std::vector<std::string> texts;
  sim.whileWorking([this, &texts] {
    if (frmMain.lblMessage.caption().starts_with(shortcut_text::kCreating) &&
        (texts.empty() || texts.back() != frmMain.lblMessage.caption())) {
      texts.push_back(frmMain.lblMessage.caption());
    }
    return false;
  });
  runSetup(
      "[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)My Program,(App)\nMake2=(App)\\PROG.EXE\n"
      "Make3=(App)\\README.TXT\nName3=MyApp\\Readme\nMake4=(App)\\PROG.EXE\nName4=(Sup)Run\n"
      "Make5=(App)\\PROG.EXE\nName5=(Sen)Send\n");
  EXPECT_EQ(link(in(csidl::kDesktop, "My Program.lnk")).target, "C:\\Tool\\PROG.EXE");
  EXPECT_EQ(link(in(csidl::kDesktop, "My Program.lnk")).workingFolder, "C:\\Tool\\");
  EXPECT_EQ(link(in(csidl::kPrograms, "PROG.EXE.lnk")).target, "C:\\Tool\\PROG.EXE");
  EXPECT_EQ(link(in(csidl::kPrograms, "MyApp\\Readme.lnk")).target, "C:\\Tool\\README.TXT")
      << "a missing target is linked all the same; its group is made";
  EXPECT_EQ(link(in(csidl::kStartup, "Run.lnk")).target, "C:\\Tool\\PROG.EXE");
  EXPECT_FALSE(sim.fileExists(in(csidl::kSendTo, "Send.lnk"))) << "its box was unchecked";
  EXPECT_EQ(records(),
            std::vector<std::string>(
                {in(csidl::kDesktop, "My Program.lnk"), in(csidl::kPrograms, "PROG.EXE.lnk"),
                 in(csidl::kPrograms, "MyApp\\Readme.lnk"), in(csidl::kStartup, "Run.lnk")}));
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2], std::string(shortcut_text::kCreating) +
                          "C:\\Tool\\README.TXT\rCreating -> MyApp\\Readme");
  EXPECT_EQ(sim.elapsedMilliseconds(), 1000u + 500 + 4 * 500) << "one file, four shortcuts";
  EXPECT_EQ(runState.Failures.FailureCount, 0);
}

TEST_F(ShortcutPhaseTest, RecordsKeepOnePathAndReportWhatTheyCannotTake) {
  std::string earlier = "[DeleteShortCut]\nFile1=" + in(csidl::kDesktop, "a.LNK") + "\n";
  for (int n = 2; n <= 19; ++n)
    earlier += "File" + std::to_string(n) + "=C:\\OLD\\" + std::to_string(n) + ".lnk\n";
  writeSetupRecord("C:\\Tool\\UNSETUP.INI", earlier);
  sim.userAnswers(kIdNo);  // the failure list
  runSetup(
      "[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)A\nMake2=(App)\\PROG.EXE\nName2=(Dsk)B\n"
      "Make3=(App)\\PROG.EXE\nName3=(Dsk)C\n");
  EXPECT_EQ(records().size(), 20u);
  EXPECT_EQ(records()[0], in(csidl::kDesktop, "a.LNK")) << "the earlier form stays";
  EXPECT_EQ(records()[19], in(csidl::kDesktop, "B.lnk"));
  EXPECT_TRUE(sim.fileExists(in(csidl::kDesktop, "C.lnk"))) << "made, though not recorded";
  EXPECT_EQ(runState.Failures.FailureText, "<ShortCut> " + in(csidl::kDesktop, "C.lnk") + "\r\n");
}

TEST_F(ShortcutPhaseTest, ALinkThatCannotBeWrittenIsReportedNotRecorded) {
  ASSERT_TRUE(sim.writeFile(in(csidl::kDesktop, "A.lnk"), "someone else's"));
  ASSERT_TRUE(sim.setFileAttributes(in(csidl::kDesktop, "A.lnk"), attr::kReadOnly));
  sim.userAnswers(kIdNo);  // the failure list
  runSetup("[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)A\n");
  EXPECT_TRUE(records().empty());
  EXPECT_EQ(runState.Failures.FailureText, "<ShortCut> " + in(csidl::kDesktop, "A.lnk") + "\r\n");
}

TEST_F(ShortcutPhaseTest, AnUnknownSpecialFolderIsSkippedSilently) {
  sim.setSpecialFolder(csidl::kStartup, std::nullopt);
  runSetup("[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Sup)Run\n");
  EXPECT_TRUE(records().empty());
  EXPECT_EQ(runState.Failures.FailureCount, 0);
}

TEST_F(ShortcutPhaseTest, AGroupTwoLevelsDeepEndsTheRunWithTheErrorBox) {
  startSetup(
      "[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=A\\B\\Prog\nMake2=(App)\\PROG.EXE\nName2=(Dsk)X\n");
  sim.userDoes([this] {
    EXPECT_TRUE(frmMain.btnAbort.showing() && frmMain.btnAbort.enabled()) << "left to leave by";
  });
  sim.userClicks(frmMain.btnAbort);
  sim.userAnswers(kIdYes);
  run();
  ASSERT_FALSE(sim.shownMessages().empty());
  EXPECT_EQ(sim.shownMessages()[0].text, "I/O ｴﾗｰ (3).");
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOk | kMbIconStop);
  EXPECT_FALSE(sim.fileExists(in(csidl::kDesktop, "X.lnk"))) << "nothing after the error";
  EXPECT_EQ(sim.closedForms(), std::vector<std::string>({"frmBack"}));
}

TEST_F(ShortcutPhaseTest, ALinkWithoutANameIsNotMade) {
  runSetup(
      "[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=\nMake2=(App)\\PROG.EXE\nName2=(Dsk)\n"
      "Make3=(App)\\PROG.EXE\nName3=(Sta)Group\\\nMake4=(App)\\PROG.EXE\nName4=(Dsk) ,(App)\n");
  EXPECT_TRUE(records().empty());
  EXPECT_EQ(runState.Failures.FailureCount, 0);
  for (const int folder : {csidl::kPrograms, csidl::kDesktop}) {
    EXPECT_FALSE(sim.fileExists(in(folder, ".lnk"))) << folder;
  }
  EXPECT_FALSE(sim.folderExists(in(csidl::kPrograms, "Group")));
}

TEST_F(ShortcutPhaseTest, ANameWindowsRefusesIsReportedOrEndsTheRun) {
  sim.userAnswers(kIdNo);  // the failure list
  runSetup("[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)Q&A?\n");
  EXPECT_FALSE(sim.fileExists(in(csidl::kDesktop, "Q&A?.lnk")));
  EXPECT_TRUE(records().empty());
  EXPECT_EQ(runState.Failures.FailureText,
            "<ShortCut> " + in(csidl::kDesktop, "Q&A?.lnk") + "\r\n");
}

TEST_F(ShortcutPhaseTest, AGroupWindowsRefusesEndsTheRunWithTheErrorBox) {
  startSetup("[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Sta)Q&A?\\Tool\n");
  sim.userClicks(frmMain.btnAbort);
  sim.userAnswers(kIdYes);
  run();
  ASSERT_FALSE(sim.shownMessages().empty());
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOk | kMbIconStop);
  EXPECT_FALSE(sim.folderExists(in(csidl::kPrograms, "Q&A?")));
}

TEST_F(ShortcutPhaseTest, AbortWhileMakingShortcutsStopsAtOnce) {
  sim.whileWorking([this] {
    if (!frmMain.lblMessage.caption().starts_with(shortcut_text::kCreating)) return false;
    sim.userAnswers(kIdYes);
    frmMain.deliverClick(frmMain.btnAbort);
    return true;
  });
  runSetup("[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)A\n");
  EXPECT_FALSE(sim.fileExists(in(csidl::kDesktop, "A.lnk")));
  EXPECT_TRUE(records().empty());
}

}  // namespace
}  // namespace orv::test
