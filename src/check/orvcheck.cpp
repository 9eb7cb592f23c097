// orvcheck: an installation disk checked before it ships.
//
//   orvcheck [--json] DISK [DISK2 ...]
//     Reads DISK/SETUP.INI as the program does and prints every finding as
//     "SETUP.INI:LINE: error|warning: text". Exit code 0 when clean, 1 with warnings only, 2 with
//     errors.
//   orvcheck --dry-run [--json] DISK [DISK2 ...] [--folder PATH] [--no-desktop]
//            [--no-startmenu] [--no-startup] [--no-sendto] [--no-overwrite] [--answer yes|no]
//            [--unattended]
//     Installs and uninstalls the disk on a simulated Windows and reports what the runs did and
//     what the uninstall leaves behind; --unattended as SETUP.EXE /S and the quiet uninstall
//     would, with their exit codes. Exit code 0 when both runs completed and nothing is left,
//     1 otherwise, 2 when it could not run.
// A wrong command line gives exit code 3.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "check/DryRun.h"
#include "check/Json.h"
#include "check/ScriptCheck.h"
#include "common/sim/SimPlatform.h"
#include "common/sim/SimRoot.h"

namespace {

constexpr int kUsageError = 3;

constexpr const char* kUsage =
    "usage: orvcheck [--json] DISK [DISK2 ...]\n"
    "       orvcheck --dry-run [--json] DISK [DISK2 ...] [--folder PATH] [--no-desktop]\n"
    "                [--no-startmenu] [--no-startup] [--no-sendto] [--no-overwrite]\n"
    "                [--answer yes|no] [--unattended]\n"
    "checks DISK/SETUP.INI and the files on the disks, or installs and uninstalls the disk on a\n"
    "simulated Windows; later disks are those the [CopyFile] entries marked (Dch) ask for\n";

int UsageError(const std::string& why) {
  std::cerr << "orvcheck: " << why << "\n" << kUsage;
  return kUsageError;
}

const char* LevelName(orv::Severity level) {
  return level == orv::Severity::kError ? "error" : "warning";
}

void PrintText(const std::vector<orv::Finding>& findings, std::ostream& out) {
  for (const orv::Finding& finding : findings) {
    out << "SETUP.INI:";
    if (finding.Line > 0) out << finding.Line << ":";
    out << " " << LevelName(finding.Level) << ": " << finding.Text << "\n";
  }
}

void PrintJson(const std::vector<orv::Finding>& findings, std::ostream& out) {
  out << "{\"findings\": [";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const orv::Finding& finding = findings[i];
    out << (i ? ",\n  " : "\n  ") << "{\"file\": \"SETUP.INI\", \"line\": " << finding.Line
        << ", \"severity\": \"" << LevelName(finding.Level)
        << "\", \"text\": " << orv::JsonQuoted(finding.Text) << "}";
  }
  out << (findings.empty() ? "" : "\n") << "]}\n";
}

// The disks as drives D:, E:, ... of a scratch machine; only its temporary folder is written.
int Check(const std::vector<std::filesystem::path>& disks, bool json) {
  const orv::SimRoot root;
  orv::SimPlatform machine(root.path());
  if (!machine.createFolderPath(machine.tempFolder())) {
    std::cerr << "orvcheck: no room for the scratch machine\n";
    return 2;
  }
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < disks.size(); ++i) {
    const char drive = static_cast<char>('D' + i);
    machine.mapDrive(drive, disks[i]);
    folders.push_back(std::string(1, drive) + ":\\");
  }
  const std::vector<orv::Finding> findings = orv::CheckDisks(machine, folders);
  json ? PrintJson(findings, std::cout) : PrintText(findings, std::cout);
  bool errors = false;
  for (const orv::Finding& finding : findings)
    errors = errors || finding.Level == orv::Severity::kError;
  return errors ? 2 : findings.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  orv::DryRunOptions options;
  bool dryRun = false;
  bool dryRunOnly = false;  // an option that only the dry run takes
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return argv[++i];
    };
    // Every option but --json and --dry-run is the dry run's own.
    dryRunOnly = dryRunOnly ||
                 (argument.starts_with("-") && argument != "--json" && argument != "--dry-run");
    if (argument == "--json") {
      options.Json = true;
    } else if (argument == "--dry-run") {
      dryRun = true;
    } else if (argument == "--folder") {
      options.Folder = value();
      if (!options.Folder) return UsageError("--folder needs a folder");
    } else if (argument == "--answer") {
      const auto answer = value();
      if (answer != "yes" && answer != "no") return UsageError("--answer takes yes or no");
      options.AnswerYes = answer == "yes";
    } else if (argument == "--no-desktop") {
      options.Boxes.Desktop = false;
    } else if (argument == "--no-startmenu") {
      options.Boxes.StartMenu = false;
    } else if (argument == "--no-startup") {
      options.Boxes.StartUp = false;
    } else if (argument == "--no-sendto") {
      options.Boxes.SendTo = false;
    } else if (argument == "--unattended") {
      options.Unattended = true;
    } else if (argument == "--no-overwrite") {
      options.Boxes.OverWrite = false;
    } else if (argument.starts_with("-")) {
      return UsageError("unknown option " + argument);
    } else {
      options.Disks.emplace_back(argument);
    }
  }
  if (options.Disks.empty() || options.Disks.size() > 20) return UsageError("give one to 20 disks");
  const bool boxesChanged = !options.Boxes.OverWrite || !options.Boxes.Desktop ||
                            !options.Boxes.StartMenu || !options.Boxes.StartUp ||
                            !options.Boxes.SendTo || !options.AnswerYes;
  if (options.Unattended && boxesChanged) {
    return UsageError("--unattended answers and sets the boxes itself: no --answer or --no-...");
  }
  if (dryRun) return orv::RunDryRun(options, std::cout);
  if (dryRunOnly) return UsageError("--folder, --answer and --no-... need --dry-run");
  for (const std::filesystem::path& disk : options.Disks) {
    std::error_code error;
    if (!std::filesystem::is_directory(disk, error)) {
      return UsageError(disk.string() + " is not a folder");
    }
  }
  return Check(options.Disks, options.Json);
}
