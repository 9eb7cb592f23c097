#include "check/ScriptCheck.h"

#include "check/ScriptTokens.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "app/Main.h"
#include "common/Globals.h"
#include "common/IniDocument.h"
#include "common/IniFile.h"
#include "common/Platform.h"
#include "common/Szdd.h"
#include "common/TextEncoding.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "record/KeyProtection.h"
#include "record/UninstallRecord.h"
#include "setup/AssociationPhase.h"
#include "setup/Completion.h"
#include "setup/CopyPhase.h"
#include "setup/PathMacros.h"
#include "setup/RegistryPhase.h"
#include "setup/RegistryWrite.h"
#include "setup/RunState.h"
#include "setup/SetupScript.h"
#include "uninstall/UninstallRun.h"

namespace orv {

namespace {

struct Numbered {
  std::string_view Stem;
  std::size_t Maximum;
};

// The sections the program reads, their plain keys and their numbered stems (the first stem
// decides whether an entry exists).
struct SectionRule {
  std::string_view Name;
  std::vector<std::string_view> Keys;
  std::vector<Numbered> Stems;
};

const std::vector<SectionRule>& SectionRules() {
  static const std::vector<SectionRule> rules = {
      {"Title",
       {"Setup", "UnSetup", "UnSetupKey", kProductValues[0].ScriptKey, kProductValues[1].ScriptKey,
        kProductValues[2].ScriptKey},
       {}},
      {"Readme", {"File", "Title"}, {}},
      {"DefaultFolder", {"Folder"}, {}},
      {"Extend", {"Enabled", "Architecture"}, {}},
      {"TopMessage", {}, {{"Message", 5}}},
      {"MakeFolder", {}, {{"Folder", RunState::kFolderCapacity}}},
      {"CopyFile", {}, {{"File", RunState::kFileKeys}}},
      {"ShortCut",
       {},
       {{"Make", RunState::kShortcutCapacity}, {"Name", RunState::kShortcutCapacity}}},
      {"Registry",
       {},
       {{"Key", RunState::kRegistryCapacity},
        {"Name", RunState::kRegistryCapacity},
        {"Value", RunState::kRegistryCapacity}}},
      {"Relate", {}, {{"Name", RunState::kRelateCapacity}, {"File", RunState::kRelateCapacity}}},
      {"DeleteRegistry", {}, {{"Key", RunState::kDeleteRegistryCapacity}}},
      {"ExecuteFile", {"File"}, {}},
  };
  return rules;
}

// For a text that spells one of the program's tokens in other letter case: which one.
std::string CaseHint(std::string_view text) {
  const auto like = KnownTokenLike(text);
  return like && *like != text ? " (tokens are case-sensitive: " + Quoted(*like) + ")" : "";
}

bool IsUninstallFlag(std::string_view flag) {
  return flag == kForceFlag || flag == kConfirmFlag || flag == kLeaveFlag;
}

std::string RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case RegistryRoot::kLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::kUsers:
      return "HKEY_USERS";
    case RegistryRoot::kCurrentUser:
      break;
  }
  return "HKEY_CURRENT_USER";
}

struct Key {
  std::size_t Line = 0;
  std::string Name;
  std::string Value;
};

struct Section {
  std::size_t Line = 0;
  std::string Name;
  std::vector<Key> Keys;
};

// A key the uninstall removes, its names in upper case.
struct RemovedKey {
  RegistryRoot Root;
  std::vector<std::string> Names;
};

class Checker {
 public:
  Checker(Platform& platform, const std::vector<std::string>& disks, const IniReader& script,
          bool packing)
      : p_(platform), disks_(disks), packing_(packing) {
    // What the run takes of the script is what the program's own loader takes, every option box
    // checked.
    Globals globals;
    globals.ProgramFolder = AddSeparator(disks.front(), "B");
    LoadScript(platform, globals, script, loaded_);
    for (const IniDocument::OutlineLine& line : script.document()->Outline()) {
      if (line.IsSection) {
        sections_.push_back({line.Number, line.Name, {}});
      } else if (sections_.empty()) {
        Add(line.Number, Severity::kWarning,
            Quoted(line.Name) + " comes before any section: it is never read");
      } else {
        sections_.back().Keys.push_back({line.Number, line.Name, line.Value});
      }
    }
  }

