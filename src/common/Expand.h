// Expansion of LZ-compressed installation files into the temporary folder, under fixed names, so
// that a file of the same name already there is not destroyed.
#pragma once

#include <string>
#include <string_view>

namespace orv {

class Platform;

inline constexpr std::string_view kExpandedFileName = "EXPAND.BST";
inline constexpr std::string_view kKeptAsideFileName = "ZZZZZZZZ.ZZZ";

// Expands source into <tempFolder>\EXPAND.BST and returns that path, a comma, and the name the
// file is to be installed under (the name recorded in the compressed file; its own name when it
// records none or is not compressed). A file of that name in the temporary folder is kept aside
// under ZZZZZZZZ.ZZZ and put back. When the expansion fails (including data shorter or longer
// than the header says), EXPAND.BST does not exist afterwards, so nothing broken is installed.
std::string ExpandCompressedFile(Platform& platform, std::string_view tempFolder,
                                 std::string_view source);

struct ExpandedFile {
  std::string DataPath;
  std::string Name;
};

// Splits the result at its last comma: the temporary folder's path may hold commas, the name
// does not.
ExpandedFile SplitExpandResult(std::string_view result);

}  // namespace orv
