// Path macros: five-character tokens in SETUP.INI values that stand for folders known only on the
// user's machine. A run resolves the seven macros in a fixed order; the proposed setup folder
// uses a prefix form of its own.
#pragma once

#include <string>
#include <string_view>

namespace orv {

struct Globals;

// The folders behind the macros during a setup run.
struct MacroFolders {
  std::string SetupFolderPath;     // (App), as the user left it in the folder box
  std::string ProgramFilesFolder;  // (Prg)
  std::string WindowsFolder;       // (Win); its drive is (Boo)
  std::string SystemFolder;        // (Sys)
  std::string TempFolder;          // (Tmp)

  static MacroFolders Of(const Globals& globals, std::string setupFolderPath);
};

enum class TempMacro { kResolve, kKeep };

// Replaces (App), (Prg), (Win), (Sys), (Tmp), (Boo) and (Set), each over the whole value, in
// that order, so a macro brought in by one replacement is resolved by the later ones. Registry
// values keep (Tmp) as text.
std::string ResolveMacros(std::string_view value, const MacroFolders& folders,
                          TempMacro temp = TempMacro::kResolve);

// The proposed setup folder from [DefaultFolder] Folder: only a (Prg), (Win), (Sys) or (Boo) in
// its first five characters is replaced, with no separator handling; the result ends in "\".
std::string ProposedSetupFolder(std::string_view value, const Globals& globals);

}  // namespace orv