  std::vector<Finding> Run() {
    CheckLayout();
    CheckTitle();
    CheckOptions();
    CheckFolders();
    CheckFiles();
    CheckShortcuts();
    CheckRegistry();
    CheckRelations();
    CheckRemovals();
    CheckLeftBehind();
    std::ranges::stable_sort(findings_, {}, &Finding::Line);
    return std::move(findings_);
  }

 private:
  void Add(std::size_t line, Severity level, std::string text) {
    findings_.push_back({line, level, std::move(text)});
  }

  // The section the reader reads: the first of the name.
  const Section* Find(std::string_view name) const {
    for (const Section& section : sections_) {
      if (AsciiEqualNoCase(section.Name, name)) return &section;
    }
    return nullptr;
  }
  const Key* Find(std::string_view section, std::string_view key) const {
    const Section* found = Find(section);
    if (!found) return nullptr;
    for (const Key& each : found->Keys) {
      if (AsciiEqualNoCase(each.Name, key)) return &each;
    }
    return nullptr;
  }
  std::string Value(std::string_view section, std::string_view key) const {
    const Key* found = Find(section, key);
    return found ? found->Value : std::string();
  }
  std::string Entry(std::string_view stem, std::size_t index) const {
    return std::string(stem) + std::to_string(index);
  }
  // A value as the program reads it: cut at the reader's limit.
  static std::string AsRead(const Key* key) {
    return key ? std::string(TruncateToShiftJisBytes(key->Value, kIniValueMaxBytes)) : "";
  }
  // Whether the loader took the entry next in its table, which same recognises; moves on if so.
  template <typename Entry, typename Same>
  static bool Taken(const std::vector<Entry>& table, std::size_t& next, const Same& same) {
    if (next >= table.size() || !same(table[next])) return false;
    ++next;
    return true;
  }
  // An entry the loader dropped although no rule the checker knows says why.
  void Dropped(const Key& key) {
    Add(key.Line, Severity::kError, "the program drops this entry without a message");
  }

  // Whether an entry's first key holds a value; when it does not, each of the entry's other keys
  // is told to be ignored.
  bool Held(const Key* first, const std::string& firstName,
            std::initializer_list<const Key*> others) {
    if (first && !first->Value.empty()) return true;
    for (const Key* other : others) {
      if (other) {
        Add(other->Line, Severity::kWarning,
            Quoted(other->Name) + " has no " + firstName + ": the program ignores it");
      }
    }
    return false;
  }
  // Whether a key an entry cannot do without holds a value; when it does not, the entry's first
  // key is told what comes of it.
  bool Needed(const Key& first, const Key* needed, const std::string& neededName,
              std::string_view outcome) {
    if (needed && !needed->Value.empty()) return true;
    Add(first.Line, Severity::kError,
        neededName + (needed ? " is empty: " : " is missing: ") + std::string(outcome));
    return false;
  }

  void CheckLayout();
  void CheckKey(const Section& section, const SectionRule& rule, const Key& key);
  void CheckText(const Key& key);
  void CheckTokens(const Section& section, std::string_view stem, const Key& key);
  void CheckGaps(const SectionRule& rule);
  void CheckTitle();
  void CheckOptions();
  void CheckFolders();
  void CheckFiles();
  void CheckFileOnDisk(const Key& key, const std::string& name, int disk, bool changesDisk);
  std::optional<std::string> CheckCompressed(const Key& key, const std::string& source,
                                             const std::string& name);
  void CheckShortcuts();
  void CheckRegistry();
  void CheckRelations();
  void CheckRemovals();
  void CheckLeftBehind();
  bool Removed(RegistryRoot root, std::string_view path) const;

  Platform& p_;
  const std::vector<std::string>& disks_;
  bool packing_;  // the disks are to be packed: the packed program is their SETUP.EXE
  std::vector<Section> sections_;
  std::vector<Finding> findings_;
  RunState loaded_;
  // Keys the registry and association phases write, with the line that makes them.
  std::vector<std::pair<std::size_t, RegistryKeyPath>> written_;
  std::vector<RemovedKey> removed_;
};

