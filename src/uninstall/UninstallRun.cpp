#include "uninstall/UninstallRun.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "app/FailureDisplay.h"
#include "app/Main.h"
#include "app/RunLog.h"
#include "common/ErrorBox.h"
#include "common/IniFile.h"
#include "common/ResolvedPath.h"
#include "common/Sha256.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "record/KeyProtection.h"
#include "record/RecordList.h"
#include "record/UninstallRecord.h"

namespace orv {

namespace {

constexpr std::string_view kSetupFolderFailureTag = "<SetupFolder> ";
// Shortcut folders that the shell keeps: their names in old records.
constexpr std::string_view kStartupName = "\\ｽﾀｰﾄｱｯﾌﾟ\\";
constexpr std::string_view kSendToName = "\\SENDTO\\";

// Adds value unless a form of it in other letter case is there.
template <typename Entry, typename Upper>
void AddOnce(std::vector<Entry>& list, Entry value, const Upper& upper) {
  const std::string wanted = upper(value);
  for (const Entry& entry : list) {
    if (upper(entry) == wanted) return;
  }
  list.push_back(std::move(value));
}

// A key or value that is not there (any more) is gone.
bool Gone(Status deleted) {
  return deleted || deleted.error() == kErrorFileNotFound;
}

}  // namespace

std::string UninstallRun::Upper(std::string_view text) const {
  return MapString(main_.platform(), text, kMapUpperCase);
}

void UninstallRun::Execute() {
  const Raised raised = Run();
  if (!raised) return;
  // Nothing was removed; Exit is left to leave by.
  main_.btnEnd.setEnabled(true);
  main_.showError(raised->Message);
}

Raised UninstallRun::Run() {
  Platform& p = main_.platform();
  Globals& g = main_.globals();
  FailureList& failures = main_.runState().Failures;
  failures.Clear();
  main_.runState().End = RunEnd::kWorking;
  if (RunLog* log = g.Log) log->Write("uninstall run: record " + g.NamedInfoFile);
  main_.btnUnSetup.setEnabled(false);
  main_.btnEnd.setEnabled(false);
  main_.lblMessage.setCaption(uninstall_text::kUninstalling);
  p.processMessages();

  // The run works from one reading of the record, the bytes its digest is checked on; one it
  // cannot read, it does not start on.
  if (!main_.loadInfoFile()) return SetupError{main_text::kInfoFileMissing};
  WeighRecord();
  ReadRecord();
  if (const Status current = p.setCurrentFolder(g.TempFolder); !current) {
    return SetupError{SystemErrorText(p, current.error(), kIoErrorFormat)};
  }
  DeleteFiles();
  DeleteShortcuts();
  RemoveFolders();
  DeleteRegistryKeys();
  const Left left = KeepWhatIsLeft();
  const bool kept = left == Left::kRecorded;
  if (left == Left::kNothing) {
    DeleteUninstallEntry();
    RemoveSetupFolder();
  } else if (left == Left::kNotRecorded) {
    // The entry stays, so the product is not lost from the Apps list with what is left of it.
    failures.Add(kFileFailureTag, g.NamedInfoFile);
  }
  if (!DeleteRecordCopy(p, g.InfoFilePath)) failures.Add(kFileFailureTag, g.InfoFilePath);

  OfferFailureList(main_, failures, uninstall_text::kFailuresQuestion,
                   uninstall_text::kFailuresCaption, main_.btnUnSetup);
  if (g.AbortRequested) return std::nullopt;  // the application was asked to quit
  using namespace uninstall_text;
  const auto [text, caption, icon] =
      kept                 ? std::tuple(kLeftRecorded, kLeftCaption, kMbIconExclamation)
      : scheduled_.empty() ? std::tuple(kComplete, kCompleteCaption, kMbIconInformation)
                           : std::tuple(kRestartCompletes, kRestartCaption, kMbIconExclamation);
  main_.lblMessage.setCaption(text);
  p.processMessages();
  p.messageBox(text, caption, kMbOk | icon);
  main_.runState().End = !kept && !scheduled_.empty() ? RunEnd::kRestartNeeded : RunEnd::kCompleted;
  Finish();
  return std::nullopt;
}

bool UninstallRun::Whole(std::string_view value, std::string_view tag) {
  if (TruncateToShiftJisBytes(value, kRecordValueMaxBytes).size() == value.size()) return true;
  main_.runState().Failures.Add(tag, value);
  return false;
}

void UninstallRun::WeighRecord() {
  Platform& p = main_.platform();
  const Globals& g = main_.globals();
  entryKey_ = main_.info().Read("UnSetupRegistryKey", "Key", "");
  const RecordCheck check = CheckRecord(p, main_.infoBytes(), entryKey_, g.NamedInfoFile);
  if (check.Standing == RecordStanding::kChanged) {
    p.messageBox(trust_text::kRecordChanged, failure_text::kWarningCaption,
                 kMbOk | kMbIconExclamation);
  }
  product_ = check.Entry;
  scope_.emplace(p, g, g.NamedInfoFile, check.Standing == RecordStanding::kVerified,
                 RecordView(p, check));
}

void UninstallRun::ReadRecord() {
  const Platform& p = main_.platform();
  const Globals& g = main_.globals();
  const RecordScope& scope = *scope_;
  const IniReader& record = main_.info();
  const auto upper = [this](const RecordedPath& entry) { return Upper(entry.Shown()); };
  const auto read = [&](const char* section, const std::string& key) {
    return record.Read(section, key, "");
  };
  // Folders and keys the last recorded first, so a folder goes after the ones made in it.
  for (int n = 20; n >= 1; --n) {
    const std::string value = read("DeleteFolder", "Folder" + std::to_string(n));
    if (!value.empty() && Whole(value, kFolderFailureTag)) {
      AddOnce(folders_, RecordedPath{value, scope.Folder(value)}, upper);
    }
  }
  const auto key = [&](std::string_view folder) {
    const auto resolved = ResolvedPath(p, folder, g.TempFolder);
    return resolved ? PathKey(p, *resolved) : std::string();
  };
  const std::string windows = key(g.WindowsFolder);
  const std::string system = key(g.SystemFolder);
  for (int n = 1; n <= 101; ++n) {
    const std::string value = read("DeleteFile", "File" + std::to_string(n));
    if (value.empty() || !Whole(value, kFileFailureTag)) continue;
    const auto comma = value.find(',');
    const std::string path = value.substr(0, comma);
    FileRecord file{{path, scope.File(path)},
                    comma == std::string::npos
                        ? std::string()
                        : std::string(FirstCharacters(std::string_view(value).substr(comma), 3))};
    // A shared library in the Windows or System folder stays, unless the flag says otherwise.
    const std::string named = Upper(file.Path ? *file.Path : NormalisePath(path));
    const bool library =
        named.find(".OCX") != std::string::npos || named.find(".DLL") != std::string::npos;
    const bool shared = (!windows.empty() && named.find(windows) != std::string::npos) ||
                        (!system.empty() && named.find(system) != std::string::npos);
    if (file.Flag != kForceFlag && file.Flag != kConfirmFlag && library && shared) continue;
    AddOnce(files_, std::move(file), upper);
  }
  for (int n = 1; n <= 20; ++n) {
    const std::string value = read("DeleteShortCut", "File" + std::to_string(n));
    if (!value.empty() && Whole(value, kShortcutFailureTag)) {
      AddOnce(shortcuts_, RecordedPath{value, scope.Shortcut(value)}, upper);
    }
  }
  const auto text = [this](const std::string& entry) { return Upper(entry); };
  for (int n = 20; n >= 1; --n) {
    const std::string value = read("DeleteRegistry", "Key" + std::to_string(n));
    if (!value.empty() && Whole(value, kRegistryFailureTag)) AddOnce(registryKeys_, value, text);
  }
  setupFolder_ = read("SetupFolder", "Folder");
}

void UninstallRun::DeleteFiles() {
  Platform& p = main_.platform();
  Globals& g = main_.globals();
  for (const FileRecord& file : files_) {
    if (file.Flag == kLeaveFlag) continue;
    if (!file.Path || !MayDeleteFile(p, g, *file.Path)) {
      main_.runState().Failures.Add(kFileFailureTag, file.Shown());
      continue;
    }
    if (file.Flag == kConfirmFlag) {
      g.MessageText = *file.Path + "\r\r" + uninstall_text::kDeleteQuestion + "\r\r" +
                      uninstall_text::kCaution + "\r" + uninstall_text::kSharedWarning + "\r" +
                      uninstall_text::kOnlyWhenSure;
      g.MessageAnswer =
          p.messageBox(g.MessageText, uninstall_text::kDeleteCaption, kMbYesNo | kMbIconQuestion);
      if (g.MessageAnswer != kIdYes) {
        kept_.push_back(PathKey(p, *file.Path));
        main_.runState().Kept.Add(kFileFailureTag, *file.Path);
        continue;
      }
      // While the question waited, a folder on the way may have become a link.
      if (!MayDeleteFile(p, g, *file.Path)) {
        main_.runState().Failures.Add(kFileFailureTag, *file.Path);
        continue;
      }
    }
    if (!DeleteOrSchedule(*file.Path)) {
      main_.runState().Failures.Add(kFileFailureTag, *file.Path);
      if (p.fileExists(*file.Path)) leftFiles_.push_back(file.Recorded + file.Flag);
    }
  }
}

void UninstallRun::DeleteShortcuts() {
  Platform& p = main_.platform();
  const Globals& g = main_.globals();
  for (const RecordedPath& shortcut : shortcuts_) {
    // Judged when it goes: what an unverified record may remove depends on where it leads.
    const auto judged = scope_->Shortcut(shortcut.Recorded);
    if (!judged || !MayDeleteFile(p, g, *judged)) {
      main_.runState().Failures.Add(kShortcutFailureTag, shortcut.Shown());
      continue;
    }
    const std::string& path = *judged;
    const bool deleted = DeleteOrSchedule(path);
    // A program group goes with its last shortcut; the shell's own folders stay.
    const bool shellFolder = path.find(kStartupName) != std::string::npos ||
                             Upper(path).find(kSendToName) != std::string::npos;
    const std::string folder = FolderPart(path);
    if (!shellFolder && IsShortcutGroup(folder) && MayRemoveFolder(p, g, folder)) {
      (void)RemoveOrSchedule(folder);
    }
    if (!deleted) {
      main_.runState().Failures.Add(kShortcutFailureTag, path);
      if (p.fileExists(path)) leftShortcuts_.push_back(shortcut.Recorded);
    }
  }
}

void UninstallRun::RemoveFolders() {
  Platform& p = main_.platform();
  for (const RecordedPath& folder : folders_) {
    const bool may = folder.Path && MayRemoveFolder(p, main_.globals(), *folder.Path);
    if (may && RemoveOrSchedule(*folder.Path)) {
      removed_.push_back(PathKey(p, *folder.Path));
      continue;
    }
    FolderStays(kFolderFailureTag, folder.Shown(), may ? folder.Path : std::nullopt);
    // Kept, should a later uninstall have the rest to remove; a folder goes only when empty.
    if (may && p.folderExists(*folder.Path))
      leftFolders_.insert(leftFolders_.begin(), folder.Recorded);
  }
}

void UninstallRun::FolderStays(std::string_view tag, std::string_view shown,
                               const std::optional<std::string>& folder) {
  RunState& state = main_.runState();
  state.Failures.Add(tag, shown);
  if (!folder || !HoldsOnlyKept(*folder)) return;
  // It stays only for what the user (or the unattended answer) chose to keep.
  kept_.push_back(PathKey(main_.platform(), *folder));
  state.Kept.Add(tag, shown);
  ++state.KeptFailures;
}

bool UninstallRun::HoldsOnlyKept(const std::string& folder) const {
  const Platform& p = main_.platform();
  const auto entries = p.folderEntries(folder);
  if (!entries || entries->empty()) return false;
  const std::string base = AddSeparator(PathKey(p, folder), "B");
  return std::ranges::all_of(*entries, [&](const std::string& name) {
    return std::ranges::find(kept_, base + Upper(name)) != kept_.end();
  });
}

bool UninstallRun::IsShortcutGroup(std::string_view folder) const {
  const Platform& p = main_.platform();
  // Without every shell folder of the user known, a group cannot be told from one of them
  // (Startup lies below the programs menu).
  for (const int shell : {csidl::kDesktop, csidl::kPrograms, csidl::kStartup, csidl::kSendTo}) {
    const auto path = p.specialFolder(shell);
    if (!path || path->empty()) return false;
  }
  const std::string wanted = PathKey(p, folder);
  return std::ranges::any_of(ShellFolderKeys(p),
                             [&wanted](const std::string& shell) {
                               return wanted.size() > shell.size() && PathWithin(wanted, shell);
                             }) ||
         BelowOtherProfilesPrograms(p, folder);
}

void UninstallRun::DeleteRegistryKeys() {
  Platform& p = main_.platform();
  entryValid_ = !UninstallEntryOf(p, entryKey_).empty();
  const auto existsIn = [&](RegistryView view) {
    return p.registryKeyExists({RegistryRoot::kLocalMachine, view}, entryKey_);
  };
  // An entry there that names another record is another product's.
  entryForeign_ = entryValid_ && product_.Name.empty() &&
                  (existsIn(RegistryView::k64) || existsIn(RegistryView::k32));
  const auto keyLeft = [this](const std::string& recorded) {
    main_.runState().Failures.Add(kRegistryFailureTag, recorded);
    leftKeys_.insert(leftKeys_.begin(), recorded);
  };
  for (const std::string& recorded : registryKeys_) {
    const RecordedKey key = ParseRecordedKey(recorded);
    const RegistryHive hive(key.Root, scope_->view());
    switch (JudgeKey(p, hive, key.Path, scope_->verified(), product_)) {
      case KeyVerdict::kProtected:
        main_.runState().Failures.Add(kRegistryFailureTag, recorded);
        break;
      case KeyVerdict::kDelete:
        if (!Gone(p.deleteRegistryKey(hive, key.Path))) keyLeft(recorded);
        break;
      case KeyVerdict::kUndoAssociation:
        // Windows keeps its own values and keys in an extension's key: only the product's goes.
        if (!Gone(p.deleteRegistryValue(hive, key.Path, ""))) {
          keyLeft(recorded);
        } else if (p.registryKeyEmpty(hive, key.Path)) {
          (void)p.deleteRegistryKey(hive, key.Path);
        }
        break;
    }
  }
}

bool UninstallRun::DeleteOrSchedule(const std::string& path) {
  Platform& p = main_.platform();
  // Read-only files go too: the user asked to remove the product.
  if (p.deleteExactly(path)) return true;
  // Windows deletes by name then, after anyone who may change a folder on the way had the time
  // to make it a link: never on the word of a record the setup did not write.
  if (!scope_->verified() || !p.fileExists(path) || !MayDeleteAtRestart(p, main_.globals(), path) ||
      !p.deleteAtRestart(path)) {
    return false;
  }
  scheduled_.push_back(PathKey(p, path));
  return true;
}

bool UninstallRun::RemoveOrSchedule(const std::string& folder) {
  Platform& p = main_.platform();
  if (p.deleteExactly(folder)) return true;
  const std::string key = PathKey(p, folder);
  if (!scope_->verified() ||
      std::ranges::none_of(scheduled_,
                           [&key](const std::string& going) { return PathWithin(going, key); }) ||
      !MayDeleteAtRestart(p, main_.globals(), folder) || !p.deleteAtRestart(folder)) {
    return false;
  }
  scheduled_.push_back(key);
  return true;
}

UninstallRun::Left UninstallRun::KeepWhatIsLeft() {
  if (product_.Name.empty() ||
      (leftFiles_.empty() && leftShortcuts_.empty() && leftKeys_.empty())) {
    return Left::kNothing;
  }
  Platform& p = main_.platform();
  const Globals& g = main_.globals();
  // The record is written with administrator rights where other users may write: not through a
  // link, nor onto anything but a plain file of one name.
  if (!MayWriteFileAt(p, g.NamedInfoFile)) return Left::kNotRecorded;
  RecordLists left;
  const auto insert = [&p](RecordList& list, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries)
      (void)list.Insert(p, entry);
  };
  insert(left.DeleteFolderRecords, leftFolders_);
  insert(left.DeleteFileRecords, leftFiles_);
  insert(left.DeleteShortCutRecords, leftShortcuts_);
  insert(left.DeleteRegistryRecords, leftKeys_);
  CompleteRecordLists(p, g.NamedInfoFile, {}, left, main_.runState().Failures);
  // A record not the setup's own keeps to its own folder and is never vouched for: it stays held
  // to the product, and a later uninstall of it asks its entry again.
  const bool verified = scope_->verified();
  const std::string folder = verified ? setupFolder_ : FolderPart(g.NamedInfoFile);
  const auto digest = WriteRecord(p, g.NamedInfoFile,
                                  UninstallRecordSections(left, folder, g.UnSetupTitle, entryKey_));
  if (!digest) return Left::kNotRecorded;
  const RegistryHive machine(RegistryRoot::kLocalMachine, product_.View);
  if (verified && p.registryKeyExists(machine, entryKey_)) {
    // Without the renewed digest the record would count as changed.
    (void)p.writeRegistryValue(machine, entryKey_, std::string(kRecordDigestValue),
                               {RegistryType::kString, *digest, 0});
  }
  return Left::kRecorded;
}

void UninstallRun::DeleteUninstallEntry() {
  // An entry that is no product's (empty, the branch itself) or another product's stays.
  if (!entryValid_ || entryForeign_) {
    main_.runState().Failures.Add(kRegistryFailureTag, entryKey_);
    return;
  }
  if (product_.Name.empty()) return;  // there is none
  (void)main_.platform().deleteRegistryKey({RegistryRoot::kLocalMachine, product_.View}, entryKey_);
}

void UninstallRun::RemoveSetupFolder() {
  Platform& p = main_.platform();
  if (!Whole(setupFolder_, kSetupFolderFailureTag)) return;
  const auto folder = scope_->Folder(setupFolder_);
  // A setup folder the record also lists as a folder is gone already: no failure.
  if (folder && std::ranges::find(removed_, PathKey(p, *folder)) != removed_.end()) return;
  const bool may = folder && MayRemoveFolder(p, main_.globals(), *folder);
  if (!may || !RemoveOrSchedule(*folder)) {
    FolderStays(kSetupFolderFailureTag, setupFolder_, may ? folder : std::nullopt);
  }
}

void UninstallRun::Finish() {
  main_.frmBack().setRunFinished();
  main_.setModalResult(kModalOk);
}

}  // namespace orv
