// orvcheck: an installation disk checked before it ships.
//
//   orvcheck [--json] DISK [DISK2 ...]
//     Reads DISK/SETUP.INI as the program does and prints every finding as
//     "SETUP.INI:LINE: error|warning: text". Exit code 0 when clean, 1 with warnings only, 2 with
//     errors, 3 for a wrong command line.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "check/Json.h"
#include "check/ScriptCheck.h"
#include "common/sim/SimPlatform.h"
#include "common/sim/SimRoot.h"

namespace {

constexpr int kUsageError = 3;

constexpr const char* kUsage =
    "usage: orvcheck [--json] DISK [DISK2 ...]\n"
    "checks DISK/SETUP.INI and the files on the disks; later disks are those the\n"
    "[CopyFile] entries marked (Dch) ask for, in order\n";

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
  if (!machine.createFolderPath(machine.tempFolder())) return kUsageError;
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
  bool json = false;
  std::vector<std::filesystem::path> disks;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--json") {
      json = true;
    } else if (argument.starts_with("-")) {
      std::cerr << "orvcheck: unknown option " << argument << "\n" << kUsage;
      return kUsageError;
    } else {
      disks.emplace_back(argument);
    }
  }
  if (disks.empty() || disks.size() > 20) {
    std::cerr << kUsage;
    return kUsageError;
  }
  for (const std::filesystem::path& disk : disks) {
    if (!std::filesystem::is_directory(disk)) {
      std::cerr << "orvcheck: " << disk.string() << " is not a folder\n";
      return kUsageError;
    }
  }
  return Check(disks, json);
}