void Checker::CheckLayout() {
  std::map<std::string, std::size_t> seen;  // section names in upper case, first line
  for (const Section& section : sections_) {
    if (const auto [first, added] = seen.emplace(AsciiUpper(section.Name), section.Line); !added) {
      Add(section.Line, Severity::kWarning,
          "[" + section.Name + "] appears again: only the first, at line " +
              std::to_string(first->second) + ", is read");
      continue;
    }
    const auto rule = std::ranges::find_if(SectionRules(), [&](const SectionRule& r) {
      return AsciiEqualNoCase(r.Name, section.Name);
    });
    if (rule == SectionRules().end()) {
      Add(section.Line, Severity::kWarning,
          "unknown section [" + section.Name + "]: the program never reads it");
      continue;
    }
    std::map<std::string, std::size_t> keys;
    for (const Key& key : section.Keys) {
      if (const auto [first, added] = keys.emplace(AsciiUpper(key.Name), key.Line); !added) {
        Add(key.Line, Severity::kWarning,
            Quoted(key.Name) + " appears again in [" + section.Name +
                "]: only the first, at line " + std::to_string(first->second) + ", is read");
        continue;
      }
      CheckKey(section, *rule, key);
    }
    CheckGaps(*rule);
  }
}

void Checker::CheckKey(const Section& section, const SectionRule& rule, const Key& key) {
  for (std::string_view plain : rule.Keys) {
    if (AsciiEqualNoCase(plain, key.Name)) {
      CheckText(key);
      CheckTokens(section, plain, key);
      return;
    }
  }
  for (const Numbered& numbered : rule.Stems) {
    if (key.Name.size() <= numbered.Stem.size() ||
        !AsciiEqualNoCase(key.Name.substr(0, numbered.Stem.size()), numbered.Stem)) {
      continue;
    }
    const std::string digits = key.Name.substr(numbered.Stem.size());
    if (!std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) continue;
    if (digits.front() == '0') {
      Add(key.Line, Severity::kError,
          Quoted(key.Name) + " is never read: entries are numbered from 1, without leading zeros");
    } else if (digits.size() > 3 || std::stoul(digits) > numbered.Maximum) {
      Add(key.Line, Severity::kError,
          Quoted(key.Name) + " is never read: [" + std::string(rule.Name) + "] holds " +
              std::string(numbered.Stem) + "1 to " + std::string(numbered.Stem) +
              std::to_string(numbered.Maximum));
    } else {
      CheckText(key);
      CheckTokens(section, numbered.Stem, key);
    }
    return;
  }
  Add(key.Line, Severity::kWarning,
      "unknown key " + Quoted(key.Name) + " in [" + section.Name + "]: the program never reads it");
}

void Checker::CheckText(const Key& key) {
  const auto shiftJis = p_.toShiftJis(key.Value);
  if (!shiftJis) {
    Add(key.Line, Severity::kWarning,
        "the value holds characters that have no Shift-JIS form, the code page the script is "
        "meant for");
  }
  std::size_t bytes = shiftJis ? shiftJis->size() : 0;
  if (!shiftJis) {
    for (std::size_t pos = 0; pos < key.Value.size();)
      bytes += ShiftJisByteCount(NextCodePoint(key.Value, pos));
  }
  if (bytes > kIniValueMaxBytes) {
    Add(key.Line, Severity::kError,
        "the value is " + std::to_string(bytes) + " bytes long: the program reads only its first " +
            std::to_string(kIniValueMaxBytes));
  }
}

void Checker::CheckTokens(const Section& section, std::string_view stem, const Key& key) {
  for (Finding& finding : StrayTokens(key.Line, section.Name, stem, key.Value))
    findings_.push_back(std::move(finding));
}

