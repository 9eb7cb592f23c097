// The author's checker: one defect per script, found at its line with its severity, and a clean
// disk with nothing to say.
#include "check/ScriptCheck.h"

#include "app/ShellFixture.h"
#include "platform/SzddSamples.h"

namespace orv::test {
namespace {

constexpr const char* kDisk = "C:\\SETUP";

class ScriptCheckTest : public ::testing::Test, public SimMachine {
 protected:
  ScriptCheckTest() {
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"A.TXT", "a"},
             {"PROG.EXE", "plain"},
             {"README.TXT", "readme"},
             {"PROG.EX_", WithStoredCharacter(kProgCompressed, 'E')},
             {"NONAME.EX_", kProgCompressed},
             {"BAD.EX_", "not compressed at all"},
             {"LONG.EX_", LengthSaid(kProgPlain.size() + 1)}}) {
      EXPECT_TRUE(sim.writeFile(std::string(kDisk) + "\\" + name, bytes));
    }
  }

  // The sample with its header claiming another expanded length.
  static std::string LengthSaid(std::size_t length) {
    std::string bytes = WithStoredCharacter(kProgCompressed, 'E');
    for (int i = 0; i < 4; ++i)
      bytes[10 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return bytes;
  }

  std::vector<Finding> check(const std::string& script, std::vector<std::string> disks = {kDisk}) {
    // Every script names its folder; without, the program proposes Program Files itself.
    const bool named = script.find("[DefaultFolder]") != std::string::npos;
    writeSetupIni(script + (named ? "" : "[DefaultFolder]\nFolder=(Prg)\\Tool\n"));
    return CheckDisks(sim, disks);
  }
};

std::string Listing(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& finding : findings) {
    text += std::to_string(finding.Line) +
            (finding.Level == Severity::kError ? " error: " : " warning: ") + finding.Text + "\n";
  }
  return text;
}

TEST_F(ScriptCheckTest, CleanScriptHasNothingToSay) {
  const auto findings = check(
      "[Title]\nSetup=ツール\n[Readme]\nFile=README.TXT\n[DefaultFolder]\nFolder=(Prg)\\Tool\n"
      "[Extend]\nEnabled=False\nArchitecture=x64\n[MakeFolder]\nFolder1=(App)\nFolder2=(App)"
      "\\DATA\n"
      "Folder3=(App)\\data\\SUB\n"
      "[CopyFile]\nFile1=(App)\\A.TXT,/C\nFile2=(App)\\PROG.EX_\n"
      "[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)ツール\nMake2=(App)\\A.TXT\n"
      "Name2=(Sta)ツール\\A,(App)\\DATA\n"
      "[Registry]\nKey1=(Cuser)Software\\Tool\nName1=Path\nValue1=(Str)(App)\n"
      "Key2=(Local)Software\\Tool\nName2=N\nValue2=(Dwd)$FF\n"
      "[Relate]\nName1=tol,ツール\nFile1=(App)\\PROG.EXE\n"
      "[DeleteRegistry]\nKey1=(Cuser)Software\\Tool\nKey2=(Local)Software\\Tool\n"
      "Key3=(Class).tol\nKey4=(Class)tol_auto_file\n[ExecuteFile]\nFile=(App)\\A.TXT\n");
  EXPECT_EQ(Listing(findings), "");
}

struct Defect {
  std::string script;
  std::size_t line;
  Severity level;
  const char* text;  // a part of the finding's text
};

class DefectTest : public ScriptCheckTest, public ::testing::WithParamInterface<Defect> {};

TEST_P(DefectTest, IsFoundAtItsLine) {
  const Defect& defect = GetParam();
  const auto findings = check(defect.script);
  ASSERT_EQ(findings.size(), 1u) << Listing(findings);
  EXPECT_EQ(findings[0].Line, defect.line);
  EXPECT_EQ(findings[0].Level, defect.level);
  EXPECT_NE(findings[0].Text.find(defect.text), std::string::npos) << Listing(findings);
}

constexpr Severity kError = Severity::kError;
constexpr Severity kWarning = Severity::kWarning;

