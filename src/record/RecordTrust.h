// What the uninstaller may remove on the word of a record. UNSETUP.INI lies in the product's
// folder, which an ordinary user may be able to write, and its temporary copy in that user's
// temporary folder, while the uninstaller runs with administrator rights. So a record is trusted
// whole only when the Add/Remove entry it names (under HKEY_LOCAL_MACHINE, which only
// administrators can write, in either registry view) names this record file and holds the digest
// of its exact bytes. A record that is not is still uninstalled, but held to the product: files
// and folders in the product's own folder, shortcuts to them, and its own entry. Guard rails hold
// for every record: the uninstaller itself, anything that is not a plain file, a path that passes
// through a link and the folders of Windows and the shell are never removed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"
#include "record/KeyProtection.h"

namespace orv {

struct Globals;

namespace trust_text {
inline constexpr const char* kRecordChanged =
    "このアンセットアップ情報ファイルは，セットアップの後で書き換えられています．\r\r"
    "セットアップフォルダの外にあるファイル・フォルダ，その外を指すショートカットと，レジストリは"
    "削除しません．\r削除しなかったものは，最後に一覧で確認できます．";
}  // namespace trust_text

// The value of the Add/Remove entry that holds the SHA-256 digest of the record's bytes, as 64
// lower-case hexadecimal digits.
inline constexpr std::string_view kRecordDigestValue = "UninstallRecordSha256";

enum class RecordStanding {
  kVerified,  // the entry names this record file and holds the digest of these bytes
  kUnproven,  // no entry names this record file, or the entry holds no digest (an older program)
  kChanged,   // the entry names this record file, but the bytes are not those the setup wrote
};

// How a record stands, and the entry that names it.
struct RecordCheck {
  RecordStanding Standing = RecordStanding::kUnproven;
  // The entry whose command names the record file, in the view it was found in; no name when
  // none does.
  ProductEntry Entry;
};

// How the record whose exact bytes are given stands. entryKey is its [UnSetupRegistryKey] Key;
// recordFile is the full path of the record file the uninstall was started on (or the setup run
// merges). The entry is looked for in both views of 64-bit Windows (a setup of either build may
// have written it), the program's own first; one that vouches for these bytes is taken first.
RecordCheck CheckRecord(const Platform& platform, std::string_view bytes, std::string_view entryKey,
                        std::string_view recordFile);

// The view the setup that wrote the record wrote its entry and keys in: where its entry lies, or
// this program's own when no entry names it.
RegistryView RecordView(const Platform& platform, const RecordCheck& check);

// A path as a program that sees the record's view names it, as this program names it. On 64-bit
// Windows a 32-bit program's <Windows>\System32 is <Windows>\SysWOW64 (and its Sysnative the real
// System32); a record keeps the names of the setup that wrote it.
std::string PathInOwnView(const Platform& platform, const Globals& globals, std::string_view path,
                          RegistryView recordView);

// The record an uninstall command names: the path in its first pair of double quotes.
std::optional<std::string> RecordNamedBy(std::string_view command);

// Whether an uninstall command names recordFile: the path in its first pair of double quotes,
// compared as a path without regard to case.
bool CommandNamesRecord(const Platform& platform, std::string_view command,
                        std::string_view recordFile);

// The limits a record's entries are held to, and the path the uninstaller acts on for each: the
// entry resolved as Windows resolves it (relative paths from the temporary folder, the current
// folder of the uninstall run), so the path checked is the path removed.
class RecordScope {
 public:
  // A record in view (k64 or k32) names its paths as a program of that view does.
  RecordScope(const Platform& platform, const Globals& globals, std::string_view recordFile,
              bool verified, RegistryView view);

  bool verified() const { return verified_; }
  RegistryView view() const { return view_; }
  // A recorded path (with what follows it, such as a file's flag) as this program names it.
  std::string InOwnView(std::string_view recorded) const {
    return PathInOwnView(platform_, globals_, recorded, view_);
  }
  // The path of a recorded file, or nullopt when the record may not remove it: Windows would
  // resolve it to no file, or an unverified record names one outside the product's folder.
  std::optional<std::string> File(std::string_view recorded) const;
  // The same for a folder, which may also be the product's folder itself.
  std::optional<std::string> Folder(std::string_view recorded) const;
  // The same for a shortcut: an unverified record removes only ".lnk" files below the shell's
  // folders of the user or of all users, whose target lies in the product's folder.
  std::optional<std::string> Shortcut(std::string_view recorded) const;

 private:
  std::optional<std::string> Resolved(std::string_view recorded) const;
  bool InProductFolder(const std::string& path, bool folderItself) const;
  std::optional<std::string> Within(std::string_view recorded, bool folderItself) const;

  const Platform& platform_;
  const Globals& globals_;
  // The folder that holds the record file, in PathKey form; nullopt when it cannot hold a product
  // (it does not resolve, or it is a folder of Windows, of the shell or a drive's root).
  std::optional<std::string> productFolder_;
  bool verified_;
  RegistryView view_;
};

// The guard rails, checked right before each removal so that what was checked is what is there.
// A file goes only when it is a plain file (or missing: the delete then fails and is reported), is
// not the uninstaller or the running program, and no folder on its way is a link.
bool MayDeleteFile(const Platform& platform, const Globals& globals, std::string_view path);
// A folder goes only when it is not a drive's or a share's root, not one of Windows' or the
// shell's folders nor a folder that holds one, and neither it nor a folder on its way is a link.
bool MayRemoveFolder(const Platform& platform, const Globals& globals, std::string_view path);

// Whether what lies at path may be left to Windows to delete at its next start. Windows deletes it
// by name then, after anyone who may change a folder on its way could have made that folder a
// link to elsewhere: so only below the Program Files or the Windows folder, where folders are
// normally the administrators' alone (not in a temporary folder), with no link on the way now,
// and only for a record the setup wrote (the uninstall run sees to that).
bool MayDeleteAtRestart(const Platform& platform, const Globals& globals, std::string_view path);

// Whether a folder (resolved) lies below a Programs folder of another profile, where the shell
// looks for program groups: a run an administrator elevated for another user finds that user's
// groups there. That profile's Startup folder is the shell's own, never a group.
bool BelowOtherProfilesPrograms(const Platform& platform, std::string_view folder);

// Whether the program, with its rights, may write a file at path (a full path) that others may
// have prepared: no folder on the way is a junction, mount point or symbolic link, and what is
// there already, if anything, is a plain file with no other name (a hard link would have the
// write land in a file elsewhere).
bool MayWriteFileAt(const Platform& platform, std::string_view path);

// The uninstaller's copy of the record lies in the temporary folder of the user who started it,
// which that user's programs may write. A file already at the copy's place (a stale copy, perhaps
// read-only) goes first, unless it is the named record itself; the copy is made neither over a
// file nor through a link, and is never read-only, so no stale copy blocks a later start. False
// when no copy was made.
bool MakeRecordCopy(Platform& platform, std::string_view record, std::string_view copy);
// Deletes the copy, unless a folder on its way has become a link since it was made.
bool DeleteRecordCopy(Platform& platform, std::string_view copy);

// The shell's folders that hold shortcuts, of the user and of all users, in PathKey form; the
// folders the shell does not give are left out.
std::vector<std::string> ShellFolderKeys(const Platform& platform);

}  // namespace orv
