// The operations of a run that failed: one line each, a tag, the path, CR LF. The run goes on
// after each; the user may view the list at the end. What the uninstall record cannot keep is
// listed too, under the tag of its section, since a later uninstall would leave it behind.
#pragma once

#include <string>
#include <string_view>

namespace orv {

inline constexpr std::string_view kFolderFailureTag = "<Folder> ";
inline constexpr std::string_view kFileFailureTag = "<File> ";
inline constexpr std::string_view kSetupFileFailureTag = "<SetupFile> ";
inline constexpr std::string_view kShortcutFailureTag = "<ShortCut> ";
inline constexpr std::string_view kRegistryFailureTag = "<Registry> ";

class FailureList {
 public:
  void Add(std::string_view tag, std::string_view path) {
    FailureText.append(tag).append(path).append("\r\n");
    ++FailureCount;
  }
  void Clear() {
    FailureText.clear();
    FailureCount = 0;
  }

  std::string FailureText;
  int FailureCount = 0;
};

}  // namespace orv
