// UNSETUP.INI, the record a setup run leaves in the setup folder of what it made, so that the
// uninstall run can remove it: its layout, the merge of an earlier record and the writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/IniFile.h"
#include "common/Platform.h"

namespace orv {

class FailureList;
struct Globals;
struct RecordLists;
class RecordScope;
struct RecordCheck;

namespace record_text {
inline constexpr const char* kMessage1 = "！！！　警告　！！！";
inline constexpr const char* kMessage2 =
    "このファイルをエディタなどで書き換えたり，削除しないでください．";
inline constexpr const char* kMessage3 = "書き換えた場合，アンセットアップ動作の保証はできません．";
}  // namespace record_text

// UNORSET.EXE in the Windows folder: the uninstaller every installation's entry starts on its
// record.
std::string UninstallerPath(const Globals& globals);

// Seeds the record lists from an UNSETUP.INI an earlier setup run left at path, so one uninstall
// removes what both runs made: [DeleteFolder], [DeleteFile], [DeleteShortCut] and
// [DeleteRegistry], each key in rising order, every non-empty value by the record-insert rule. A
// value a list cannot keep is reported in failures. Nothing happens when there is no file. A
// record its own Add/Remove entry does not vouch for (RecordTrust) gives only what the
// uninstaller would remove on its word; the rest is reported and left out, so this run's digest
// never vouches for a record planted in the folder.
// How the earlier record stood and the entry that names it (none when there is no file), or
// nullopt when a file is there but cannot be read (in use, denied, too large): nothing is merged.
std::optional<RecordCheck> MergeEarlierRecord(const Platform& platform, const Globals& globals,
                                              std::string_view path, RecordLists& lists,
                                              FailureList& failures);
// The same for a record already read, of the scope's standing and view: a record the setup did
// not write gives only what its scope lets through. Paths are taken as this program names them.
void MergeRecord(const Platform& platform, const IniReader& record, RecordLists& lists,
                 FailureList& failures, const RecordScope& scope);

// A [DeleteRegistry] entry: an exact seven-character root token and the key path after it (one
// leading "\" dropped), or, without a known token, the whole value under HKEY_CURRENT_USER.
struct RecordedKey {
  RegistryRoot Root = RegistryRoot::kCurrentUser;
  std::string Path;
};
RecordedKey ParseRecordedKey(std::string_view entry);

// Puts a setup run's last entries into the record lists: the record's own path (once, however an
// earlier run spelled it) and the script's [DeleteRegistry] keys. What the lists cannot keep is
// reported in failures.
void CompleteRecordLists(const Platform& platform, std::string_view recordPath,
                         const std::vector<std::string>& scriptKeys, RecordLists& lists,
                         FailureList& failures);

// The sections of UNSETUP.INI in the order the file holds them: [Information], [Title],
// [SetupFolder], the four record lists (a section only when it has entries; a registry entry
// naming no key is left out, so the uninstall never deletes below a root) and
// [UnSetupRegistryKey] naming the uninstall entry's key.
std::vector<IniSection> UninstallRecordSections(const RecordLists& lists,
                                                std::string_view setupFolder,
                                                std::string_view unSetupTitle,
                                                std::string_view entryKey);

// Writes UNSETUP.INI at path in one piece, replacing an earlier one at once; the digest of the
// bytes written (Sha256Hex), or nullopt when it could not be written or the file there has a
// second name (a hard link).
std::optional<std::string> WriteRecord(Platform& platform, std::string_view path,
                                       const std::vector<IniSection>& sections);

}  // namespace orv
