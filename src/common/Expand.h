// Expansion of LZ-compressed installation files into the temporary folder, under fixed names, so
// that a file of the same name already there is not destroyed.
#pragma once

#include <string>
#include <string_view>

namespace orv {

class Platform;

inline constexpr std::string_view kExpandedFileName = "EXPAND.BST";
inline constexpr std::string_view kKeptAsideFileName = "ZZZZZZZZ.ZZZ";

struct ExpandedFile {
  std::string DataPath;  // <temporary folder>\EXPAND.BST
  std::string Name;      // the name to install under
  // DataPath holds the whole expanded data. False when any step failed (the data is broken, the
  // temporary folder cannot take it, a stale EXPAND.BST cannot be cleared): nothing is to be
  // installed, and whatever lies at DataPath is not this file's.
  bool Complete = false;
};

// Expands source into <tempFolder>\EXPAND.BST. Name is the name recorded in the compressed file
// (its own name when it records none or is not compressed). A file of that name in the temporary
// folder is kept aside under ZZZZZZZZ.ZZZ while the data is expanded under its name, and put
// back; a file kept aside by an earlier, interrupted expansion is put back too. Neither is ever
// deleted unless the other is safely under the user's name.
ExpandedFile ExpandCompressedFile(Platform& platform, std::string_view tempFolder,
                                  std::string_view source);

}  // namespace orv
