#include "setup/CopyPhase.h"

#include <algorithm>
#include <limits>

#include "app/Main.h"
#include "common/Expand.h"
#include "common/Platform.h"
#include "common/TextUtils.h"
#include "setup/PathMacros.h"
#include "setup/SetupRun.h"
#include "setup/SetupScript.h"

namespace orv {

namespace {

// Sources always come from the program folder, under the last component of the destination.
std::string SourceFor(const Globals& g, std::string_view destination) {
  return StripSeparator(g.ProgramFolder, "B") + "\\" + FileNamePart(destination);
}

// Asks for the next disk until the source is there; false when the user cancels, which ends
// the run.
bool ChangeDisk(TfrmMain& main, const std::string& source) {
  Platform& p = main.platform();
  RunState& state = main.runState();
  ++state.DiskNumber;
  while (true) {
    const int answer = p.messageBox(std::to_string(state.DiskNumber) + copy_text::kInsertDisk,
                                    copy_text::kDiskCaption, kMbOkCancel | kMbIconInformation);
    if (answer != kIdOk) {
      p.messageBox(setup_text::kCannotContinue, copy_text::kFatalCaption, kMbOk | kMbIconStop);
      state.End = RunEnd::kDiskMissing;
      main.frmBack().setRunFinished();
      main.setModalResult(kModalOk);
      return false;
    }
    if (p.fileExists(source)) return true;
  }
}

struct OverwriteDecision {
  bool Refuse = false;       // the copy must not replace the destination
  bool KeptAsNewer = false;  // the destination stays because it is not older: no failure
};

OverwriteDecision DecideOverwrite(TfrmMain& main, const std::string& source,
                                  const std::string& destination) {
  Platform& p = main.platform();
  if (!p.fileExists(destination)) return {};
  // Only a missing source has no age: there is nothing to install, and the copy fails.
  const auto sourceAge = p.fileAge(source);
  if (!sourceAge) return {};
  if (!main.runState().Options.OverWrite) {
    Globals& g = main.globals();
    g.MessageText =
        destination + "\r\r" + copy_text::kFileExists + "\r" + copy_text::kOverwriteQuestion;
    g.MessageAnswer =
        p.messageBox(g.MessageText, copy_text::kOverwriteCaption, kMbYesNo | kMbIconQuestion);
    return {g.MessageAnswer == kIdNo, false};
  }
  // Only a strictly newer source replaces the destination.
  const auto destinationAge = p.fileAge(destination);
  if (destinationAge && *destinationAge >= *sourceAge) return {true, true};
  return {};
}

}  // namespace

int CopyPercentage(std::uint64_t copied, std::uint64_t total) {
  if (copied >= total) return 100;  // also when there is nothing to copy
  // Exact while copied * 100 fits in 64 bits (totals up to 184 PB); beyond, within a rounding.
  if (total <= std::numeric_limits<std::uint64_t>::max() / 100) {
    return static_cast<int>(copied * 100 / total);
  }
  return static_cast<int>(std::min<std::uint64_t>(copied / (total / 100), 99));
}

std::string ProgressText(int percentage, std::size_t entry, std::size_t count) {
  return std::to_string(percentage) + "%(" + std::to_string(entry) + "/" + std::to_string(count) +
         ")";
}

bool RunCopyPhase(SetupRun& run, TfrmMain& main) {
  Platform& p = main.platform();
  Globals& g = main.globals();
  RunState& state = main.runState();
  const MacroFolders folders = MacroFolders::Of(g, state.SetupFolderPath);
  main.fraStatus.setVisible(state.SizesKnown);

  const std::size_t count = state.FileList.size();
  for (std::size_t i = 0; i < count; ++i) {
    const ScriptFile& entry = state.FileList[i];
    std::string destination = ResolveMacros(entry.Value, folders);
    std::string source = SourceFor(g, destination);
    if (destination.starts_with(kDiskChangePrefix)) {
      destination.erase(0, kDiskChangePrefix.size());
      source = SourceFor(g, destination);
      // A packed program holds every disk at once.
      if (!p.carriesAllDisks() && !ChangeDisk(main, source)) return false;
    }
    if (!p.fileExists(source)) {
      // Skipped: not copied, counted, recorded or reported in the failure list.
      NoteSkippedSource(g, state, source);
      continue;
    }

    const bool compressed = destination.ends_with('_');
    bool sourceReady = true;  // false when a compressed file gave nothing to install
    if (compressed) {
      const ExpandedFile expanded = ExpandCompressedFile(p, g.TempFolder, source);
      destination = StripSeparator(FolderPart(destination), "B") + "\\" +
                    MapString(p, expanded.Name, kMapUpperCase);
      source = expanded.DataPath;
      sourceReady = expanded.Complete;
    }
    if (!run.ShowStatus(copy_text::kCopying + destination)) {
      if (compressed && sourceReady) (void)p.deleteFile(source);
      return false;
    }

    const OverwriteDecision overwrite =
        sourceReady ? DecideOverwrite(main, source, destination) : OverwriteDecision{};
    // Recorded before the copy, whatever comes of it.
    const bool kept = Kept(state.Records.DeleteFileRecords.InsertFile(p, destination, entry.Flag));
    const bool copied =
        sourceReady && p.copyFile(source, destination, overwrite.Refuse).succeeded();
    // A copy keeps the attributes of its source; a file from a CD-ROM is read-only there, and
    // the installed copy must stay replaceable and removable.
    if (copied) p.clearReadOnly(destination);
    const bool done = copied || (sourceReady && overwrite.KeptAsNewer);
    if (compressed) {
      if (sourceReady) (void)p.deleteFile(source);
      source = SourceFor(g, entry.Value);
    }

    if (state.SizesKnown) {
      state.CopiedBytes += p.fileSize(source).value_or(0);
      const int percentage = CopyPercentage(state.CopiedBytes, state.TotalBytes);
      main.lblStatus.setCaption(ProgressText(percentage, i + 1, count));
      main.prgStatus.setProgress(percentage);
      if (!run.KeepResponsive()) return false;
      p.sleep(kStepPause);
    }
    if (!done || !kept) state.Failures.Add(kFileFailureTag, destination);
  }
  main.fraStatus.setVisible(false);
  return true;
}

}  // namespace orv