INSTANTIATE_TEST_SUITE_P(
    Scripts, DefectTest,
    ::testing::Values(
        Defect{"[MakeFolder]\nFolder1=(App)\nFolder3=(App)\\B\n", 3, kWarning, "Folder2 missing"},
        Defect{"[MakeFolder]\nFolder21=(App)\n", 2, kError, "holds Folder1 to Folder20"},
        Defect{"[Extend]\nArchitecture=X64\n", 2, kWarning, "'X64' is not known"},
        Defect{"[CopyFile]\nFile100=(App)\\A.TXT\n", 2, kError, "File1 to File99"},
        Defect{"[MakeFolder]\nFolder01=(App)\n", 2, kError, "without leading zeros"},
        Defect{"[MakeFolder]\nFolder1=(App)\nFolder2=\n", 3, kWarning, "is empty"},
        Defect{"[MakeFolder]\nFolder1=(App)\\A\\B\n", 2, kWarning, "'(App)\\A\\'"},
        Defect{"[CopyFile]\nFile1=(App)\\GONE.TXT\n", 2, kError, "dropped without a message"},
        Defect{"[CopyFile]\nFile1=(Win)A.TXT\n", 2, kError, "'(Win)A.TXT' is not on the first"},
        Defect{"[CopyFile]\nFile1=(App)\\A.TXT,/c\n", 2, kWarning, "upper case, ',/C'"},
        Defect{"[CopyFile]\nFile1=(App)\\A.TXT,/X\n", 2, kWarning, "',/X'"},
        Defect{"[CopyFile]\nFile1=(prg)\\A.TXT\n", 2, kError, "is not '(Prg)'"},
        Defect{"[CopyFile]\nFile1=(Xyz)\\A.TXT\n", 2, kWarning, "unknown token '(Xyz)'"},
        Defect{"[CopyFile]\nFile1=(App)\\(Dsk)\\A.TXT\n", 2, kWarning, "means nothing here"},
        Defect{"[CopyFile]\nFile1=(App)\\BAD.EX_\n", 2, kError, "not a compressed file"},
        Defect{"[CopyFile]\nFile1=(App)\\NONAME.EX_\n", 2, kWarning, "installed as 'NONAME.EX_'"},
        Defect{"[CopyFile]\nFile1=(App)\\LONG.EX_\n", 2, kError, "but its header says"},
        Defect{"[CopyFile]\nFile1=(App)\\PROG.EX_\nFile2=(App)\\PROG.EXE\n", 3, kWarning,
               "same file as line 2"},
        Defect{"[CopyFile]\nFile1=(Dch)(App)\\A.TXT\n", 2, kWarning, "disk 2 was not given"},
        Defect{"[Readme]\nFile=GONE.TXT\n", 2, kError, "no readme is shown"},
        Defect{"[Extend]\nEnabled=false\n", 2, kWarning, "only 'False'"},
        Defect{"[Title]\nUnSetupKey=A\\B\n", 2, kError, "holds '\\'"},
        Defect{"[Title]\nUnSetupKey=\\\n", 2, kError, "after the uninstall title"},
        Defect{"[Title]\nUnSetupKey=" + std::string(210, 'k') + "\n", 2, kError, "too long"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=Tool\n", 3, kWarning, "no folder token"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=Tool)x\n", 3, kWarning,
               "'Tool)', are taken for a folder token"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=\n", 3, kWarning, "no name of its own"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=(Dsk)\n", 3, kWarning, "no name of its own"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=(Sta)Group\\\n", 3, kWarning,
               "no name of its own"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=(Dsk)A (Sen)\n", 3, kWarning,
               "its option box decides"},
        Defect{"[ShortCut]\nName1=(Dsk)A\n", 2, kWarning, "has no Make1"},
        Defect{"[Registry]\nKey1=(Cuser)Software\\T\n[DeleteRegistry]\nKey1=(Cuser)Software\\T\n",
               2, kError, "Name1 is missing"},
        Defect{"[Registry]\nKey1=(Cuser)Software\\T\nName1=N\nValue1=(Bin)00\n"
               "[DeleteRegistry]\nKey1=(Cuser)Software\\T\n",
               4, kError, "'(Bin)' values are not written"},
        Defect{"[Registry]\nKey1=(Cuser)Software\\T\nName1=N\nValue1=(Int)12x\n"
               "[DeleteRegistry]\nKey1=(Cuser)Software\\T\n",
               4, kWarning, "written as 0"},
        Defect{"[Registry]\nKey1=(Cuser)Software\\T\nName1=N\nValue1=(Tmp)\\LOG\n"
               "[DeleteRegistry]\nKey1=(Cuser)Software\\T\n",
               4, kWarning, "'(Tmp)' is not replaced"},
        Defect{"[Registry]\nKey1=(Local)\\\nName1=N\n", 2, kError, "names a root key"},
        Defect{"[Registry]\nKey1=(Cuser)Software\\T\\U\nName1=N\n", 2, kWarning,
               "HKEY_CURRENT_USER\\Software\\T\\U stays after uninstall"},
        Defect{"[Relate]\nName1=tol\n", 2, kError, "File1 is missing"},
        Defect{"[Relate]\nName1=.tol\nFile1=(App)\\A.TXT\n[DeleteRegistry]\nKey1=(Class).tol\n"
               "Key2=(Class)tol_auto_file\n",
               2, kWarning, "written with its dot"},
        Defect{"[Relate]\nName1=tol\nFile1=(App)\\A.TXT\n[DeleteRegistry]\nKey1=(Class).tol\n", 2,
               kWarning, "tol_auto_file stays after uninstall"},
        Defect{"[DeleteRegistry]\nKey1=(Cuser)Software\n", 2, kError, "refuses to delete"},
        Defect{"[DeleteRegistry]\nKey1=(Local)SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
               "Uninstall\\Other\n",
               2, kError, "refuses to delete"},
        Defect{"[MakeFolder]\nFolder1=(App)\n[makefolder]\nFolder2=(App)\\B\n", 3, kWarning,
               "appears again: only the first, at line 1"},
        Defect{"[MakeFolder]\nFolder1=(App)\nfolder1=(App)\\B\n", 3, kWarning,
               "appears again in [MakeFolder]"},
        Defect{"[CopyFiles]\nFile1=(App)\\A.TXT\n", 1, kWarning, "unknown section [CopyFiles]"},
        Defect{"[CopyFile]\nFiel1=(App)\\A.TXT\n", 2, kWarning, "unknown key 'Fiel1'"},
        Defect{"Folder1=(App)\n", 1, kWarning, "before any section"},
        Defect{"[DefaultFolder]\nFolder=\n", 2, kWarning, "proposes '\\'"},
        Defect{"[DefaultFolder]\nFolder=(Prg)Tool\n", 2, kWarning, "no '\\' after '(Prg)'"},
        Defect{"[ExecuteFile]\nFile=windows_reboot\n", 2, kError, "is started as a program"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=(dsk)A\n", 3, kWarning,
               "programs menu as 'A' (tokens are case-sensitive: '(Dsk)')"},
        Defect{"[ShortCut]\nMake1=(App)\\A.TXT\nName1=A(Dsk)\n", 3, kWarning,
               "its option box decides"},
        Defect{"[Registry]\nKey1=(LOCAL)Software\\T\nName1=N\n[DeleteRegistry]\n"
               "Key1=(Cuser)Software\\T\n",
               2, kWarning, "HKEY_CURRENT_USER (tokens are case-sensitive: '(Local)')"}));

