#include "common/CommandLine.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateAndQuotesOnlyGroup) {
  EXPECT_EQ(SplitCommandLine("SETUP.EXE"), Args({"SETUP.EXE"}));
  EXPECT_EQ(SplitCommandLine("  C:\\WINDOWS\\UNORSET.EXE \"C:\\Program Files\\Tool\\UNSETUP.INI\""),
            Args({"C:\\WINDOWS\\UNORSET.EXE", "C:\\Program Files\\Tool\\UNSETUP.INI"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\My Setup\\SETUP.EXE\"\targ"),
            Args({"C:\\My Setup\\SETUP.EXE", "arg"}));
  EXPECT_EQ(SplitCommandLine("a C:\\Pro\"gram Fi\"les\\x b"),
            Args({"a", "C:\\Program Files\\x", "b"}));
}

TEST(CommandLine, BackslashesHaveNoSpecialMeaning) {
  EXPECT_EQ(SplitCommandLine("p \"C:\\Tools\\\" next"), Args({"p", "C:\\Tools\\", "next"}));
  EXPECT_EQ(SplitCommandLine("p \\\"x\\\""), Args({"p", "\\x\\"}));
}

TEST(CommandLine, EmptyAndUnterminatedInput) {
  EXPECT_EQ(SplitCommandLine(""), Args());
  EXPECT_EQ(SplitCommandLine("   "), Args());
  EXPECT_EQ(SplitCommandLine("p \"unterminated arg"), Args({"p", "unterminated arg"}));
  EXPECT_EQ(SplitCommandLine("p \"\""), Args({"p", ""}));
  EXPECT_EQ(SplitCommandLine("p \"ソフト 表\""), Args({"p", "ソフト 表"}));
}

TEST(ProgramArguments, SwitchesStandAnywhereAndTheModeArgumentIsTheFirstOther) {
  struct Case {
    const char* line;
    std::string mode;
    bool unattended;
    std::optional<std::string> folder;
    std::optional<std::string> log;
    bool problem;
  };
  const std::string record = "C:\\Tool\\UNSETUP.INI";
  const Case cases[] = {
      {"UNORSET.EXE /S \"C:\\Tool\\UNSETUP.INI\"", record, true, {}, {}, false},
      {"UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\" /s", record, true, {}, {}, false},
      {"SETUP.EXE /S /D=C:\\Program Files\\My Tool",
       "",
       true,
       "C:\\Program Files\\My Tool",
       {},
       false},
      {"SETUP.EXE /S \"/D=C:\\My Tool\"  ", "", true, "C:\\My Tool", {}, false},
      {"SETUP.EXE /d=\"C:\\My Tool\" /log=C:\\x.log", "", false, "C:\\My Tool", "C:\\x.log", false},
      {"SETUP.EXE /D=C:\\My Tool /S", "Tool", true, "C:\\My", {}, true},
      {"SETUP.EXE /S /D=", "", true, "", {}, true},
      {"SETUP.EXE /S /LOG=", "", true, {}, "", true},
      {"SETUP.EXE /VERYSILENT", "/VERYSILENT", false, {}, {}, true},
      {"SETUP.EXE /S a b", "a", true, {}, {}, true},
      {"SETUP.EXE /S /D=C:\\Tool /VERYSILENT", "", true, "C:\\Tool /VERYSILENT", {}, true},
      {"UNORSET.EXE /S /D=C:\\X \"C:\\Tool\\UNSETUP.INI\"",
       "",
       true,
       "C:\\X C:\\Tool\\UNSETUP.INI",
       {},
       true},
      {"UNORSET.EXE /S \\Tool\\UNSETUP.INI", "\\Tool\\UNSETUP.INI", true, {}, {}, false},
      {"UNORSET.EXE /Sx/UNSETUP.INI", "/Sx/UNSETUP.INI", false, {}, {}, true},
      // A profile's name with a blank, in a manifest's unquoted switch.
      {"SETUP.EXE /S /LOG=C:\\Users\\Taro Yamada\\tool.log",
       "Yamada\\tool.log",
       true,
       {},
       "C:\\Users\\Taro",
       true},
      {"SETUP.EXE /S /LOG=\"C:\\Users\\Taro Yamada\\tool.log\" /D=C:\\Program Files\\Tool", "",
       true, "C:\\Program Files\\Tool", "C:\\Users\\Taro Yamada\\tool.log", false},
      {"SETUP.EXE", "", false, {}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const ProgramArguments read = ReadProgramArguments(c.line);
    EXPECT_EQ(read.ModeArgument, c.mode);
    EXPECT_EQ(read.Unattended, c.unattended);
    EXPECT_EQ(read.Folder, c.folder);
    EXPECT_EQ(read.LogPath, c.log);
    EXPECT_EQ(!read.Problem.empty(), c.problem) << read.Problem;
  }
}

}  // namespace
}  // namespace orv
