// Loading the script: numbered keys, capacities and the rules for which entries exist.
#include "setup/SetupScript.h"

#include "app/ShellFixture.h"
#include "common/IniFile.h"
#include "setup/RunState.h"

namespace orv::test {
namespace {

class SetupScript : public ShellTest {
 protected:
  SetupScript() {
    globals.ProgramFolder = "C:\\SETUP\\";
    globals.InfoFilePath = "C:\\SETUP\\SETUP.INI";
  }
  void disk(const std::string& name, std::size_t size = 10) {
    ASSERT_TRUE(sim.writeFile("C:\\SETUP\\" + name, std::string(size, 'x')));
  }
  void load() { LoadScript(sim, globals, IniReader(sim, globals.InfoFilePath), runState); }
};

TEST_F(SetupScript, NumberedKeysSkipGapsAndStopAtTheMaximum) {
  std::string ini = "[MakeFolder]\nFolder7=(App)\\SEVEN\nFolder9=\nFolder21=(App)\\NEVER\n";
  writeSetupIni(ini);
  load();
  EXPECT_EQ(runState.FolderList, std::vector<std::string>({"(App)\\SEVEN"}));
}

TEST_F(SetupScript, TwentyFoldersAtMost) {
  std::string ini = "[MakeFolder]\n";
  for (int n = 1; n <= 25; ++n)
    ini += "Folder" + std::to_string(n) + "=F" + std::to_string(n) + "\n";
  writeSetupIni(ini);
  load();
  ASSERT_EQ(runState.FolderList.size(), 20u);
  EXPECT_EQ(runState.FolderList.back(), "F20");
}

TEST_F(SetupScript, FilesNeedTheirSourceInTheProgramFolder) {
  disk("PROG.EXE", 100);
  disk("HELP.HL_", 30);
  disk("DATA2.DAT", 7);
  disk("WIN.INI", 5);
  writeSetupIni(
      "[CopyFile]\n"
      "File1=(App)\\PROG.EXE,/Cx\n"
      "File2=(App)\\MISSING.EXE\n"
      "File3=(Sys)\\HELP.HL_,/c\n"
      "File4=(Dch)(App)\\DATA2.DAT\n"
      "File5=(Win)WIN.INI\n"
      "File6=(Win)\\WIN.INI,\n"
      "File7=(App)\\DATA2.DAT,/消す\n");
  load();
  ASSERT_EQ(runState.FileList.size(), 5u);
  EXPECT_EQ(runState.FileList[0].Value, "(App)\\PROG.EXE");
  EXPECT_EQ(runState.FileList[0].Flag, ",/C");
  EXPECT_EQ(runState.FileList[1].Value, "(Sys)\\HELP.HL_");
  EXPECT_EQ(runState.FileList[1].Flag, ",/c") << "kept as written";
  EXPECT_EQ(runState.FileList[2].Value, "(Dch)(App)\\DATA2.DAT");
  EXPECT_EQ(runState.FileList[2].Flag, "");
  EXPECT_EQ(runState.FileList[3].Value, "(Win)\\WIN.INI");
  EXPECT_EQ(runState.FileList[3].Flag, ",");
  EXPECT_EQ(runState.FileList[4].Flag, ",/消") << "three characters, never a part of one";
  EXPECT_EQ(runState.TotalBytes, 100u + 30 + 7 + 5 + 7) << "missing sources count nothing";
  EXPECT_TRUE(runState.SizesKnown);
  EXPECT_TRUE(runState.Failures.FailureText.empty());
}

TEST_F(SetupScript, File100IsNeverRead) {
  disk("A.TXT");
  std::string ini = "[CopyFile]\n";
  for (int n = 1; n <= 100; ++n)
    ini += "File" + std::to_string(n) + "=(App)\\A.TXT\n";
  writeSetupIni(ini);
  load();
  EXPECT_EQ(runState.FileList.size(), 99u);
}

TEST_F(SetupScript, ShortcutsFollowTheirGoverningOption) {
  writeSetupIni(
      "[ShortCut]\n"
      "Make1=(App)\\A.EXE\nName1=(Dsk)A\n"
      "Make2=(App)\\B.EXE\nName2=(Sta)(Dsk)B\n"
      "Make3=(App)\\C.EXE\nName3=(Sta)\\Group,C\n"
      "Make4=(App)\\D.EXE\n"
      "Make5=\nName5=(Sen)E\n");
  runState.Options.Desktop = false;
  load();
  ASSERT_EQ(runState.ShortcutList.size(), 2u);
  EXPECT_EQ(runState.ShortcutList[0].Make, "(App)\\C.EXE");
  EXPECT_EQ(runState.ShortcutList[1].Name, "Default") << "a Make without a Name";
}

TEST_F(SetupScript, RegistryAssociationAndRemovalEntries) {
  writeSetupIni(
      "[Registry]\n"
      "Key1=(Local)SOFTWARE\\A\nName1=Path\nValue1=(Str)(App)\n"
      "Key3=(Local)SOFTWARE\\B\nValue3=(Str)x\n"
      "Key4=(Cuser)Software\\C\nName4=Empty\n"
      "[Relate]\nName1=.abc,ABC file\nFile1=(App)\\ABC.EXE\nName2=.def\n"
      "[DeleteRegistry]\nKey2=(Local)SOFTWARE\\A\nKey5=(Cuser)Software\\C\n");
  load();
  ASSERT_EQ(runState.RegistryList.size(), 2u);
  EXPECT_EQ(runState.RegistryList[0].Value, "(Str)(App)");
  EXPECT_EQ(runState.RegistryList[1].Name, "Empty");
  EXPECT_EQ(runState.RegistryList[1].Value, "") << "a missing value is kept empty";
  ASSERT_EQ(runState.RelateList.size(), 1u);
  EXPECT_EQ(runState.RelateList[0].File, "(App)\\ABC.EXE");
  EXPECT_EQ(runState.ScriptDeleteRegistryList,
            std::vector<std::string>({"(Local)SOFTWARE\\A", "(Cuser)Software\\C"}));
}

TEST_F(SetupScript, LongValuesAreCut) {
  writeSetupIni("[MakeFolder]\nFolder1=" + std::string(300, 'x') + "\n");
  load();
  EXPECT_EQ(runState.FolderList.at(0), std::string(254, 'x'));
}

}  // namespace
}  // namespace orv::test
