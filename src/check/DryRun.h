// The dry run: the whole setup run of a disk on a simulated Windows, then the uninstall from the
// record it wrote, reported as what a real run would do and what the uninstall would leave behind.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "setup/RunState.h"

namespace orv {

struct DryRunOptions {
  std::vector<std::filesystem::path>
      Disks;                          // host folders; disk 1 first, later disks for (Dch) entries
  std::optional<std::string> Folder;  // the setup folder the user types; none: the proposed one
  OptionSnapshot Boxes;               // a false member: that box is unchecked
  bool AnswerYes = true;
  // As SETUP.EXE /S and the recorded quiet uninstall would: the unattended answers, the boxes'
  // defaults, every disk of the set in the program's folder, and the exit codes.
  bool Unattended = false;
  bool Json = false;
};

// Runs the install and the uninstall on a simulated Windows in a temporary folder (removed
// afterwards) and prints the report to out. Returns 0 when both runs completed and the uninstall
// left nothing behind, 1 when something is left behind or a run ended early, 2 when it could not
// run (no disk folder, no SETUP.INI).
int RunDryRun(const DryRunOptions& options, std::ostream& out);

}  // namespace orv
