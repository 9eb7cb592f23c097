#include "record/UninstallRecord.h"

#include "common/FailureList.h"
#include "common/Globals.h"
#include "common/Platform.h"
#include "common/RegistryNames.h"
#include "common/Sha256.h"
#include "common/TextUtils.h"
#include "common/Wow64.h"
#include "record/KeyProtection.h"
#include "record/RecordList.h"
#include "record/RecordTrust.h"

namespace orv {

namespace {

// The root token of a root, as records write it.
std::string_view TokenOf(RegistryRoot root) {
  for (const auto& [token, named] : kRootTokens) {
    if (named == root) return token;
  }
  return "(Cuser)";
}

// A key of a record the setup wrote in the other view, as this run's record names it: the
// 32-bit view's keys have a spelling in the 64-bit view (below Wow6432Node), the 64-bit view's
// none in the 32-bit view but for the keys both views share.
std::optional<std::string> KeyInOwnView(const Platform& platform, const RecordScope& scope,
                                        const std::string& value) {
  const RegistryView own = SeenView(platform, RegistryView::kProgram);
  if (scope.view() == own) return value;
  const RecordedKey key = ParseRecordedKey(value);
  const std::string moved = KeyOf32BitView(platform, key.Root, key.Path);
  if (own == RegistryView::k64) return std::string(TokenOf(key.Root)) + moved;
  if (moved == key.Path) return value;
  return std::nullopt;
}

// A value of a section as this run records it, or nullopt when the uninstaller may not remove
// it on the earlier record's word. A record the setup wrote gives all its values, paths as this
// program names them (the uninstaller judges them again); another gives only what its scope lets
// through, as the scope resolved it, so what was judged is what the new record holds (a relative
// path would resolve elsewhere later).
std::optional<std::string> MergedValue(const Platform& platform, const RecordScope& scope,
                                       std::string_view section, const std::string& value) {
  if (section == "DeleteRegistry") {
    // No key is the product's on the word of a record the setup did not write.
    if (!scope.verified()) return std::nullopt;
    return KeyInOwnView(platform, scope, value);
  }
  const bool file = section == "DeleteFile";
  const auto comma = file ? value.find(',') : std::string::npos;
  const std::string path = value.substr(0, comma);
  const std::string flag = comma == std::string::npos ? "" : value.substr(comma);
  if (scope.verified()) return scope.InOwnView(path) + flag;
  const auto judged = section == "DeleteFolder" ? scope.Folder(path)
                      : file                    ? scope.File(path)
                                                : scope.Shortcut(path);
  if (!judged) return std::nullopt;
  return *judged + flag;
}

void MergeSection(const Platform& platform, const IniReader& record, std::string_view section,
                  std::string_view stem, RecordList& records, std::string_view tag,
                  FailureList& failures, const RecordScope& scope) {
  for (const auto& [index, value] :
       ReadNumberedValues(record, section, stem, static_cast<int>(records.Capacity()))) {
    const auto merged = MergedValue(platform, scope, section, value);
    if (!merged || !Kept(records.Insert(platform, *merged))) failures.Add(tag, value);
  }
}

// stem1 .. stemN for the entries that keep is true of, numbered from 1 in list order.
template <typename Keep>
IniSection NumberedSection(std::string name, std::string_view stem,
                           const std::vector<std::string>& entries, const Keep& keep) {
  IniSection section{std::move(name), {}};
  for (const std::string& entry : entries) {
    if (!keep(entry)) continue;
    section.entries.emplace_back(std::string(stem) + std::to_string(section.entries.size() + 1),
                                 entry);
  }
  return section;
}

}  // namespace

std::string UninstallerPath(const Globals& globals) {
  return StripSeparator(globals.WindowsFolder, "B") + "\\UNORSET.EXE";
}

std::optional<RecordCheck> MergeEarlierRecord(const Platform& platform, const Globals& globals,
                                              std::string_view path, RecordLists& lists,
                                              FailureList& failures) {
  if (!platform.fileExists(path)) return RecordCheck{};
  // One reading: the bytes the digest is checked on are the bytes merged.
  const auto bytes = platform.readFile(path, kIniFileMaxBytes);
  if (!bytes) return std::nullopt;
  const IniReader record = IniReader::FromBytes(platform, *bytes);
  const RecordCheck check =
      CheckRecord(platform, *bytes, record.Read("UnSetupRegistryKey", "Key", ""), path);
  const RecordScope scope(platform, globals, path, check.Standing == RecordStanding::kVerified,
                          RecordView(platform, check));
  MergeRecord(platform, record, lists, failures, scope);
  return check;
}

void MergeRecord(const Platform& platform, const IniReader& record, RecordLists& lists,
                 FailureList& failures, const RecordScope& scope) {
  MergeSection(platform, record, "DeleteFolder", "Folder", lists.DeleteFolderRecords,
               kFolderFailureTag, failures, scope);
  MergeSection(platform, record, "DeleteFile", "File", lists.DeleteFileRecords, kFileFailureTag,
               failures, scope);
  MergeSection(platform, record, "DeleteShortCut", "File", lists.DeleteShortCutRecords,
               kShortcutFailureTag, failures, scope);
  MergeSection(platform, record, "DeleteRegistry", "Key", lists.DeleteRegistryRecords,
               kRegistryFailureTag, failures, scope);
}

RecordedKey ParseRecordedKey(std::string_view entry) {
  const std::string_view token = entry.substr(0, 7);
  if (const auto root = RootOfToken(token)) {
    return {*root, StripSeparator(entry.substr(token.size()), "T")};
  }
  return {RegistryRoot::kCurrentUser, StripSeparator(entry, "T")};
}

void CompleteRecordLists(const Platform& platform, std::string_view recordPath,
                         const std::vector<std::string>& scriptKeys, RecordLists& lists,
                         FailureList& failures) {
  // The record lists itself once: an entry of any spelling of UNSETUP.INI will do.
  bool listed = false;
  for (const std::string& entry : lists.DeleteFileRecords.Entries()) {
    listed = listed ||
             platform.upperCase(FileNamePart(entry.substr(0, entry.find(',')))) == "UNSETUP.INI";
  }
  if (!listed && !Kept(lists.DeleteFileRecords.Insert(platform, recordPath))) {
    failures.Add(kFileFailureTag, recordPath);
  }
  for (const std::string& key : scriptKeys) {
    if (!Kept(lists.DeleteRegistryRecords.Insert(platform, key))) {
      failures.Add(kRegistryFailureTag, key);
    }
  }
}

std::vector<IniSection> UninstallRecordSections(const RecordLists& lists,
                                                std::string_view setupFolder,
                                                std::string_view unSetupTitle,
                                                std::string_view entryKey) {
  const auto any = [](const std::string&) { return true; };
  const auto namesAKey = [](const std::string& entry) {
    return !ParseRecordedKey(entry).Path.empty();
  };
  std::vector<IniSection> sections = {
      {"Information",
       {{"Message1", record_text::kMessage1},
        {"Message2", record_text::kMessage2},
        {"Message3", record_text::kMessage3}}},
      {"Title", {{"UnSetup", std::string(unSetupTitle)}}},
      {"SetupFolder", {{"Folder", std::string(setupFolder)}}},
      NumberedSection("DeleteFolder", "Folder", lists.DeleteFolderRecords.Entries(), any),
      NumberedSection("DeleteFile", "File", lists.DeleteFileRecords.Entries(), any),
      NumberedSection("DeleteShortCut", "File", lists.DeleteShortCutRecords.Entries(), any),
      NumberedSection("DeleteRegistry", "Key", lists.DeleteRegistryRecords.Entries(), namesAKey),
      {"UnSetupRegistryKey", {{"Key", std::string(entryKey)}}},
  };
  std::erase_if(sections, [](const IniSection& section) { return section.entries.empty(); });
  return sections;
}

std::optional<std::string> WriteRecord(Platform& platform, std::string_view path,
                                       const std::vector<IniSection>& sections) {
  // A record with a second name is no plain record of this product's: another user may have made
  // it one of a file elsewhere.
  if (platform.linkCount(path).value_or(1) > 1) return std::nullopt;
  const auto bytes = WriteIniFile(platform, path, sections);
  if (!bytes) return std::nullopt;
  return Sha256Hex(*bytes);
}

}  // namespace orv
