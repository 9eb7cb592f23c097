#include "setup/PathMacros.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

MacroFolders Folders(std::string setup, std::string windows = "C:\\WINDOWS") {
  return {std::move(setup), "C:\\Program Files", windows, windows + "\\SYSTEM",
          "C:\\WINDOWS\\TEMP\\"};
}

TEST(PathMacros, EachMacroJoinsWithOneSeparator) {
  const struct {
    const char* value;
    const char* expected;
  } cases[] = {
      {"(App)", "D:\\MYAPP\\"},
      {"(App)\\BIN", "D:\\MYAPP\\BIN"},
      {"(App)BIN", "D:\\MYAPP\\BIN"},
      {"(Prg)\\X", "C:\\Program Files\\X"},
      {"(Win)\\\\X", "C:\\WINDOWS\\\\X"},
      {"(Sys)\\X.DLL", "C:\\WINDOWS\\SYSTEM\\X.DLL"},
      {"(Tmp)\\X", "C:\\WINDOWS\\TEMP\\X"},
      {"(Boo)\\X", "C:\\X"},
      {"(Set)\\X", "D:\\X"},
      {"(TMP)\\X", "(TMP)\\X"},
      {"(tmp)\\X", "(tmp)\\X"},
      {"(App)\\A;(Win)\\B", "D:\\MYAPP\\A;C:\\WINDOWS\\B"},
  };
  for (const char* setup : {"D:\\MYAPP", "D:\\MYAPP\\"}) {
    for (const auto& row : cases) {
      EXPECT_EQ(ResolveMacros(row.value, Folders(setup)), row.expected)
          << setup << " " << row.value;
    }
  }
}

TEST(PathMacros, ReplacementsAreResolvedOnlyByLaterSteps) {
  EXPECT_EQ(ResolveMacros("(App)\\X", Folders("C:\\(App)")), "C:\\(App)\\X")
      << "inserted text is not searched again";
  EXPECT_EQ(ResolveMacros("(App)\\X", Folders("(Win)\\APP")), "C:\\WINDOWS\\APP\\X")
      << "(Win) comes after (App)";
  MacroFolders folders = Folders("D:\\APP");
  folders.TempFolder = "C:\\(App)\\";
  EXPECT_EQ(ResolveMacros("(Tmp)\\X", folders), "C:\\(App)\\X") << "(App) came before (Tmp)";
}

TEST(PathMacros, RegistryValuesKeepTheTemporaryFolderMacro) {
  EXPECT_EQ(ResolveMacros("(Tmp)\\LOG", Folders("D:\\APP"), TempMacro::kKeep), "(Tmp)\\LOG");
  EXPECT_EQ(ResolveMacros("(App)\\(Tmp)", Folders("D:\\APP"), TempMacro::kKeep), "D:\\APP\\(Tmp)");
}

TEST(PathMacros, DrivesOfNetworkAndOtherWindowsFolders) {
  EXPECT_EQ(ResolveMacros("(Set)", Folders("\\\\SERVER\\SHARE\\APP")), "\\\\\\");
  EXPECT_EQ(ResolveMacros("(Boo)", Folders("D:\\APP", "D:\\OS\\WINDOWS")), "D:\\");
  EXPECT_EQ(ResolveMacros("(Set)", Folders("表示\\APP")), "表示\\") << "two characters, not bytes";
}

}  // namespace
}  // namespace orv
