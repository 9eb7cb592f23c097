// Shortcut files: a shell link to a target, with a working folder, in one of the shell's special
// folders.
#pragma once

#include <string>
#include <string_view>

#include "common/ErrorBox.h"
#include "common/SetupError.h"

namespace orv {

class Platform;

namespace shell_link_text {
// With the COM result when the system has no text for it.
inline constexpr ErrorCodeFormat kOleErrorFormat{"OLE ｴﾗｰ ", ErrorCodeFormat::Base::kHex8, ""};
inline constexpr const char* kInterfaceNotSupported = "Interface はｻﾎﾟｰﾄされていません";
}  // namespace shell_link_text

struct MadeShortcut {
  // The link file's full path; empty when no shortcut could be placed (the special folder is
  // unknown or has no path).
  std::string LinkPath;
  // The link file was saved.
  bool Written = false;
  // The shell's link object could not be made or lacks an interface, or the link's folder could
  // not be created (two missing levels, say); nothing is written then.
  Raised Error;
};

// Writes <special folder>\<linkName>.lnk pointing at target. linkName may hold one sub-folder
// level that does not exist yet (it is created) and may start with "\". The working folder is
// workingFolder when that names an existing folder, else the target's folder; it always ends in
// "\".
MadeShortcut CreateShellLink(Platform& platform, std::string_view target, std::string_view linkName,
                             int folderId, std::string_view workingFolder);

}  // namespace orv
