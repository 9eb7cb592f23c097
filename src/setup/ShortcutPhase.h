// The shortcut phase: the [ShortCut] entries the options let through become shell links in the
// desktop, programs menu, startup or Send To folder, recorded for uninstall.
#pragma once

#include <string>
#include <string_view>

namespace orv {

class SetupRun;
class TfrmMain;
struct MacroFolders;

namespace shortcut_text {
inline constexpr const char* kCreating = "ショートカットを作成しています．．．\rCreateTarget -> ";
inline constexpr const char* kCreatingLink = "Creating -> ";
}  // namespace shortcut_text

// Where a shortcut goes, from its [ShortCut] Name value and its resolved target.
struct ShortcutPlace {
  int FolderId = 0;           // CSIDL of the special folder
  std::string LinkName;       // relative to that folder, without ".lnk"
  std::string WorkingFolder;  // resolved; may be empty
};

// "Default" names the target's file, as it is, in the programs menu; otherwise the name is a
// five-character folder token ("(Sta)" put in front when the name has none), the link name up to
// the first comma, and a working folder after it.
ShortcutPlace PlaceShortcut(std::string_view name, std::string_view target,
                            const MacroFolders& folders);

// False when the run ended in the phase (the user aborted). A shortcut that was not written, or
// that a full record list cannot take, is reported in the failure list; one whose name is empty
// is not made.
bool RunShortcutPhase(SetupRun& run, TfrmMain& main);

}  // namespace orv
