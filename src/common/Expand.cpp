#include "common/Expand.h"

#include "common/Platform.h"
#include "common/Szdd.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

// Expands source into work; false when the data did not come out whole, or could not.
bool Expand(Platform& p, std::string_view source, const std::string& work,
            const SzddHeader* header) {
  if (header != nullptr && header->Length > kSzddMaxLength) return false;
  if (!p.expandFile(source, work)) return false;
  return header == nullptr || p.fileSize(work) == header->Length;
}

}  // namespace

ExpandedFile ExpandCompressedFile(Platform& platform, std::string_view tempFolder,
                                  std::string_view source) {
  const std::string folder = StripSeparator(tempFolder, "B");
  const std::string expanded = folder + "\\" + std::string(kExpandedFileName);
  const std::string keptAside = folder + "\\" + std::string(kKeptAsideFileName);

  const auto head = platform.readFileHead(source, kSzddHeaderSize);
  const auto header = head ? ParseSzddHeader(*head) : std::nullopt;
  const std::string own = FileNamePart(source);
  const std::string name = FileNamePart(header ? ExpandedName(own, header->MissingCharacter) : own);
  const std::string work = folder + "\\" + name;
  ExpandedFile result{expanded, name, false};
  // Without its header the file's name is not known: nothing is installed, the copy reports it.
  if (!head) {
    platform.beep();
    return result;
  }

  if (platform.fileExists(work)) {
    // The user's file of that name goes aside; one left aside by an earlier expansion makes way.
    if (platform.fileExists(keptAside) && !platform.deleteFile(keptAside)) return result;
    if (!platform.renameFile(work, keptAside)) return result;
  }
  const bool whole = Expand(platform, source, work, header ? &*header : nullptr);
  // A stale EXPAND.BST goes in any case; one that cannot be cleared must not pass for this file.
  const bool cleared = !platform.fileExists(expanded) || platform.deleteFile(expanded);
  result.Complete = whole && cleared && platform.renameFile(work, expanded);
  if (!result.Complete) (void)platform.deleteFile(work);
  // The kept-aside file returns to its name; when it cannot, it stays aside rather than be lost.
  if (platform.fileExists(keptAside)) (void)platform.renameFile(keptAside, work);
  return result;
}

}  // namespace orv
