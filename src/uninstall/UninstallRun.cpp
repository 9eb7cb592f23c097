#include "uninstall/UninstallRun.h"

#include <algorithm>
#include <array>

#include "app/FailureDisplay.h"
#include "app/Main.h"
#include "common/ErrorBox.h"
#include "common/IniFile.h"
#include "common/SetupError.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "setup/RecordList.h"
#include "uninstall/KeyProtection.h"
#include "uninstall/UninstallRecord.h"

namespace orv {

namespace {

constexpr std::string_view kSetupFolderFailureTag = "<SetupFolder> ";
// Shortcut folders that the shell keeps: their names in old records.
constexpr std::string_view kStartupName = "\\ｽﾀｰﾄｱｯﾌﾟ\\";
constexpr std::string_view kSendToName = "\\SENDTO\\";

// Adds value unless a form of it in other letter case is there.
template <typename Upper>
bool AddOnce(std::vector<std::string>& list, std::string value, const Upper& upper) {
  const std::string wanted = upper(value);
  for (const std::string& entry : list) {
    if (upper(entry) == wanted) return false;
  }
  list.push_back(std::move(value));
  return true;
}

// A file the record names goes even when it is read-only: the user asked to remove the product.
bool DeleteRecordedFile(Platform& p, const std::string& path) {
  p.clearReadOnly(path);
  return p.deleteFile(path).succeeded();
}

}  // namespace

std::string UninstallRun::Upper(std::string_view text) const {
  return MapString(main_.platform(), text, kMapUpperCase);
}

void UninstallRun::Execute() {
  try {
    Run();
  } catch (const SetupError&) {
    // Nothing was removed; Exit is left to leave by.
    main_.btnEnd.setEnabled(true);
    throw;
  }
}

void UninstallRun::Run() {
  Platform& p = main_.platform();
  Globals& g = main_.globals();
  FailureList& failures = main_.runState().Failures;
  failures.Clear();
  main_.btnUnSetup.setEnabled(false);
  main_.btnEnd.setEnabled(false);
  main_.lblMessage.setCaption(uninstall_text::kUninstalling);
  p.processMessages();

  // The run works from one reading of the record; one it cannot read, it does not start on.
  if (!main_.loadInfoFile()) throw SetupError(main_text::kInfoFileMissing);
  ReadRecord();
  if (const Status current = p.setCurrentFolder(g.TempFolder); !current) {
    throw SetupError(SystemErrorText(p, current.error(), kIoErrorFormat));
  }
  DeleteFiles();
  DeleteShortcuts();
  RemoveFolders();
  DeleteRegistryKeys();
  DeleteUninstallEntry();
  RemoveSetupFolder();
  if (!p.deleteFile(g.InfoFilePath)) failures.Add(kFileFailureTag, g.InfoFilePath);

  OfferFailureList(main_, failures, uninstall_text::kFailuresQuestion,
                   uninstall_text::kFailuresCaption, main_.btnUnSetup);
  if (g.AbortRequested) return;  // the application was asked to quit
  main_.lblMessage.setCaption(uninstall_text::kComplete);
  p.processMessages();
  p.messageBox(uninstall_text::kComplete, uninstall_text::kCompleteCaption,
               kMbOk | kMbIconInformation);
  Finish();
}

bool UninstallRun::Whole(std::string_view value, std::string_view tag) {
  if (TruncateToShiftJisBytes(value, kRecordValueMaxBytes).size() == value.size()) return true;
  main_.runState().Failures.Add(tag, value);
  return false;
}

void UninstallRun::ReadRecord() {
  const Globals& g = main_.globals();
  const IniReader& record = main_.info();
  const auto upper = [this](const std::string& text) { return Upper(text); };
  const auto read = [&](const char* section, const std::string& key) {
    return record.Read(section, key, "");
  };
  // Folders and keys the last recorded first, so a folder goes after the ones made in it.
  for (int n = 20; n >= 1; --n) {
    const std::string value = read("DeleteFolder", "Folder" + std::to_string(n));
    if (!value.empty() && Whole(value, kFolderFailureTag)) {
      AddOnce(folders_, NormalisePath(value), upper);
    }
  }
  const std::string windows = Upper(StripSeparator(NormalisePath(g.WindowsFolder), "B"));
  const std::string system = Upper(StripSeparator(NormalisePath(g.SystemFolder), "B"));
  std::vector<std::string> seen;
  for (int n = 1; n <= 101; ++n) {
    const std::string value = read("DeleteFile", "File" + std::to_string(n));
    if (value.empty() || !Whole(value, kFileFailureTag)) continue;
    const auto comma = value.find(',');
    FileRecord file{NormalisePath(std::string_view(value).substr(0, comma)),
                    comma == std::string::npos
                        ? std::string()
                        : std::string(FirstCharacters(std::string_view(value).substr(comma), 3))};
    // A shared library in the Windows or System folder stays, unless the flag says otherwise.
    const std::string path = Upper(file.Path);
    const bool library =
        path.find(".OCX") != std::string::npos || path.find(".DLL") != std::string::npos;
    const bool shared = (!windows.empty() && path.find(windows) != std::string::npos) ||
                        (!system.empty() && path.find(system) != std::string::npos);
    if (file.Flag != kForceFlag && file.Flag != kConfirmFlag && library && shared) continue;
    if (AddOnce(seen, file.Path, upper)) files_.push_back(std::move(file));
  }
  for (int n = 1; n <= 20; ++n) {
    const std::string value = read("DeleteShortCut", "File" + std::to_string(n));
    if (!value.empty() && Whole(value, kShortcutFailureTag)) {
      AddOnce(shortcuts_, NormalisePath(value), upper);
    }
  }
  for (int n = 20; n >= 1; --n) {
    const std::string value = read("DeleteRegistry", "Key" + std::to_string(n));
    if (!value.empty() && Whole(value, kRegistryFailureTag)) AddOnce(registryKeys_, value, upper);
  }
  entryKey_ = read("UnSetupRegistryKey", "Key");
  setupFolder_ = read("SetupFolder", "Folder");
}

void UninstallRun::DeleteFiles() {
  Platform& p = main_.platform();
  Globals& g = main_.globals();
  for (const FileRecord& file : files_) {
    if (file.Flag == kLeaveFlag) continue;
    if (file.Flag == kConfirmFlag) {
      g.MessageText = file.Path + "\r\r" + uninstall_text::kDeleteQuestion + "\r\r" +
                      uninstall_text::kCaution + "\r" + uninstall_text::kSharedWarning + "\r" +
                      uninstall_text::kOnlyWhenSure;
      g.MessageAnswer =
          p.messageBox(g.MessageText, uninstall_text::kDeleteCaption, kMbYesNo | kMbIconQuestion);
      if (g.MessageAnswer != kIdYes) continue;
    }
    if (!DeleteRecordedFile(p, file.Path))
      main_.runState().Failures.Add(kFileFailureTag, file.Path);
  }
}

void UninstallRun::DeleteShortcuts() {
  Platform& p = main_.platform();
  for (const std::string& shortcut : shortcuts_) {
    const bool deleted = DeleteRecordedFile(p, shortcut);
    // A program group goes with its last shortcut; the shell's own folders stay.
    const bool shellFolder = shortcut.find(kStartupName) != std::string::npos ||
                             Upper(shortcut).find(kSendToName) != std::string::npos;
    const std::string folder = FolderPart(shortcut);
    if (!shellFolder && IsShortcutGroup(folder)) (void)p.removeFolder(folder);
    if (!deleted) main_.runState().Failures.Add(kShortcutFailureTag, shortcut);
  }
}

void UninstallRun::RemoveFolders() {
  Platform& p = main_.platform();
  for (const std::string& folder : folders_) {
    if (ProtectedFolder(folder) || !p.removeFolder(folder)) {
      main_.runState().Failures.Add(kFolderFailureTag, folder);
    } else {
      removed_.push_back(Upper(StripSeparator(folder, "B")));
    }
  }
}

bool UninstallRun::ProtectedFolder(std::string_view folder) const {
  const Platform& p = main_.platform();
  const Globals& g = main_.globals();
  const auto comparable = [this](std::string_view path) {
    return Upper(StripSeparator(NormalisePath(path), "B"));
  };
  const std::string wanted = comparable(folder);
  // A drive, a share or the root of either.
  const bool root = wanted.empty() || (wanted.size() == 2 && wanted[1] == ':') ||
                    (wanted.starts_with("\\\\") && KeyNames(wanted).size() <= 2);
  if (root) return true;
  std::vector<std::string> kept = {g.WindowsFolder, g.SystemFolder, g.ProgramFilesFolder,
                                   g.TempFolder};
  for (const int shell : {csidl::kDesktop, csidl::kPrograms, csidl::kStartup, csidl::kSendTo}) {
    if (const auto path = p.specialFolder(shell)) kept.push_back(*path);
  }
  for (const std::string& path : kept) {
    if (!path.empty() && comparable(path) == wanted) return true;
  }
  return false;
}

bool UninstallRun::IsShortcutGroup(std::string_view folder) const {
  const std::string wanted = Upper(StripSeparator(NormalisePath(folder), "B"));
  bool below = false;
  for (const int shell : {csidl::kDesktop, csidl::kPrograms, csidl::kStartup, csidl::kSendTo}) {
    const auto path = main_.platform().specialFolder(shell);
    // Without every shell folder known, a group cannot be told from one of them (Startup lies
    // below the programs menu).
    if (!path || path->empty()) return false;
    const std::string base = Upper(StripSeparator(NormalisePath(*path), "B")) + "\\";
    below = below || (wanted.size() > base.size() && wanted.starts_with(base));
  }
  return below && !ProtectedFolder(folder);
}

void UninstallRun::DeleteRegistryKeys() {
  Platform& p = main_.platform();
  // This product's entry, when the record names one that is its own.
  const std::string entry = UninstallEntryOf(p, entryKey_);
  entryValid_ = !entry.empty();
  if (entryValid_) {
    const auto command =
        p.readRegistryValue(RegistryRoot::kLocalMachine, entryKey_, "UninstallString");
    entryForeign_ = p.registryKeyExists(RegistryRoot::kLocalMachine, entryKey_) &&
                    !NamesThisRecord(command ? command->text : std::string());
    if (!entryForeign_) productEntry_ = entry;
  }
  for (const std::string& entry : registryKeys_) {
    const RecordedKey key = ParseRecordedKey(entry);
    if (ProtectedKey(p, key.Root, key.Path, productEntry_)) {
      main_.runState().Failures.Add(kRegistryFailureTag, entry);
      continue;
    }
    (void)p.deleteRegistryKey(key.Root, key.Path);
  }
}

bool UninstallRun::NamesThisRecord(std::string_view command) const {
  const auto open = command.find('"');
  const auto close = open == std::string_view::npos ? open : command.find('"', open + 1);
  if (close == std::string_view::npos) return false;
  const std::string named(command.substr(open + 1, close - open - 1));
  return Upper(NormalisePath(named)) == Upper(NormalisePath(main_.globals().NamedInfoFile));
}

void UninstallRun::DeleteUninstallEntry() {
  // An entry that is no product's (empty, the branch itself) or another product's stays.
  if (!entryValid_ || entryForeign_) {
    main_.runState().Failures.Add(kRegistryFailureTag, entryKey_);
    return;
  }
  (void)main_.platform().deleteRegistryKey(RegistryRoot::kLocalMachine, entryKey_);
}

void UninstallRun::RemoveSetupFolder() {
  const std::string folder = NormalisePath(setupFolder_);
  if (!Whole(setupFolder_, kSetupFolderFailureTag)) return;
  // A setup folder the record also lists as a folder is gone already: no failure.
  if (std::ranges::find(removed_, Upper(StripSeparator(folder, "B"))) != removed_.end()) return;
  if (ProtectedFolder(folder) || !main_.platform().removeFolder(folder)) {
    main_.runState().Failures.Add(kSetupFolderFailureTag, setupFolder_);
  }
}

void UninstallRun::Finish() {
  main_.frmBack().setRunFinished();
  main_.setModalResult(kModalOk);
}

}  // namespace orv