void Checker::CheckGaps(const SectionRule& rule) {
  if (rule.Stems.empty() || rule.Name == "TopMessage") return;
  const Numbered& first = rule.Stems.front();
  std::size_t last = 0;
  for (std::size_t index = 1; index <= first.Maximum; ++index) {
    const Key* key = Find(rule.Name, Entry(first.Stem, index));
    if (!key) continue;
    if (key->Value.empty()) {
      Add(key->Line, Severity::kWarning, Quoted(key->Name) + " is empty: the program skips it");
      continue;
    }
    if (index > last + 1) {
      Add(key->Line, Severity::kWarning,
          Quoted(key->Name) + " follows " +
              (last == 0 ? "no earlier entry" : Entry(first.Stem, last)) + " with " +
              (index == last + 2
                   ? Entry(first.Stem, last + 1)
                   : Entry(first.Stem, last + 1) + " to " + Entry(first.Stem, index - 1)) +
              " missing: the program reads on past gaps, so entries shift up");
    }
    last = index;
  }
}

void Checker::CheckTitle() {
  const Key* key = Find("Title", "UnSetupKey");
  if (key && !key->Value.empty() && !UsableEntryName(AsRead(key))) {
    Add(key->Line, Severity::kError,
        std::string("the uninstall entry's name ") +
            (key->Value.find('\\') != std::string::npos
                 ? "holds '\\', which would put the entry elsewhere than right below the "
                   "Uninstall branch"
                 : "is too long for the record to keep the entry's path whole") +
            ": the program names the entry after the uninstall title instead");
  }
}

void Checker::CheckOptions() {
  const Key* folder = Find("DefaultFolder", "Folder");
  if (!folder) {
    Add(0, Severity::kWarning,
        "no [DefaultFolder] Folder: the program proposes the Program Files folder itself");
  } else if (folder->Value.empty()) {
    Add(folder->Line, Severity::kWarning, "the folder is empty: the program proposes '\\'");
  } else if (const auto macro = std::string_view(folder->Value).substr(0, 5);
             (macro == "(Prg)" || macro == "(Win)" || macro == "(Sys)" || macro == "(Boo)") &&
             folder->Value.size() > 5 && folder->Value[5] != '\\') {
    Add(folder->Line, Severity::kWarning,
        "no '\\' after " + Quoted(macro) + ": the rest is joined to its folder's name");
  }
  const std::string_view reboot = completion_text::kRebootRequest;
  if (const Key* key = Find("ExecuteFile", "File");
      key && key->Value != reboot && AsciiEqualNoCase(key->Value, reboot)) {
    Add(key->Line, Severity::kError,
        "only " + Quoted(reboot) + " written so restarts Windows: " + Quoted(key->Value) +
            " is started as a program");
  }
  if (const Key* key = Find("Extend", "Enabled");
      key && key->Value != "False" && AsciiEqualNoCase(key->Value, "False")) {
    Add(key->Line, Severity::kWarning,
        "only 'False' written so locks the options: " + Quoted(key->Value) +
            " leaves them to the user");
  }
  if (const Key* key = Find("Extend", "Architecture");
      key && !key->Value.empty() && key->Value != kArchitecture64) {
    Add(key->Line, Severity::kWarning,
        "the architecture " + Quoted(key->Value) + " is not known: only " +
            Quoted(kArchitecture64) +
            " (a 64-bit application) changes the install; it is installed as a 32-bit one");
  }
  if (const Key* key = Find("Readme", "File"); key && !key->Value.empty()) {
    const std::string path = StripSeparator(disks_.front(), "B") + AddSeparator(key->Value, "T");
    const auto size = p_.fileSize(path);
    if (!size || !p_.fileExists(path)) {
      Add(key->Line, Severity::kError,
          "the readme " + Quoted(key->Value) + " is not on the disk: no readme is shown");
    } else if (*size > kReadmeMaxBytes) {
      Add(key->Line, Severity::kError,
          "the readme is " + std::to_string(*size) + " bytes long: readmes over " +
              std::to_string(kReadmeMaxBytes) + " bytes are not shown");
    }
  }
}

