// The state of the setup run: the script's tables as loaded from SETUP.INI, the record lists of
// the uninstall record, the failure list and the run's own values. Every list has a fixed
// capacity; an entry that does not fit is dropped without a message.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/FailureList.h"
#include "record/KeyProtection.h"
#include "record/RecordList.h"

namespace orv {

// A [CopyFile] entry: the value up to its first comma (disk-change prefix included) and the
// uninstall flag, the three characters from that comma (empty without one).
struct ScriptFile {
  std::string Value;
  std::string Flag;
};

struct ScriptShortcut {
  std::string Make;
  std::string Name;
};

struct ScriptRegistryValue {
  std::string Key;
  std::string Name;
  std::string Value;
};

struct ScriptRelation {
  std::string Name;
  std::string File;
};

// The folder tokens of a shortcut name, in the order that decides which option box governs it:
// desktop, start menu, startup, send to.
inline constexpr std::array<std::string_view, 4> kShortcutFolderTokens = {"(Dsk)", "(Sta)", "(Sup)",
                                                                          "(Sen)"};

// The [ShortCut] Name that stands for the target's own name in the programs menu (also the
// default of a missing Name).
inline constexpr std::string_view kDefaultShortcutName = "Default";

// The states of the option boxes when the run starts.
struct OptionSnapshot {
  bool OverWrite = true;
  bool Desktop = true;
  bool StartMenu = true;
  bool StartUp = true;
  bool SendTo = true;
};

// How a run of this start ended: the log says it, and an unattended start's exit code.
enum class RunEnd {
  kNotStarted,
  kWorking,        // started and not ended by itself: an error ended it, or a quit from outside
  kStopped,        // ended, with the reason told, before anything was installed
  kDiskMissing,    // ended when the next disk was not given
  kCompleted,      // done (the failure list says what failed)
  kRestartNeeded,  // done; a restart of Windows completes it
};

// The options as a log or report tells them.
inline std::string OptionsText(const OptionSnapshot& options) {
  const auto yesNo = [](bool yes) { return std::string(yes ? "yes" : "no"); };
  return "overwrite " + yesNo(options.OverWrite) + ", desktop " + yesNo(options.Desktop) +
         ", start menu " + yesNo(options.StartMenu) + ", startup " + yesNo(options.StartUp) +
         ", send to " + yesNo(options.SendTo);
}

struct RunState {
  static constexpr std::size_t kFolderCapacity = 20;
  static constexpr std::size_t kFileKeys = 99;
  static constexpr std::size_t kFileSlots = 101;
  static constexpr std::size_t kShortcutCapacity = 20;
  static constexpr std::size_t kRegistryCapacity = 20;
  static constexpr std::size_t kRelateCapacity = 5;
  static constexpr std::size_t kDeleteRegistryCapacity = 20;

  // The script, loaded when the run starts.
  std::vector<std::string> FolderList;
  std::vector<ScriptFile> FileList;
  std::vector<ScriptShortcut> ShortcutList;
  std::vector<ScriptRegistryValue> RegistryList;
  std::vector<ScriptRelation> RelateList;
  std::vector<std::string> ScriptDeleteRegistryList;

  // The uninstall record.
  RecordLists Records;
  // The entry that named the earlier record of the setup folder, if any: the one this run
  // registers replaces it.
  ProductEntry EarlierEntry;

  FailureList Failures;

  // The run's own values.
  std::string SetupFolderPath;    // the folder box's text when the folder check starts
  std::string UninstallInfoPath;  // SetupFolderPath without trailing "\" + "\UNSETUP.INI"
  std::uint64_t TotalBytes = 0;
  std::uint64_t CopiedBytes = 0;
  bool SizesKnown = true;
  int DiskNumber = 1;
  OptionSnapshot Options;
  RunEnd End = RunEnd::kNotStarted;
  bool SetupFolderNotMade = false;
  // [CopyFile] sources that were not in the program folder, when loaded or at their turn: the
  // run skips them, as it always has; a log lists them, and an unattended run counts them as
  // failures.
  std::vector<std::string> SkippedSources;
  // What stays because an answer kept it (an uninstall's ,/C file), and the folders that stay
  // only for it; those folders are in Failures as well, as the uninstall lists them.
  FailureList Kept;
  int KeptFailures = 0;  // of Failures, the lines Kept explains

  // Empties the folder, file and shortcut tables, as the options stage does each time it is
  // shown.
  void ResetOptionTables() {
    FolderList.clear();
    FileList.clear();
    ShortcutList.clear();
  }
};

}  // namespace orv
