#include "record/RecordTrust.h"

#include <algorithm>
#include <array>

#include "common/Globals.h"
#include "common/ResolvedPath.h"
#include "common/Sha256.h"
#include "common/TextUtils.h"
#include "common/Wow64.h"
#include "record/KeyProtection.h"
#include "record/UninstallRecord.h"

namespace orv {

namespace {

constexpr std::array<int, 7> kShellFolders = {
    csidl::kDesktop,       csidl::kPrograms,       csidl::kStartup,      csidl::kSendTo,
    csidl::kCommonDesktop, csidl::kCommonPrograms, csidl::kCommonStartup};

std::optional<std::string> KeyOf(const Platform& platform, std::string_view path,
                                 std::string_view currentFolder) {
  const auto resolved = ResolvedPath(platform, path, currentFolder);
  if (!resolved) return std::nullopt;
  return PathKey(platform, *resolved);
}

bool IsRoot(std::string_view key) {
  return (key.size() == 2 && key[1] == ':') ||
         (key.starts_with("\\\\") && KeyNames(key).size() <= 2);
}

// The folders no record may remove, in PathKey form: Windows', the shell's and the temporary
// folder.
std::vector<std::string> KeptFolderKeys(const Platform& platform, const Globals& globals) {
  std::vector<std::string> kept = ShellFolderKeys(platform);
  for (const std::string& folder : {globals.WindowsFolder, globals.SystemFolder,
                                    globals.ProgramFilesFolder, globals.TempFolder}) {
    if (const auto key = KeyOf(platform, folder, globals.TempFolder)) kept.push_back(*key);
  }
  return kept;
}

// A folder no record may remove: a root, one of the kept folders or one that holds one.
bool ProtectedFolder(const Platform& platform, const Globals& globals, std::string_view key) {
  if (IsRoot(key)) return true;
  return std::ranges::any_of(KeptFolderKeys(platform, globals),
                             [key](const std::string& kept) { return PathWithin(kept, key); });
}

// Whether a folder on the way to a resolved path (the first one below its root and on), or with
// itself the path too, is a junction, a mount point or a symbolic link.
bool PassesThroughLink(const Platform& platform, std::string_view path, bool itself) {
  const std::string whole = StripSeparator(path, "B");
  // The separator after the root, "C:" or "\\server\share".
  std::size_t at = whole.starts_with("\\\\") ? whole.find('\\', whole.find('\\', 2) + 1) : 2;
  while (at != std::string::npos && at < whole.size()) {
    const auto next = whole.find('\\', at + 1);
    if (next == std::string::npos && !itself) break;
    const auto attributes = platform.fileAttributes(whole.substr(0, next));
    if (attributes && (*attributes & attr::kReparsePoint) != 0) return true;
    at = next;
  }
  return false;
}

// What no plain file is.
constexpr std::uint32_t kNotPlain = attr::kDirectory | attr::kDevice | attr::kReparsePoint;

bool EndsWithLinkExtension(std::string_view key) {
  return key.size() > 4 && key.substr(key.size() - 4) == ".LNK";
}

}  // namespace

std::vector<std::string> ShellFolderKeys(const Platform& platform) {
  std::vector<std::string> keys;
  for (const int folder : kShellFolders) {
    const auto path = platform.specialFolder(folder);
    if (!path || path->empty()) continue;
    if (const auto key = KeyOf(platform, *path, *path)) keys.push_back(*key);
  }
  return keys;
}

bool MayDeleteAtRestart(const Platform& platform, const Globals& globals, std::string_view path) {
  const std::string key = PathKey(platform, path);
  const auto below = [&](const std::string& folder) {
    const auto outer = KeyOf(platform, folder, globals.TempFolder);
    return outer && !IsRoot(*outer) && key.size() > outer->size() && PathWithin(key, *outer);
  };
  // Windows' temporary folder is one that every user may write in.
  return (below(globals.ProgramFilesFolder) || below(globals.WindowsFolder)) &&
         !below(StripSeparator(globals.WindowsFolder, "B") + "\\TEMP") &&
         !below(globals.TempFolder) && !PassesThroughLink(platform, path, true);
}

bool BelowOtherProfilesPrograms(const Platform& platform, std::string_view folder) {
  const auto key = [&platform](int shell) -> std::optional<std::string> {
    const auto path = platform.specialFolder(shell);
    return path && !path->empty() ? KeyOf(platform, *path, *path) : std::nullopt;
  };
  const auto profile = key(csidl::kProfile);
  const auto programs = key(csidl::kPrograms);
  const auto startup = key(csidl::kStartup);
  const auto wanted = KeyOf(platform, folder, folder);
  if (!profile || !programs || !startup || !wanted || !PathWithin(*programs, *profile) ||
      !PathWithin(*startup, *profile)) {
    return false;
  }
  // The profiles lie side by side: <profiles>\<name>, and the shell's folders at the same place
  // in each.
  const std::string profiles = profile->substr(0, profile->rfind('\\') + 1);
  if (!wanted->starts_with(profiles)) return false;
  const std::string other = wanted->substr(0, wanted->find('\\', profiles.size()));
  if (other == *profile) return false;
  const std::string theirPrograms = other + programs->substr(profile->size());
  return wanted->size() > theirPrograms.size() && PathWithin(*wanted, theirPrograms) &&
         *wanted != other + startup->substr(profile->size());
}

std::optional<std::string> RecordNamedBy(std::string_view command) {
  const auto open = command.find('"');
  const auto close = open == std::string_view::npos ? open : command.find('"', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(command.substr(open + 1, close - open - 1));
}

bool CommandNamesRecord(const Platform& platform, std::string_view command,
                        std::string_view recordFile) {
  const auto path = RecordNamedBy(command);
  if (!path) return false;
  const auto named = KeyOf(platform, *path, "");
  const auto record = KeyOf(platform, recordFile, "");
  return named && record && *named == *record;
}

RecordCheck CheckRecord(const Platform& platform, std::string_view bytes, std::string_view entryKey,
                        std::string_view recordFile) {
  const std::string name = UninstallEntryOf(platform, entryKey);
  if (name.empty()) return {};
  std::optional<RecordCheck> found;
  for (const RegistryView view : ViewsOwnFirst(platform)) {
    const RegistryHive machine(RegistryRoot::kLocalMachine, view);
    const auto command = platform.readRegistryValue(machine, entryKey, "UninstallString");
    if (!command || !CommandNamesRecord(platform, command->text, recordFile)) continue;
    const auto digest = platform.readRegistryValue(machine, entryKey, kRecordDigestValue);
    const RecordStanding standing = !digest                            ? RecordStanding::kUnproven
                                    : digest->text == Sha256Hex(bytes) ? RecordStanding::kVerified
                                                                       : RecordStanding::kChanged;
    if (standing == RecordStanding::kVerified) return {standing, {name, view}};
    if (!found) found = RecordCheck{standing, {name, view}};
  }
  return found.value_or(RecordCheck{});
}

RegistryView RecordView(const Platform& platform, const RecordCheck& check) {
  return check.Entry.Name.empty() ? SeenView(platform, RegistryView::kProgram) : check.Entry.View;
}

std::string PathInOwnView(const Platform& platform, const Globals& globals, std::string_view path,
                          RegistryView recordView) {
  const RegistryView own = SeenView(platform, RegistryView::kProgram);
  if (!platform.windows64() || recordView == own) return std::string(path);
  // Windows redirects what a path names, whatever its spelling.
  const auto resolved = ResolvedPath(platform, path, globals.TempFolder);
  const auto windows = ResolvedPath(platform, globals.WindowsFolder, globals.TempFolder);
  if (!resolved || !windows || globals.WindowsFolder.empty()) return std::string(path);
  const std::string prefix = StripSeparator(*windows, "B") + "\\";
  if (resolved->size() <= prefix.size() ||
      platform.upperCase(resolved->substr(0, prefix.size())) != platform.upperCase(prefix)) {
    return std::string(path);
  }
  const auto end = std::min(resolved->find('\\', prefix.size()), resolved->size());
  const std::string name = platform.upperCase(resolved->substr(prefix.size(), end - prefix.size()));
  const std::string below = platform.upperCase(resolved->substr(end));
  // A 64-bit program reads a 32-bit setup's record; a 32-bit program a 64-bit one's.
  std::string_view renamed;
  if (own == RegistryView::k64 && name == "SYSTEM32" && RedirectedBelowSystem32(below)) {
    renamed = "SysWOW64";
  } else if (own == RegistryView::k64 && name == "SYSNATIVE") {
    renamed = "System32";
  } else if (own == RegistryView::k32 && name == "SYSTEM32" && RedirectedBelowSystem32(below)) {
    renamed = "Sysnative";
  } else {
    return std::string(path);
  }
  return prefix + std::string(renamed) + resolved->substr(end);
}

RecordScope::RecordScope(const Platform& platform, const Globals& globals,
                         std::string_view recordFile, bool verified, RegistryView view)
    : platform_(platform), globals_(globals), verified_(verified), view_(view) {
  const auto folder = KeyOf(platform, FolderPart(recordFile), globals.TempFolder);
  const auto windows = KeyOf(platform, globals.WindowsFolder, globals.TempFolder);
  // Some folders of Windows' are open to every user: one of them is never the product's own on
  // the word of a record the setup did not write.
  const bool inWindows = folder && windows && PathWithin(*folder, *windows);
  if (folder && !ProtectedFolder(platform, globals, *folder) && (verified || !inWindows)) {
    productFolder_ = folder;
  }
}

std::optional<std::string> RecordScope::Resolved(std::string_view recorded) const {
  return ResolvedPath(platform_, PathInOwnView(platform_, globals_, recorded, view_),
                      globals_.TempFolder);
}

bool RecordScope::InProductFolder(const std::string& path, bool folderItself) const {
  const std::string key = PathKey(platform_, path);
  return productFolder_ && PathWithin(key, *productFolder_) &&
         (key != *productFolder_ || folderItself);
}

std::optional<std::string> RecordScope::Within(std::string_view recorded, bool folderItself) const {
  auto resolved = Resolved(recorded);
  if (!resolved || verified_ || InProductFolder(*resolved, folderItself)) return resolved;
  return std::nullopt;
}

std::optional<std::string> RecordScope::File(std::string_view recorded) const {
  return Within(recorded, false);
}

std::optional<std::string> RecordScope::Folder(std::string_view recorded) const {
  return Within(recorded, true);
}

std::optional<std::string> RecordScope::Shortcut(std::string_view recorded) const {
  auto resolved = Resolved(recorded);
  if (!resolved || verified_) return resolved;
  const std::string key = PathKey(platform_, *resolved);
  const auto below = [&key](const std::string& shell) {
    return key.size() > shell.size() && PathWithin(key, shell);
  };
  if (!EndsWithLinkExtension(key) || !std::ranges::any_of(ShellFolderKeys(platform_), below)) {
    return std::nullopt;
  }
  // Another product's link, Windows' own or the user's lead elsewhere.
  const auto target = platform_.shellLinkTarget(*resolved);
  const auto targetPath =
      target ? ResolvedPath(platform_, *target, globals_.TempFolder) : std::nullopt;
  if (!targetPath || !InProductFolder(*targetPath, true)) return std::nullopt;
  return resolved;
}

bool MayDeleteFile(const Platform& platform, const Globals& globals, std::string_view path) {
  const std::string key = PathKey(platform, path);
  for (const std::string& self : {UninstallerPath(globals), platform.programFilePath()}) {
    if (KeyOf(platform, self, globals.TempFolder) == key) return false;
  }
  const auto attributes = platform.fileAttributes(path);
  if (attributes && (*attributes & kNotPlain) != 0) return false;
  return !PassesThroughLink(platform, path, false);
}

bool MayRemoveFolder(const Platform& platform, const Globals& globals, std::string_view path) {
  return !ProtectedFolder(platform, globals, PathKey(platform, path)) &&
         !PassesThroughLink(platform, path, true);
}

bool MakeRecordCopy(Platform& platform, std::string_view record, std::string_view copy) {
  const std::string current = platform.currentFolder();
  const auto from = ResolvedPath(platform, record, current);
  const auto to = ResolvedPath(platform, copy, current);
  if (!from || !to || PassesThroughLink(platform, *to, false)) return false;
  if (platform.fileExists(*to) && PathKey(platform, *from) != PathKey(platform, *to)) {
    platform.clearReadOnly(*to);
    (void)platform.deleteFile(*to);
  }
  if (!platform.copyFile(*from, *to, true)) return false;
  platform.clearReadOnly(*to);
  return true;
}

bool MayWriteFileAt(const Platform& platform, std::string_view path) {
  const auto attributes = platform.fileAttributes(path);
  return !PassesThroughLink(platform, path, false) &&
         (!attributes || ((*attributes & kNotPlain) == 0 && platform.linkCount(path) == 1u));
}

bool DeleteRecordCopy(Platform& platform, std::string_view copy) {
  return !PassesThroughLink(platform, copy, false) && platform.deleteExactly(copy).succeeded();
}

}  // namespace orv