void Checker::CheckFolders() {
  // A folder is made one level at a time: its parent must be the setup folder, exist already or
  // come earlier in the list.
  // Folders are named without regard to case.
  std::set<std::string> made = {"(APP)\\"};
  for (std::size_t index = 1; index <= RunState::kFolderCapacity; ++index) {
    const Key* key = Find("MakeFolder", Entry("Folder", index));
    if (!key || key->Value.empty()) continue;
    const std::string folder = AddSeparator(key->Value, "B");
    const std::string upper = MapString(p_, NormalisePath(folder), kMapUpperCase);
    if (!made.insert(upper).second || !folder.starts_with("(App)\\")) continue;
    const std::string parent = FolderPart(StripSeparator(folder, "B"));
    if (!made.contains(MapString(p_, NormalisePath(parent), kMapUpperCase))) {
      Add(key->Line, Severity::kWarning,
          "the folder above it, " + Quoted(parent) +
              ", is not made before it: the folder phase makes one level at a time and fails "
              "here");
    }
  }
}

std::optional<std::string> Checker::CheckCompressed(const Key& key, const std::string& source,
                                                    const std::string& name) {
  const auto head = p_.readFileHead(source, kSzddHeaderSize);
  const auto header = head ? ParseSzddHeader(*head) : std::nullopt;
  if (!header) {
    Add(key.Line, Severity::kError,
        Quoted(name) +
            " is not a compressed file the expander reads (SZDD, method A): it would be "
            "installed as it is, under that name");
    return std::nullopt;
  }
  if (header->MissingCharacter == 0) {
    Add(key.Line, Severity::kWarning,
        Quoted(name) + " does not store the last character of its name: it is installed as " +
            Quoted(name));
  }
  const std::string scratch = p_.tempFolder() + "ORVCHECK.TMP";
  const bool expanded = p_.expandFile(source, scratch).succeeded();
  const std::uint64_t size = expanded ? p_.fileSize(scratch).value_or(0) : 0;
  (void)p_.deleteFile(scratch);
  if (!expanded) {
    Add(key.Line, Severity::kError, Quoted(name) + " cannot be expanded: its data is damaged");
  } else if (size != header->Length) {
    Add(key.Line, Severity::kError,
        Quoted(name) + " expands to " + std::to_string(size) + " bytes, but its header says " +
            std::to_string(header->Length));
  }
  return MapString(p_, ExpandedName(name, header->MissingCharacter), kMapUpperCase);
}

void Checker::CheckFileOnDisk(const Key& key, const std::string& name, int disk, bool changesDisk) {
  if (static_cast<std::size_t>(disk) > disks_.size()) return;
  if (p_.fileExists(StripSeparator(disks_[disk - 1], "B") + "\\" + name)) return;
  Add(key.Line, Severity::kError,
      Quoted(name) + " is not on disk " + std::to_string(disk) +
          (changesDisk ? ": the user is asked for that disk again until they cancel, which ends "
                         "the run"
                       : ", where the copy looks for it: it is skipped without a message"));
}

