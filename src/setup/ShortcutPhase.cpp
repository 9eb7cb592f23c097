#include "setup/ShortcutPhase.h"

#include <array>

#include "app/Main.h"
#include "common/Platform.h"
#include "common/ShellLink.h"
#include "common/TextUtils.h"
#include "setup/PathMacros.h"
#include "setup/SetupRun.h"

namespace orv {

namespace {

// The special folder of each folder token, in the order of kShortcutFolderTokens.
constexpr std::array<int, 4> kTokenFolders = {csidl::kDesktop, csidl::kPrograms, csidl::kStartup,
                                              csidl::kSendTo};
constexpr std::string_view kStartMenuToken = "(Sta)";

int FolderOf(std::string_view token) {
  for (std::size_t i = 0; i < kShortcutFolderTokens.size(); ++i) {
    if (token == kShortcutFolderTokens[i]) return kTokenFolders[i];
  }
  return csidl::kPrograms;
}

}  // namespace

ShortcutPlace PlaceShortcut(std::string_view name, std::string_view target,
                            const MacroFolders& folders) {
  ShortcutPlace place;
  // The target's file name is the link's name as it is: no token, no working folder read in it.
  if (name == kDefaultShortcutName) {
    place.FolderId = csidl::kPrograms;
    place.LinkName = FileNamePart(target);
    return place;
  }
  std::string rest(name);
  if (const auto comma = rest.find(','); comma != std::string::npos) {
    place.WorkingFolder = ResolveMacros(std::string_view(rest).substr(comma + 1), folders);
    rest.erase(comma);
  }
  if (!LeadingToken(rest, 5)) rest.insert(0, kStartMenuToken);
  const std::string_view token = *LeadingToken(rest, 5);
  place.FolderId = FolderOf(token);
  place.LinkName = rest.substr(token.size());
  return place;
}

bool RunShortcutPhase(SetupRun& run, TfrmMain& main) {
  Platform& p = main.platform();
  RunState& state = main.runState();
  const MacroFolders folders = MacroFolders::Of(main.globals(), state.SetupFolderPath);
  for (const ScriptShortcut& entry : state.ShortcutList) {
    const std::string target = ResolveMacros(entry.Make, folders);
    const ShortcutPlace place = PlaceShortcut(entry.Name, target, folders);
    // A link without a name of its own ("(Dsk)", "Group\\") would be a file named ".lnk".
    if (FileNamePart(place.LinkName).find_first_not_of(' ') == std::string::npos) continue;
    if (!run.ShowStatus(shortcut_text::kCreating + target + "\r" + shortcut_text::kCreatingLink +
                        StripSeparator(place.LinkName, "T"))) {
      return false;
    }
    const MadeShortcut made =
        CreateShellLink(p, target, place.LinkName, place.FolderId, place.WorkingFolder);
    if (made.Error) return run.Raise(*made.Error);
    p.sleep(kStepPause);
    if (made.LinkPath.empty()) continue;  // no such folder on this system: nothing to undo
    // A link that was not written, or that the record cannot take, would not be removed at
    // uninstall: the user hears of both.
    if (!made.Written || !Kept(state.Records.DeleteShortCutRecords.Insert(p, made.LinkPath))) {
      state.Failures.Add(kShortcutFailureTag, made.LinkPath);
    }
  }
  return true;
}

}  // namespace orv
