// The tables a setup run loads from SETUP.INI and works through. Each list has a fixed capacity;
// an entry that does not fit is dropped without a message.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

struct RunState {
  static constexpr std::size_t kFolderCapacity = 20;
  static constexpr std::size_t kFileSlots = 101;
  static constexpr std::size_t kShortcutCapacity = 20;

  std::vector<std::string> FolderList;        // MakeFolder values as written
  std::vector<std::string> FileList;          // CopyFile values up to their first comma
  std::vector<std::string> ShortcutMakeList;  // ShortCut MakeN values
  std::vector<std::string> ShortcutNameList;  // ShortCut NameN values

  // Empties the folder, file and shortcut tables, as the options stage does each time it is
  // shown.
  void ResetOptionTables() {
    FolderList.clear();
    FileList.clear();
    ShortcutMakeList.clear();
    ShortcutNameList.clear();
  }
};

}  // namespace orv
