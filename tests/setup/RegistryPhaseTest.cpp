// The registry and file association phases on the simulated Windows.
#include "setup/RegistryPhase.h"

#include "app/ShellFixture.h"
#include "setup/AssociationPhase.h"
#include "setup/RegistryWrite.h"
#include "setup/SetupRun.h"

namespace orv::test {
namespace {

TEST(RegistryInteger, DecimalAndDollarHexOrElseZero) {
  const struct {
    const char* text;
    std::uint32_t value;
  } cases[] = {
      {"255", 255},
      {"  42", 42},
      {"+7", 7},
      {"-1", 0xFFFFFFFF},
      {"2147483647", 0x7FFFFFFF},
      {"-2147483648", 0x80000000},
      {"2147483648", 0},  // past the signed range
      {"-2147483649", 0},
      {"$FF", 255},
      {"$ff", 255},
      {"$FFFFFFFF", 0xFFFFFFFF},
      {"$100000000", 0},
      {"-$FF", 0},  // a sign before "$"
      {"$", 0},
      {"12x", 0},
      {"12 ", 0},  // trailing blanks
      {"\t12", 0},
      {"", 0},
      {"+", 0},
      {"0x10", 0},
  };
  for (const auto& row : cases)
    EXPECT_EQ(ParseRegistryInteger(row.text), row.value) << row.text;
}

TEST(RegistryKeyValue, RootTokensPathsAndTypes) {
  const struct {
    const char* key;
    RegistryRoot root;
    const char* path;
  } keys[] = {
      {"(Local)\\Software\\Example\\Settings\\", RegistryRoot::kLocalMachine,
       "Software\\Example\\Settings"},
      {"(Class).orv", RegistryRoot::kClassesRoot, ".orv"},
      {"(Users).DEFAULT\\X", RegistryRoot::kUsers, ".DEFAULT\\X"},
      {"Software\\Example", RegistryRoot::kCurrentUser, "Software\\Example"},
      {"(LOCAL)Software\\X", RegistryRoot::kCurrentUser, "Software\\X"},  // case-sensitive
      {"(Local)", RegistryRoot::kLocalMachine, ""},
  };
  for (const auto& row : keys) {
    const RegistryKeyPath split = SplitRegistryKey(row.key);
    EXPECT_EQ(split.Root, row.root) << row.key;
    EXPECT_EQ(split.Path, row.path) << row.key;
  }
  EXPECT_EQ(ParseRegistryValue("1234"), (RegistryValue{RegistryType::kString, "1234", 0}));
  EXPECT_EQ(ParseRegistryValue("(Exp)%windir%"),
            (RegistryValue{RegistryType::kExpandString, "%windir%", 0}));
  EXPECT_EQ(ParseRegistryValue("(Dwd)$FF"), (RegistryValue{RegistryType::kDword, "", 255}));
  EXPECT_EQ(ParseRegistryValue("(Bin)00 01"), std::nullopt);
  EXPECT_EQ(ParseRegistryValue(""), (RegistryValue{RegistryType::kString, "", 0}));
}

class RegistryPhaseTest : public ShellTest {
 protected:
  RegistryPhaseTest() { EXPECT_TRUE(sim.createFolder("C:\\Tool")); }
  void startSetup(const std::string& ini, const std::string& folder = "C:\\Tool\\") {
    writeSetupIni(ini);
    sim.userTypes(frmMain.txtFolder, folder);
    sim.userClicks(frmMain.btnSetup);
  }
  std::optional<RegistryValue> value(RegistryRoot root, const std::string& key,
                                     const std::string& name) {
    return sim.readRegistryValue(root, key, name);
  }
  // After an error the run leaves the window with Abort to leave by.
  void leaveByAbort() {
    sim.userClicks(frmMain.btnAbort);
    sim.userAnswers(kIdYes);
  }
  static RegistryValue text(const std::string& data) { return {RegistryType::kString, data, 0}; }
};

TEST_F(RegistryPhaseTest, ValuesOfEveryTypeAreWritten) {
  startSetup(
      "[Registry]\n"
      "Key1=(Local)Software\\Example\\Settings\\\nName1=Path\nValue1=(Str)(App)\n"
      "Key2=Software\\Example\nName2=Count\nValue2=(Dwd)$FF\n"
      "Key3=Software\\Example\nName3=Minus\nValue3=(Int)-1\n"
      "Key4=Software\\Example\nName4=Plain\nValue4=1234\n"
      "Key5=Software\\Example\nName5=Temp\nValue5=(Str)(Tmp)work\n"
      "Key6=Software\\Example\\Bin\nName6=Raw\nValue6=(Bin)00 01\n"
      "Key7=Software\\Example\nName7=Empty\n"
      "Key8=Software\\Example\nName8=Expand\nValue8=(Exp)%windir%\\(Win)\n"
      "Key9=Software\\Example\\NoName\nValue9=(Str)x\n");
  run();
  const auto hkcu = RegistryRoot::kCurrentUser;
  EXPECT_EQ(value(RegistryRoot::kLocalMachine, "Software\\Example\\Settings", "Path"),
            text("C:\\Tool\\"))
      << sim.registryText();
  EXPECT_EQ(value(hkcu, "Software\\Example", "Count"),
            (RegistryValue{RegistryType::kDword, "", 255}));
  EXPECT_EQ(value(hkcu, "Software\\Example", "Minus"),
            (RegistryValue{RegistryType::kDword, "", 0xFFFFFFFF}));
  EXPECT_EQ(value(hkcu, "Software\\Example", "Plain"), text("1234"));
  EXPECT_EQ(value(hkcu, "Software\\Example", "Temp"), text("(Tmp)work"));
  EXPECT_TRUE(sim.registryKeyExists(hkcu, "Software\\Example\\Bin"));
  EXPECT_EQ(value(hkcu, "Software\\Example\\Bin", "Raw"), std::nullopt);
  EXPECT_EQ(value(hkcu, "Software\\Example", "Empty"), text(""));
  EXPECT_EQ(value(hkcu, "Software\\Example", "Expand"),
            (RegistryValue{RegistryType::kExpandString, "%windir%\\C:\\WINDOWS\\", 0}));
  EXPECT_FALSE(sim.registryKeyExists(hkcu, "Software\\Example\\NoName")) << "no Name, no entry";
  EXPECT_TRUE(frmBack.runFinished()) << "the run went on to its end";
}

struct RegistryFailure {
  SimPlatform::Operation operation;
  const char* key;
  const char* box;
};

class RegistryFailureTest : public RegistryPhaseTest,
                            public ::testing::WithParamInterface<RegistryFailure> {};

TEST_P(RegistryFailureTest, EndsTheRunWithItsTextAndNothingAfter) {
  const RegistryFailure& row = GetParam();
  sim.injectRegistryFault(row.operation, RegistryRoot::kLocalMachine, "Software\\A",
                          kErrorAccessDenied);
  startSetup(std::string("[Registry]\nKey1=(Local)") + row.key +
             "\nName1=V\nValue1=x\nKey2=Software\\B\nName2=W\nValue2=y\n"
             "[Relate]\nName1=txt\nFile1=(App)\\EDIT.EXE\n");
  leaveByAbort();
  run();
  ASSERT_FALSE(sim.shownMessages().empty());
  EXPECT_EQ(sim.shownMessages()[0].text, row.box);
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOk | kMbIconStop);
  EXPECT_FALSE(sim.registryKeyExists(RegistryRoot::kCurrentUser, "Software\\B"));
  EXPECT_EQ(sim.associationNotices(), 0) << "no association asked or made";
}

INSTANTIATE_TEST_SUITE_P(
    KeyValueAndRoot, RegistryFailureTest,
    ::testing::Values(RegistryFailure{SimPlatform::Operation::kCreateRegistryKey, "Software\\A",
                                      "ｷｰ Software\\A の作成に失敗しました."},
                      RegistryFailure{SimPlatform::Operation::kWriteRegistryValue, "Software\\A",
                                      "'V' の設定に失敗しました."},
                      // An empty key path would write into the root key itself.
                      RegistryFailure{SimPlatform::Operation::kCreateRegistryKey, "\\",
                                      "ｷｰ  の作成に失敗しました."}));

TEST_F(RegistryPhaseTest, AssociationsAreAskedAndWrittenOnYes) {
  startSetup(
      "[Relate]\nName1=.txt,Text document\nFile1=(App)\\EDIT.EXE,2\nName2=log\n"
      "File2=(App)\\VIEW.EXE\nName3=dat\nFile3=(App)\\DATA.EXE\n",
      "C:\\Program Files\\Tool\\");
  sim.userAnswers(kIdYes);  // the new folder
  sim.userAnswers(kIdYes);  // txt
  sim.userAnswers(kIdNo);   // log
  sim.userAnswers(kIdYes);  // dat
  run();
  const auto& questions = sim.shownMessages();
  ASSERT_EQ(questions.size(), 5u) << "the folder, three associations, the completion";
  EXPECT_EQ(
      questions[1].text,
      "拡張子 *.txt を\rC:\\Program Files\\Tool\\EDIT.EXE\rに関連付けします．よろしいですか？");
  EXPECT_EQ(questions[1].caption, relate_text::kCaption);
  EXPECT_EQ(questions[1].flags, kMbYesNo | kMbIconQuestion);
  const auto hkcr = RegistryRoot::kClassesRoot;
  EXPECT_EQ(value(hkcr, ".txt", ""), text("txt_auto_file")) << sim.registryText();
  EXPECT_FALSE(sim.registryKeyExists(hkcr, "..txt")) << "one leading dot is dropped";
  EXPECT_EQ(value(hkcr, "txt_auto_file", ""), text("Text document"));
  EXPECT_EQ(value(hkcr, "txt_auto_file\\DefaultIcon", ""),
            text("C:\\Program Files\\Tool\\EDIT.EXE,2"));
  EXPECT_EQ(value(hkcr, "txt_auto_file\\shell\\open\\command", ""),
            text("\"C:\\Program Files\\Tool\\EDIT.EXE\" \"%1\""));
  EXPECT_FALSE(sim.registryKeyExists(hkcr, ".log")) << "answered No";
  EXPECT_EQ(value(hkcr, "dat_auto_file", ""), text("dat File"));
  EXPECT_EQ(value(hkcr, "dat_auto_file\\DefaultIcon", ""),
            text("C:\\Program Files\\Tool\\DATA.EXE,0"));
  EXPECT_EQ(value(RegistryRoot::kLocalMachine, "Software\\Classes\\.dat", ""),
            text("dat_auto_file"))
      << "classes go to the machine";
  EXPECT_EQ(sim.associationNotices(), 2);
}

TEST_F(RegistryPhaseTest, AQuotedProgramIsQuotedOnceAndAnEmptyExtensionIsNotAsked) {
  startSetup(
      "[Relate]\nName1=.,Text\nFile1=(App)\\EDIT.EXE\n"
      "Name2=txt\nFile2=\"(App)My Edit.exe\",2\n");
  sim.userAnswers(kIdYes);  // txt
  run();
  const auto hkcr = RegistryRoot::kClassesRoot;
  ASSERT_EQ(sim.shownMessages().size(), 2u) << "txt and the completion";
  EXPECT_EQ(sim.shownMessages()[0].text,
            "拡張子 *.txt を\rC:\\Tool\\My Edit.exe\rに関連付けします．よろしいですか？");
  EXPECT_EQ(value(hkcr, "txt_auto_file\\shell\\open\\command", ""),
            text("\"C:\\Tool\\My Edit.exe\" \"%1\""));
  EXPECT_FALSE(sim.registryKeyExists(hkcr, "."));
  EXPECT_FALSE(sim.registryKeyExists(hkcr, "_auto_file"));
}

TEST_F(RegistryPhaseTest, ACommandWithoutBlanksIsNotQuoted) {
  startSetup("[Relate]\nName1=txt\nFile1=(App)\\EDIT.EXE\n");
  sim.userAnswers(kIdYes);
  run();
  EXPECT_EQ(value(RegistryRoot::kClassesRoot, "txt_auto_file\\shell\\open\\command", ""),
            text("C:\\Tool\\EDIT.EXE \"%1\""));
}

}  // namespace
}  // namespace orv::test