TEST_F(ScriptCheckTest, AMistypedRootTokenNamesAKeyOfWindowsOutsideSoftware) {
  EXPECT_EQ(Listing(check("[DeleteRegistry]\nKey1=(CUSER)Software\\T\n")),
            "2 error: '(CUSER)' is not '(Cuser)': tokens are case-sensitive, so it stays as text\n"
            "2 error: the uninstaller refuses to delete HKEY_CURRENT_USER\\(CUSER)Software\\T: it "
            "belongs to Windows or to another product\n");
}

TEST_F(ScriptCheckTest, LongValuesAndTextsWithoutShiftJisAreFound) {
  const std::string utf8Script = "\xEF\xBB\xBF[TopMessage]\r\nMessage1=" + std::string(255, 'a') +
                                 "\r\nMessage2=\xE2\x84\xA2\r\n"  // ™ has no Shift-JIS form
                                 "[DefaultFolder]\r\nFolder=(Prg)\\Tool\r\n";
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.INI", utf8Script));
  EXPECT_EQ(Listing(CheckDisks(sim, {kDisk})),
            "2 error: the value is 255 bytes long: the program reads only its first 254\n"
            "3 warning: the value holds characters that have no Shift-JIS form, the code page "
            "the script is meant for\n");
}

TEST_F(ScriptCheckTest, FilesAreLookedForOnTheDiskTheCopyReadsThemFrom) {
  ASSERT_TRUE(sim.createFolderPath("C:\\DISK2"));
  ASSERT_TRUE(sim.writeFile("C:\\DISK2\\B.TXT", "b"));
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\B.TXT", "b"));
  const auto findings =
      check("[CopyFile]\nFile1=(Dch)(App)\\B.TXT\nFile2=(App)\\A.TXT\nFile3=(Dch)(App)\\C.TXT\n",
            {kDisk, "C:\\DISK2"});
  EXPECT_EQ(Listing(findings),
            "2 error: SETUP.EXE is not on disk 2, the disk in the drive when the run ends: the "
            "uninstaller cannot be copied from it\n"
            "3 error: 'A.TXT' is not on disk 2, where the copy looks for it: it is skipped "
            "without a message\n"
            "4 error: 'C.TXT' is not on the first disk: the entry is dropped without a message "
            "(files from later disks must be on the first disk too)\n");
}

TEST_F(ScriptCheckTest, NoScriptOrAUtf8ScriptWithoutByteOrderMarkIsAnError) {
  EXPECT_EQ(Listing(CheckDisks(sim, {kDisk})),
            "0 error: there is no SETUP.INI on the disk: the program starts without a script and "
            "cannot install\n");
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.INI", "[DefaultFolder]\r\nFolder=\xE3\x83\x84\r\n"));
  const auto findings = CheckDisks(sim, {kDisk});
  ASSERT_EQ(findings.size(), 1u) << Listing(findings);
  EXPECT_EQ(findings[0].Line, 0u);
  EXPECT_NE(findings[0].Text.find("UTF-8 without a byte-order mark"), std::string::npos);
  ASSERT_TRUE(sim.deleteFile("C:\\SETUP\\SETUP.EXE"));
  EXPECT_EQ(Listing(check("")),
            "0 error: there is no SETUP.EXE on the disk: nothing runs the script\n");
}

}  // namespace
}  // namespace orv::test
