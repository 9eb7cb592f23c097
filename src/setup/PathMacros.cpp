#include "setup/PathMacros.h"

#include "common/Globals.h"
#include "common/TextUtils.h"
#include "common/Utf.h"

namespace orv {

namespace {

// The drive of a path: its first two characters and a separator (C:\, or \\\ for a network path).
std::string DriveOf(std::string_view path) {
  return std::string(FirstCharacters(path, 2)) + "\\";
}

}  // namespace

MacroFolders MacroFolders::Of(const Globals& globals, std::string setupFolderPath) {
  return {std::move(setupFolderPath), globals.ProgramFilesFolder, globals.WindowsFolder,
          globals.SystemFolder, globals.TempFolder};
}

std::string ResolveMacros(std::string_view value, const MacroFolders& folders, TempMacro temp) {
  std::string resolved = ReplaceToken(value, "(App)", folders.SetupFolderPath);
  resolved = ReplaceToken(resolved, "(Prg)", folders.ProgramFilesFolder);
  resolved = ReplaceToken(resolved, "(Win)", folders.WindowsFolder);
  resolved = ReplaceToken(resolved, "(Sys)", folders.SystemFolder);
  if (temp == TempMacro::kResolve) resolved = ReplaceToken(resolved, "(Tmp)", folders.TempFolder);
  resolved = ReplaceToken(resolved, "(Boo)", DriveOf(folders.WindowsFolder));
  return ReplaceToken(resolved, "(Set)", DriveOf(folders.SetupFolderPath));
}

std::string ProposedSetupFolder(std::string_view value, const Globals& globals) {
  const std::string_view head = value.substr(0, 5);
  const std::string_view rest = value.size() > 5 ? value.substr(5) : std::string_view();
  std::string base(head);
  if (head == "(Prg)") {
    base = globals.ProgramFilesFolder;
  } else if (head == "(Win)") {
    base = globals.WindowsFolder;
  } else if (head == "(Sys)") {
    base = globals.SystemFolder;
  } else if (head == "(Boo)") {
    base = StripSeparator(ParentFolder(globals.WindowsFolder), "B");
  }
  return AddSeparator(base + std::string(rest), "B");
}

}  // namespace orv