void Checker::CheckFiles() {
  Globals globals;
  globals.WindowsFolder = "C:\\WINDOWS";
  globals.SystemFolder = "C:\\WINDOWS\\SYSTEM";
  globals.TempFolder = "C:\\WINDOWS\\TEMP\\";
  globals.ProgramFilesFolder = "C:\\Program Files";
  const MacroFolders folders =
      MacroFolders::Of(globals, ProposedSetupFolder(Value("DefaultFolder", "Folder").empty()
                                                        ? "(Prg)\\"
                                                        : Value("DefaultFolder", "Folder"),
                                                    globals));
  std::map<std::string, std::size_t> installed;  // destination in upper case, line
  int disk = 1;
  std::size_t next = 0;
  std::size_t lastChange = 0;  // the line of the last disk change
  std::set<int> unchecked;
  for (std::size_t index = 1; index <= RunState::kFileKeys; ++index) {
    const Key* key = Find("CopyFile", Entry("File", index));
    if (!key || key->Value.empty()) continue;
    // The value as the run reads it: a longer one names what its first 254 bytes name.
    const std::string read = AsRead(key);
    const std::size_t comma = read.find(',');
    std::string destination = read.substr(0, comma);
    if (comma != std::string::npos) {
      const std::string flag(FirstCharacters(std::string_view(read).substr(comma), 3));
      if (!IsUninstallFlag(flag)) {
        const std::string upper = MapString(p_, flag, kMapUpperCase);
        Add(key->Line, Severity::kWarning,
            "the uninstaller does not know the flag " + Quoted(flag) +
                (IsUninstallFlag(upper) ? " (flags are upper case, " + Quoted(upper) + ")"
                                        : " (it knows ,/F ,/C and ,/L)") +
                ": the file is removed as if it had none");
      }
    }
    // The source name is the value's last component as written, prefix included.
    const std::string name = FileNamePart(destination);
    const bool changesDisk = destination.starts_with(kDiskChangePrefix);
    // Only an entry taken into the run changes the disk.
    if (!Taken(loaded_.FileList, next,
               [&](const ScriptFile& file) { return file.Value == read.substr(0, comma); })) {
      if (p_.fileExists(StripSeparator(disks_.front(), "B") + "\\" + name)) {
        Dropped(*key);
      } else {
        Add(key->Line, Severity::kError,
            Quoted(name) + " is not on the first disk: the entry is dropped without a message" +
                (disk > 1 || changesDisk ? " (files from later disks must be on the first disk too)"
                                         : ""));
      }
      continue;
    }
    if (changesDisk) {
      ++disk;
      lastChange = key->Line;
      destination.erase(0, kDiskChangePrefix.size());
    }
    if (static_cast<std::size_t>(disk) > disks_.size() && unchecked.insert(disk).second) {
      Add(key->Line, Severity::kWarning,
          "disk " + std::to_string(disk) + " was not given: its files were not checked");
    }
    CheckFileOnDisk(*key, name, disk, changesDisk);
    std::string target = ResolveMacros(destination, folders);
    if (target.ends_with('_') && static_cast<std::size_t>(disk) <= disks_.size()) {
      const std::string source = StripSeparator(disks_[disk - 1], "B") + "\\" + name;
      if (p_.fileExists(source)) {
        if (const auto expanded = CheckCompressed(*key, source, name)) {
          target = StripSeparator(FolderPart(target), "B") + "\\" + *expanded;
        }
      }
    }
    const std::string upper = MapString(p_, NormalisePath(target), kMapUpperCase);
    if (const auto [first, added] = installed.emplace(upper, key->Line); !added) {
      Add(key->Line, Severity::kWarning,
          "installs to the same file as line " + std::to_string(first->second) + ", " +
              Quoted(target));
    }
  }
  if (packing_) return;
  if (!p_.fileExists(StripSeparator(disks_.front(), "B") + "\\SETUP.EXE")) {
    Add(0, Severity::kError, "there is no SETUP.EXE on the disk: nothing runs the script");
  }
  // The uninstaller is copied at the end of the run, from the disk then in the drive.
  if (disk > 1 && static_cast<std::size_t>(disk) <= disks_.size() &&
      !p_.fileExists(StripSeparator(disks_[disk - 1], "B") + "\\SETUP.EXE")) {
    Add(lastChange, Severity::kError,
        "SETUP.EXE is not on disk " + std::to_string(disk) +
            ", the disk in the drive when the run ends: the uninstaller cannot be copied from it");
  }
}

void Checker::CheckShortcuts() {
  std::size_t next = 0;
  for (std::size_t index = 1; index <= RunState::kShortcutCapacity; ++index) {
    const Key* make = Find("ShortCut", Entry("Make", index));
    const Key* name = Find("ShortCut", Entry("Name", index));
    if (!Taken(loaded_.ShortcutList, next, [&](const ScriptShortcut& shortcut) {
          return shortcut.Make == AsRead(make) &&
                 shortcut.Name == (name ? AsRead(name) : kDefaultShortcutName);
        })) {
      if (Held(make, Entry("Make", index), {name})) Dropped(*make);
      continue;
    }
    if (!name || name->Value == kDefaultShortcutName) continue;
    const std::string placed = name->Value.substr(0, name->Value.find(','));
    const auto token = LeadingToken(placed, 5);
    const std::string link = token ? placed.substr(token->size()) : placed;
    if (FileNamePart(link).find_first_not_of(' ') == std::string::npos) {
      Add(name->Line, Severity::kWarning,
          "the shortcut has no name of its own: the program makes nothing for it (leave the key "
          "out for the target's own name)");
      continue;
    }
    const bool governed = std::ranges::any_of(kShortcutFolderTokens, [&](std::string_view each) {
      return name->Value.find(each) != std::string::npos;
    });
    if (!token && !governed) {
      Add(name->Line, Severity::kWarning,
          "the name has no folder token ((Dsk), (Sta), (Sup) or (Sen)): the shortcut goes to the "
          "programs menu, and no option box governs it");
    } else if (token &&
               std::ranges::find(kShortcutFolderTokens, *token) == kShortcutFolderTokens.end()) {
      Add(name->Line, Severity::kWarning,
          "the name's first five characters, " + Quoted(*token) +
              ", are taken for a folder token and dropped: the shortcut goes to the programs "
              "menu as " +
              Quoted(placed.substr(token->size())) + CaseHint(*token));
    }
  }
}

