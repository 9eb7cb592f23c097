#include "setup/Completion.h"

#include <algorithm>

#include "app/FailureDisplay.h"
#include "app/Main.h"
#include "common/IniFile.h"
#include "common/Platform.h"
#include "common/RegistryNames.h"
#include "common/Sha256.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "record/KeyProtection.h"
#include "record/RecordList.h"
#include "record/RecordTrust.h"
#include "record/UninstallRecord.h"
#include "setup/PathMacros.h"
#include "setup/RegistryWrite.h"

namespace orv {

namespace {

constexpr std::string_view kProgramName = "SETUP.EXE";

RegistryValue Text(std::string text) {
  return {RegistryType::kString, std::move(text), 0};
}

RegistryValue Number(std::uint32_t number) {
  return {RegistryType::kDword, {}, number};
}

// What the recorded files take on the disk now, in KiB rounded up (the entry's size).
std::uint32_t InstalledKiB(const Platform& p, const RunState& state) {
  std::uint64_t bytes = 0;
  for (const std::string& entry : state.Records.DeleteFileRecords.Entries()) {
    bytes += p.fileSize(entry.substr(0, entry.find(','))).value_or(0);
  }
  constexpr std::uint64_t kMaxKiB = 0xFFFFFFFF;
  return static_cast<std::uint32_t>(std::min(kMaxKiB, (bytes + 1023) / 1024));
}

std::string DateText(const LocalTime& t) {
  const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return std::to_string(t.year) + two(t.month) + two(t.day);
}

}  // namespace

void CopyUninstaller(TfrmMain& main) {
  Platform& p = main.platform();
  const std::string source =
      StripSeparator(main.globals().ProgramFolder, "B") + "\\" + std::string(kProgramName);
  const std::string destination = UninstallerPath(main.globals());
  const auto sourceAge = p.fileAge(source);
  if (!sourceAge) {
    // After a disk change the drive may hold a disk without the program: with no earlier
    // uninstaller, the Add/Remove entry would name a missing file.
    if (!p.fileExists(destination)) main.runState().Failures.Add(kSetupFileFailureTag, destination);
    return;
  }
  const auto destinationAge = p.fileAge(destination);
  if (destinationAge && *destinationAge >= *sourceAge) return;
  // A read-only earlier copy would refuse the new one.
  if (destinationAge) (void)p.setFileAttributes(destination, attr::kArchive);
  const bool copied = p.copyFile(source, destination, false).succeeded();
  (void)p.setFileAttributes(destination, attr::kReadOnly | attr::kArchive);
  if (!copied) main.runState().Failures.Add(kSetupFileFailureTag, destination);
}

bool UsableEntryName(std::string_view name) {
  const std::string key = std::string(kUninstallBranch) + std::string(name);
  return !name.empty() && name.find('\\') == std::string_view::npos &&
         TruncateToShiftJisBytes(key, kRecordValueMaxBytes).size() == key.size();
}

std::string UninstallEntryName(std::string_view unSetupKey, std::string_view unSetupTitle) {
  for (const std::string_view name : {unSetupKey, unSetupTitle}) {
    if (UsableEntryName(name)) return std::string(name);
  }
  return main_text::kDefaultTitle;
}

std::string UninstallKeyName(TfrmMain& main) {
  return UninstallEntryName(main.info().Read("Title", "UnSetupKey", ""),
                            main.globals().UnSetupTitle);
}

void CompleteUninstallRecord(TfrmMain& main) {
  RunState& state = main.runState();
  CompleteRecordLists(main.platform(), state.UninstallInfoPath, state.ScriptDeleteRegistryList,
                      state.Records, state.Failures);
}

std::optional<std::string> InstalledFolder(TfrmMain& main) {
  const Platform& p = main.platform();
  const std::string key = std::string(kUninstallBranch) + UninstallKeyName(main);
  for (const RegistryView view : ViewsOwnFirst(p)) {
    const RegistryHive machine(RegistryRoot::kLocalMachine, view);
    const auto location = p.readRegistryValue(machine, key, "InstallLocation");
    if (location && !location->text.empty() && p.folderExists(location->text)) {
      return location->text;
    }
    const auto command = p.readRegistryValue(machine, key, "UninstallString");
    const auto record = command ? RecordNamedBy(command->text) : std::nullopt;
    if (record && p.folderExists(FolderPart(*record))) return FolderPart(*record);
  }
  return std::nullopt;
}

std::optional<std::string> WriteUninstallRecord(TfrmMain& main) {
  main.lblMessage.setCaption(completion_text::kWritingRecord);
  main.platform().processMessages();
  const RunState& state = main.runState();
  return WriteRecord(
      main.platform(), state.UninstallInfoPath,
      UninstallRecordSections(state.Records, state.SetupFolderPath, main.globals().UnSetupTitle,
                              std::string(kUninstallBranch) + UninstallKeyName(main)));
}

Raised RegisterUninstall(TfrmMain& main, std::string_view recordDigest) {
  Platform& p = main.platform();
  const std::string name = UninstallKeyName(main);
  const std::string key = std::string(kUninstallBranch) + name;
  const std::string uninstaller = UninstallerPath(main.globals());
  const RunState& state = main.runState();
  const std::string command = uninstaller + " \"" + state.UninstallInfoPath + "\"";
  constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
  // The entry that named this installation's earlier record, under an earlier name or in the
  // other view, goes: one installation, one entry, and none left to vouch for earlier bytes.
  const ProductEntry& earlier = state.EarlierEntry;
  if (!earlier.Name.empty() && (earlier.Name != UninstallEntryOf(p, key) ||
                                earlier.View != SeenView(p, RegistryView::kProgram))) {
    (void)p.deleteRegistryKey({kMachine, earlier.View}, earlier.Name);
  }
  RegistryWriter machine(p, kMachine);
  machine.create(key);
  const auto write = [&machine, &key](std::string_view value, const RegistryValue& data) {
    machine.write(key, value, data);
  };
  write("DisplayName", Text(name));
  write("UninstallString", Text(command));
  write(kRecordDigestValue, Text(std::string(recordDigest)));
  write("DisplayIcon", Text(uninstaller));
  // The uninstaller neither changes nor repairs an installation.
  write("NoModify", Number(1));
  write("NoRepair", Number(1));
  // What the Apps list and package managers read.
  write("QuietUninstallString", Text(command + " /S"));
  // Without its final separator, but a drive's root keeps its own: "D:" is that drive's
  // current folder.
  std::string location = StripSeparator(state.SetupFolderPath, "B");
  if (location.size() == 2 && location[1] == ':') location += '\\';
  write("InstallLocation", Text(location));
  write("EstimatedSize", Number(InstalledKiB(p, state)));
  write("InstallDate", Text(DateText(p.localTime())));
  // Written afresh: what an earlier script said and this one does not is no longer true.
  for (const ProductValue& product : kProductValues) {
    const std::string text = main.info().Read("Title", product.ScriptKey, "");
    if (text.empty()) {
      machine.erase(key, product.EntryValue);
    } else {
      write(product.EntryValue, Text(text));
    }
  }
  return machine.raised();
}

void ShowCompletion(TfrmMain& main) {
  Platform& p = main.platform();
  Globals& g = main.globals();
  const std::string execute = main.info().Read("ExecuteFile", "File", "");
  main.runState().End = RunEnd::kCompleted;
  if (execute == completion_text::kRebootRequest) {
    g.MessageAnswer = p.restartDialog(main);
    // Windows gives Yes or No; Wine always 0. Anything but Yes means no restart now.
    if (g.MessageAnswer != kIdYes) {
      main.runState().End = RunEnd::kRestartNeeded;
      p.messageBox(completion_text::kRestartNote, completion_text::kInformationCaption,
                   kMbOk | kMbIconExclamation);
    }
    return;
  }
  main.lblMessage.setCaption(completion_text::kComplete);
  p.processMessages();
  p.messageBox(completion_text::kCompleteMessage, completion_text::kCompleteCaption,
               kMbOk | kMbIconInformation);
  if (execute.empty()) return;

  const std::string command =
      ResolveMacros(execute, MacroFolders::Of(g, main.runState().SetupFolderPath));
  const auto comma = command.find(',');
  const std::string program = command.substr(0, comma);
  const std::string parameters = comma == std::string::npos ? "" : command.substr(comma + 1);
  const std::intptr_t started = p.openProgram(main, program, parameters);
  g.MessageAnswer = static_cast<int>(started);
  if (started <= 32) {
    p.messageBox(completion_text::kStartFailed, failure_text::kWarningCaption,
                 kMbOk | kMbIconExclamation);
  }
}

}  // namespace orv
