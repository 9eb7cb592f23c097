#include "common/Expand.h"

#include "common/Platform.h"
#include "common/Szdd.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

// Expands source into work; false when the data did not come out whole.
bool Expand(Platform& p, std::string_view source, const std::string& work,
            const std::optional<SzddHeader>& header) {
  if (!p.expandFile(source, work)) return false;
  return !header || p.fileSize(work) == header->Length;
}

}  // namespace

std::string ExpandCompressedFile(Platform& platform, std::string_view tempFolder,
                                 std::string_view source) {
  const std::string folder = StripSeparator(tempFolder, "B");
  const std::string expanded = folder + "\\" + std::string(kExpandedFileName);
  const std::string keptAside = folder + "\\" + std::string(kKeptAsideFileName);

  const auto head = platform.readFileHead(source, kSzddHeaderSize);
  if (!head) platform.beep();  // unreadable: the expansion below fails and the copy reports it
  const auto header = head ? ParseSzddHeader(*head) : std::nullopt;
  const std::string own = FileNamePart(source);
  const std::string name = FileNamePart(header ? ExpandedName(own, header->MissingCharacter) : own);
  const std::string work = folder + "\\" + name;

  if (platform.fileExists(work)) {
    (void)platform.deleteFile(keptAside);
    (void)platform.renameFile(work, keptAside);
  }
  if (!Expand(platform, source, work, header)) (void)platform.deleteFile(work);

  (void)platform.deleteFile(expanded);
  (void)platform.renameFile(work, expanded);
  if (platform.fileExists(keptAside)) {
    (void)platform.renameFile(keptAside, work);
    (void)platform.deleteFile(keptAside);
  }
  return expanded + "," + name;
}

ExpandedFile SplitExpandResult(std::string_view result) {
  const auto comma = result.rfind(',');
  if (comma == std::string_view::npos) return {std::string(result), {}};
  return {std::string(result.substr(0, comma)), std::string(result.substr(comma + 1))};
}

}  // namespace orv