void Checker::CheckRegistry() {
  std::size_t next = 0;
  for (std::size_t index = 1; index <= RunState::kRegistryCapacity; ++index) {
    const Key* key = Find("Registry", Entry("Key", index));
    const Key* name = Find("Registry", Entry("Name", index));
    const Key* value = Find("Registry", Entry("Value", index));
    if (!Taken(loaded_.RegistryList, next, [&](const ScriptRegistryValue& entry) {
          return entry.Key == AsRead(key) && entry.Name == AsRead(name) &&
                 entry.Value == AsRead(value);
        })) {
      if (Held(key, Entry("Key", index), {name, value}) &&
          Needed(*key, name, Entry("Name", index),
                 "the program drops the whole entry (the unnamed value cannot be written)")) {
        Dropped(*key);
      }
      continue;
    }
    const RegistryKeyPath path = SplitRegistryKey(key->Value);
    if (const auto token = LeadingToken(key->Value, 7); token && !IsRootToken(*token)) {
      Add(key->Line, Severity::kWarning,
          Quoted(*token) + " is no root token: it is dropped and the key goes under " +
              "HKEY_CURRENT_USER" + CaseHint(*token));
    }
    if (path.Path.empty()) {
      Add(key->Line, Severity::kError,
          "the key names a root key: the run ends with an error before writing it");
      continue;
    }
    written_.emplace_back(key->Line, path);
    if (!value) continue;
    const std::string_view type = FirstCharacters(value->Value, 5);
    if (type == "(Bin)") {
      Add(value->Line, Severity::kError, "'(Bin)' values are not written");
    } else if ((type == "(Int)" || type == "(Dwd)") &&
               ParseRegistryInteger(std::string_view(value->Value).substr(5)) == 0) {
      const std::string_view data = std::string_view(value->Value).substr(5);
      const auto digits = data.find_first_not_of(" \t+-$");
      if (digits == std::string_view::npos ||
          data.find_first_not_of('0', digits) != std::string_view::npos) {
        Add(value->Line, Severity::kWarning,
            Quoted(data) + " is not a 32-bit integer: the value is written as 0");
      }
    }
  }
}

void Checker::CheckRelations() {
  std::size_t next = 0;
  for (std::size_t index = 1; index <= RunState::kRelateCapacity; ++index) {
    const Key* name = Find("Relate", Entry("Name", index));
    const Key* file = Find("Relate", Entry("File", index));
    if (!Taken(loaded_.RelateList, next, [&](const ScriptRelation& relation) {
          return relation.Name == AsRead(name) && relation.File == AsRead(file);
        })) {
      if (Held(name, Entry("Name", index), {file}) &&
          Needed(*name, file, Entry("File", index), "the program drops the association")) {
        Dropped(*name);
      }
      continue;
    }
    if (name->Value.starts_with('.')) {
      Add(name->Line, Severity::kWarning,
          "the extension is written with its dot: the program drops it, but write it without");
    }
    const FileType type = SplitFileType(name->Value);
    if (type.Extension.empty()) {
      Add(name->Line, Severity::kError,
          "the extension is empty: the program asks nothing and associates nothing");
      continue;
    }
    const std::string className = type.Extension + std::string(kAssociationClassSuffix);
    written_.push_back({name->Line, {RegistryRoot::kClassesRoot, "." + type.Extension}});
    written_.push_back({name->Line, {RegistryRoot::kClassesRoot, className}});
    // What the association phase leaves for the uninstall's class rule.
    (void)p_.writeRegistryValue(RegistryRoot::kClassesRoot, "." + type.Extension, "",
                                {RegistryType::kString, className, 0});
  }
}

