#include "common/ResolvedPath.h"

#include <array>
#include <vector>

#include "common/Platform.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

constexpr char kSeparator = '\\';

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Upper(text[i]) != Upper(prefix[i])) return false;
  }
  return true;
}

bool HoldsForbiddenCharacter(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("<>:\"|?*/").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, with any extension, name devices in every
// folder.
bool IsDeviceName(std::string_view name) {
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ')
    stem.pop_back();
  for (char& c : stem)
    c = Upper(c);
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

std::vector<std::string_view> Names(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::min(path.find(kSeparator, start), path.size());
    names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// The start of a full path ("C:" or "\\server\share") and the rest after it; nullopt when the
// path has neither.
struct Rooted {
  std::string root;
  std::string_view rest;
};
std::optional<Rooted> SplitRoot(std::string_view path) {
  if (StartsWithDrive(path)) {
    return Rooted{std::string(1, Upper(path[0])) + ":", path.substr(2)};
  }
  if (!path.starts_with("\\\\")) return std::nullopt;
  const auto server = path.find(kSeparator, 2);
  if (server == std::string_view::npos || server == 2) return std::nullopt;
  const auto share = path.find(kSeparator, server + 1);
  const std::string_view shareName =
      path.substr(server + 1, share == std::string_view::npos ? share : share - server - 1);
  if (shareName.empty()) return std::nullopt;
  const std::size_t end = share == std::string_view::npos ? path.size() : share;
  return Rooted{std::string(path.substr(0, end)), path.substr(end)};
}

}  // namespace

std::optional<std::string> ResolvePath(std::string_view path, std::string_view currentFolder) {
  if (path.empty()) return std::nullopt;
  // "\\?\" hands the rest to the file system as written: no separator but "\", no name dropped or
  // trimmed. Such a path is taken only when reading it the usual way gives the same names.
  const bool literal = path.starts_with("\\\\?\\");
  std::string text(path);
  for (char& c : text) {
    if (c == '/' && !literal) c = kSeparator;
  }
  if (literal || text.starts_with("\\\\.\\") || text.starts_with("\\\\?\\")) {
    text.erase(0, 4);
    if (StartsWithNoCase(text, "UNC\\")) {
      text.replace(0, 4, "\\\\");
    } else if (!StartsWithDrive(text) || text.size() < 3 || text[2] != kSeparator) {
      return std::nullopt;  // a device or a volume ("\\.\C:" is the disk itself)
    }
  } else if (StartsWithDrive(text) && (text.size() == 2 || text[2] != kSeparator)) {
    // "C:name" is relative to the current folder of that drive, which is known for one drive.
    if (!StartsWithDrive(currentFolder) || Upper(currentFolder[0]) != Upper(text[0])) {
      return std::nullopt;
    }
    text = AddSeparator(currentFolder, "B") + text.substr(2);
  } else if (!StartsWithDrive(text) && !text.starts_with("\\\\")) {
    const auto current = SplitRoot(currentFolder);
    if (!current) return std::nullopt;
    text = text.starts_with(kSeparator) ? current->root + text
                                        : AddSeparator(currentFolder, "B") + text;
  }

  const auto rooted = SplitRoot(text);
  if (!rooted) return std::nullopt;
  std::vector<std::string_view> names;
  for (std::string_view name : Names(rooted->rest)) {
    if (literal && (name == "." || name == ".." || name.ends_with('.') || name.ends_with(' '))) {
      return std::nullopt;
    }
    if (name != "." && name != "..") {
      const auto last = name.find_last_not_of(". ");
      name = last == std::string_view::npos ? std::string_view() : name.substr(0, last + 1);
    }
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    if (HoldsForbiddenCharacter(name)) return std::nullopt;
    names.push_back(name);
  }
  if (!names.empty() && IsDeviceName(names.back())) return std::nullopt;

  std::string resolved = rooted->root;
  for (const std::string_view name : names) {
    resolved += kSeparator;
    resolved += name;
  }
  const bool folderForm = text.back() == kSeparator;
  if ((folderForm || names.empty()) && !resolved.starts_with("\\\\")) resolved += kSeparator;
  if (folderForm && !names.empty() && resolved.starts_with("\\\\")) resolved += kSeparator;
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
