#include "common/ResolvedPath.h"

#include <algorithm>

#include "common/Platform.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

constexpr char kSeparator = '\\';

bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The length of the start of a full path: "C:", or "\\server\share" with two names a share can
// have; 0 when it has neither.
std::size_t RootLength(std::string_view path) {
  if (StartsWithDrive(path)) return 2;
  if (!path.starts_with("\\\\")) return 0;
  const auto server = path.find(kSeparator, 2);
  if (server == std::string_view::npos) return 0;
  const auto share = std::min(path.find(kSeparator, server + 1), path.size());
  for (const std::string_view name :
       {path.substr(2, server - 2), path.substr(server + 1, share - server - 1)}) {
    if (name.empty() || name == "." || name == ".." || ForbiddenName(name)) return 0;
  }
  return share;
}

}  // namespace

bool ForbiddenName(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("<>:\"|?*/").find(c) != std::string_view::npos) {
      return true;
    }
  }
  std::string stem;
  for (const char c : name.substr(0, name.find('.')))
    stem += Upper(c);
  while (stem.ends_with(' '))
    stem.pop_back();
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

std::optional<std::string> ResolvePath(std::string_view path, std::string_view currentFolder) {
  if (path.empty()) return std::nullopt;
  // "\\?\" hands the rest to the file system as written: no separator but "\", no name dropped or
  // trimmed. Such a path is taken only when reading it the usual way gives the same names.
  const bool literal = path.starts_with("\\\\?\\");
  std::string text(path);
  if (!literal) std::ranges::replace(text, '/', kSeparator);
  if (literal || text.starts_with("\\\\.\\") || text.starts_with("\\\\?\\")) {
    text.erase(0, 4);
    if (text.size() >= 4 && Upper(text[0]) == 'U' && Upper(text[1]) == 'N' &&
        Upper(text[2]) == 'C' && text[3] == kSeparator) {
      text.erase(0, 2)[0] = kSeparator;
    } else if (!StartsWithDrive(text) || text.size() < 3 || text[2] != kSeparator) {
      return std::nullopt;  // a device or a volume ("\\.\C:" is the disk itself)
    }
  } else if (StartsWithDrive(text) && (text.size() == 2 || text[2] != kSeparator)) {
    // "C:name" is relative to the current folder of that drive, which is known for one drive.
    if (!StartsWithDrive(currentFolder) || Upper(currentFolder[0]) != Upper(text[0])) {
      return std::nullopt;
    }
    text = AddSeparator(currentFolder, "B") + text.substr(2);
    std::ranges::replace(text, '/', kSeparator);
  } else if (!StartsWithDrive(text) && !text.starts_with("\\\\")) {
    std::string current(currentFolder);
    std::ranges::replace(current, '/', kSeparator);
    const std::size_t root = RootLength(current);
    if (root == 0) return std::nullopt;
    text = text.starts_with(kSeparator) ? current.substr(0, root) + text
                                        : AddSeparator(current, "B") + text;
  }

  const std::size_t root = RootLength(text);
  if (root == 0) return std::nullopt;
  std::string resolved = text.substr(0, root);
  if (resolved[1] == ':') resolved[0] = Upper(resolved[0]);
  std::string_view name;
  for (std::size_t start = root + 1; start <= text.size(); start += name.size() + 1) {
    name = std::string_view(text).substr(start, text.find(kSeparator, start) - start);
    std::string_view kept = name;
    if (kept != "." && kept != "..") {
      if (literal && (kept.ends_with('.') || kept.ends_with(' '))) return std::nullopt;
      kept = kept.substr(0, kept.find_last_not_of(". ") + 1);
    } else if (literal) {
      return std::nullopt;
    }
    if (kept.empty() || kept == ".") continue;
    if (kept == "..") {
      const auto last = resolved.rfind(kSeparator);
      if (last != std::string::npos && last >= root) resolved.resize(last);
      continue;
    }
    if (ForbiddenName(kept)) return std::nullopt;
    resolved += kSeparator;
    resolved += kept;
  }
  // A final "\" stays, and a drive's root keeps its own.
  if (resolved.size() > root ? text.back() == kSeparator : resolved[1] == ':') {
    resolved += kSeparator;
  }
  return resolved;
}

std::optional<std::string> ResolvedPath(const Platform& platform, std::string_view path,
                                        std::string_view currentFolder) {
  auto resolved = ResolvePath(path, currentFolder);
  if (!resolved || resolved->find('~') == std::string::npos) return resolved;
  // The long form of the deepest part of the path that exists; the rest cannot be a short name
  // of anything.
  const bool folderForm = resolved->back() == kSeparator;
  std::string head = StripSeparator(*resolved, "B");
  std::string tail;
  while (head.find(kSeparator) != std::string::npos) {
    if (const auto longName = platform.longPathName(head)) {
      std::string joined = StripSeparator(*longName, "B") + tail;
      if (folderForm) joined += kSeparator;
      return joined;
    }
    const auto last = head.rfind(kSeparator);
    tail = head.substr(last) + tail;
    head.resize(last);
  }
  return resolved;
}

std::string PathKey(const Platform& platform, std::string_view resolved) {
  return MapString(platform, StripSeparator(resolved, "B"), kMapUpperCase);
}

bool PathWithin(std::string_view inner, std::string_view outer) {
  return !outer.empty() && inner.starts_with(outer) &&
         (inner.size() == outer.size() || inner[outer.size()] == kSeparator);
}

}  // namespace orv