void Checker::CheckRemovals() {
  const std::string setup =
      Find("Title", "Setup") ? Value("Title", "Setup") : std::string(main_text::kDefaultTitle);
  const std::string entry = UninstallEntryName(
      Value("Title", "UnSetupKey"), Find("Title", "UnSetup") ? Value("Title", "UnSetup") : setup);
  const std::string product = UninstallEntryOf(p_, std::string(kUninstallBranch) + entry);
  for (std::size_t index = 1; index <= RunState::kDeleteRegistryCapacity; ++index) {
    const Key* key = Find("DeleteRegistry", Entry("Key", index));
    if (!key || key->Value.empty()) continue;
    const RecordedKey recorded = ParseRecordedKey(key->Value);
    if (const auto token = LeadingToken(key->Value, 7);
        token && !IsRootToken(*token) && !KnownTokenLike(*token)) {
      Add(key->Line, Severity::kWarning,
          "no root token: the whole value is taken as a key under HKEY_CURRENT_USER");
    }
    if (JudgeKey(p_, recorded.Root, recorded.Path, true,
                 {product, SeenView(p_, RegistryView::kProgram)}) == KeyVerdict::kProtected) {
      Add(key->Line, Severity::kError,
          "the uninstaller refuses to delete " + RootName(recorded.Root) +
              (recorded.Path.empty() ? "" : "\\" + recorded.Path) +
              ": it belongs to Windows or to another product");
      continue;
    }
    std::vector<std::string> names = KeyNames(recorded.Path);
    for (std::string& each : names)
      each = MapString(p_, each, kMapUpperCase);
    removed_.push_back({recorded.Root, std::move(names)});
  }
}

bool Checker::Removed(RegistryRoot root, std::string_view path) const {
  std::vector<std::string> names = KeyNames(path);
  for (std::string& each : names)
    each = MapString(p_, each, kMapUpperCase);
  return std::ranges::any_of(removed_, [&](const RemovedKey& key) {
    return key.Root == root && key.Names.size() <= names.size() &&
           std::equal(key.Names.begin(), key.Names.end(), names.begin());
  });
}

void Checker::CheckLeftBehind() {
  std::set<std::string> told;
  for (const auto& [line, key] : written_) {
    const std::string full = RootName(key.Root) + "\\" + key.Path;
    if (Removed(key.Root, key.Path) || !told.insert(MapString(p_, full, kMapUpperCase)).second) {
      continue;
    }
    Add(line, Severity::kWarning,
        full + " stays after uninstall: no [DeleteRegistry] entry removes it or a key above it");
  }
}

// Bytes without a byte-order mark that are UTF-8 beyond ASCII: an editor's default today, and
// garbled text to a reader of Shift-JIS.
bool LooksLikeUtf8(std::string_view bytes) {
  if (DetectEncoding(bytes) != FileEncoding::kShiftJis || IsAscii(bytes)) return false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t at = pos;
    if (NextCodePoint(bytes, pos) == kReplacementCharacter &&
        bytes.substr(at, pos - at) != "\xEF\xBF\xBD") {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<Finding> CheckDisks(Platform& platform, const std::vector<std::string>& disks,
                                bool packing) {
  const std::string path = StripSeparator(disks.front(), "B") + "\\" + kSetupInfoFileName;
  const IniReader script(platform, path);
  if (!script.loaded()) {
    return {{0, Severity::kError,
             std::string(platform.fileExists(path) ? "SETUP.INI cannot be read"
                                                   : "there is no SETUP.INI on the disk") +
                 ": the program starts without a script and cannot install"}};
  }
  std::vector<Finding> findings = Checker(platform, disks, script, packing).Run();
  if (LooksLikeUtf8(platform.readFile(path, kIniFileMaxBytes).value_or(""))) {
    findings.insert(findings.begin(),
                    {0, Severity::kError,
                     "SETUP.INI is UTF-8 without a byte-order mark: the program reads it as "
                     "Shift-JIS, and its Japanese text comes out garbled (save it as Shift-JIS)"});
  }
  return findings;
}

}  // namespace orv
