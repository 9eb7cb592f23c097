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
//   orvcheck --pack DISK [DISK2 ...] --output FILE [--compress] [--program SETUP.EXE]
//     Checks the disks, then writes FILE: the program with the files its script reads from every
//     disk (SZDD-compressed where that is smaller, with --compress). Exit code 0 when packed
//     (warnings are printed), 2 when not.
//   A packed program given as the only DISK is checked, or dry-run, as the disks it carries.
// A wrong command line gives exit code 3.
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "check/DryRun.h"
#include "check/Json.h"
#include "check/Pack.h"
#include "check/ScriptCheck.h"
#include "common/sim/HostPath.h"
#include "common/sim/SimPlatform.h"
#ifdef _WIN32
#include "common/win32/SystemLibrary.h"
#include "common/win32/WideText.h"
#endif
#include "common/sim/SimRoot.h"

namespace {

constexpr int kUsageError = 3;

constexpr const char* kUsage =
    "usage: orvcheck [--json] DISK [DISK2 ...]\n"
    "       orvcheck --dry-run [--json] DISK [DISK2 ...] [--folder PATH] [--no-desktop]\n"
    "                [--no-startmenu] [--no-startup] [--no-sendto] [--no-overwrite]\n"
    "                [--answer yes|no] [--unattended]\n"
    "       orvcheck --pack DISK [DISK2 ...] --output FILE [--compress] [--program SETUP.EXE]\n"
    "checks DISK/SETUP.INI and the files on the disks, or installs and uninstalls the disk on a\n"
    "simulated Windows, or packs the disks into one program file; later disks are those the\n"
    "[CopyFile] entries marked (Dch) ask for; a packed program stands for the disks it carries\n";

std::ostringstream errors;

int UsageError(const std::string& why) {
  errors << "orvcheck: " << why << "\n" << kUsage;
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
struct ScratchMachine {
  explicit ScratchMachine(const std::vector<std::filesystem::path>& disks) : machine(root.path()) {
    for (std::size_t i = 0; i < disks.size(); ++i) {
      const char drive = static_cast<char>('D' + i);
      machine.mapDrive(drive, disks[i]);
      folders.push_back(std::string(1, drive) + ":\\");
    }
  }
  orv::SimRoot root;
  orv::SimPlatform machine;
  std::vector<std::string> folders;
};

// The findings printed; 2 with errors, 1 with warnings only, 0 when clean.
int Check(const std::vector<std::filesystem::path>& disks, bool json, std::ostream& out,
          bool packing = false) {
  ScratchMachine scratch(disks);
  if (!scratch.machine.createFolderPath(scratch.machine.tempFolder())) {
    errors << "orvcheck: no room for the scratch machine\n";
    return 2;
  }
  const std::vector<orv::Finding> findings =
      orv::CheckDisks(scratch.machine, scratch.folders, packing);
  json ? PrintJson(findings, out) : PrintText(findings, out);
  bool errors = false;
  for (const orv::Finding& finding : findings)
    errors = errors || finding.Level == orv::Severity::kError;
  return errors ? 2 : findings.empty() ? 0 : 1;
}

// Packs disks that pass the checks; their warnings are printed first.
int Pack(const orv::PackOptions& options, std::ostream& out) {
  if (Check(options.Disks, false, out, true) == 2) {
    errors << "orvcheck: not packed: the disks have errors\n";
    return 2;
  }
  const ScratchMachine scratch(options.Disks);
  return orv::PackDisks(scratch.machine, scratch.folders, options, out, errors);
}

// argv: the arguments as UTF-8, the program's name first.
int Run(const std::vector<std::string>& argv, std::ostream& out) {
  const std::size_t argc = argv.size();
  orv::DryRunOptions options;
  orv::PackOptions pack;
  bool dryRun = false;
  bool packing = false;
  bool dryRunOnly = false;  // an option that only the dry run takes
  bool packOnly = false;    // an option that only the packer takes
  for (std::size_t i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return argv[++i];
    };
    const bool packOption =
        argument == "--output" || argument == "--compress" || argument == "--program";
    packOnly = packOnly || packOption;
    // Every other option but --json, --dry-run and --pack is the dry run's own.
    dryRunOnly = dryRunOnly || (argument.starts_with("-") && !packOption && argument != "--json" &&
                                argument != "--dry-run" && argument != "--pack");
    if (argument == "--pack") {
      packing = true;
    } else if (argument == "--output" || argument == "--program") {
      const auto path = value();
      if (!path) return UsageError(argument + " needs a file");
      (argument == "--output" ? pack.Output : pack.Program.emplace()) = orv::HostPath(*path);
    } else if (argument == "--compress") {
      pack.Compress = true;
    } else if (argument == "--json") {
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
      options.Disks.push_back(orv::HostPath(argument));
    }
  }
  if (options.Disks.empty() || options.Disks.size() > 20) return UsageError("give one to 20 disks");
  const bool boxesChanged = !options.Boxes.OverWrite || !options.Boxes.Desktop ||
                            !options.Boxes.StartMenu || !options.Boxes.StartUp ||
                            !options.Boxes.SendTo || !options.AnswerYes;
  if (options.Unattended && boxesChanged) {
    return UsageError("--unattended answers and sets the boxes itself: no --answer or --no-...");
  }
  if (packing) {
    if (dryRun || dryRunOnly || options.Json) return UsageError("--pack takes no check option");
    if (pack.Output.empty()) return UsageError("--pack needs --output FILE");
    pack.Disks = options.Disks;
    return Pack(pack, out);
  }
  if (packOnly) return UsageError("--output, --compress and --program need --pack");
  // A packed program: its disks, laid out for the checks.
  std::optional<orv::SimRoot> unpacked;
  if (options.Disks.size() == 1 && std::filesystem::is_regular_file(options.Disks.front()) &&
      orv::IsPackedProgram(options.Disks.front())) {
    unpacked.emplace();
    const auto disks = orv::UnpackDisks(options.Disks.front(), unpacked->path(),
                                        options.Json ? errors : out, errors);
    if (!disks) return 2;
    options.Disks = *disks;
  }
  if (dryRun) return orv::RunDryRun(options, out);
  if (dryRunOnly) return UsageError("--folder, --answer and --no-... need --dry-run");
  for (const std::filesystem::path& disk : options.Disks) {
    std::error_code error;
    if (!std::filesystem::is_directory(disk, error)) {
      return UsageError(orv::Utf8(disk) + " is not a folder");
    }
  }
  return Check(options.Disks, options.Json, out);
}

// A console shows the text in its own way; a file or a pipe takes it as UTF-8.
void Emit(const std::string& text, bool toErrors) {
  if (text.empty()) return;
#ifdef _WIN32
  const HANDLE handle = ::GetStdHandle(toErrors ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(handle, &mode)) {
    // Older consoles take a few thousand characters per call; a pair of surrogates stays whole.
    const std::wstring wide = orv::win32::Wide(text);
    for (std::size_t done = 0; done < wide.size();) {
      std::size_t count = std::min<std::size_t>(wide.size() - done, 4096);
      if (done + count < wide.size() && wide[done + count - 1] >= 0xD800 &&
          wide[done + count - 1] <= 0xDBFF) {
        --count;
      }
      DWORD written = 0;
      if (!::WriteConsoleW(handle, wide.data() + done, static_cast<DWORD>(count), &written,
                           nullptr) ||
          written == 0) {
        return;
      }
      done += written;
    }
    return;
  }
  for (std::size_t done = 0; done < text.size();) {
    DWORD written = 0;
    const auto count = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
    if (!::WriteFile(handle, text.data() + done, count, &written, nullptr) || written == 0) return;
    done += written;
  }
#else
  std::fwrite(text.data(), 1, text.size(), toErrors ? stderr : stdout);
#endif
}

// A Windows without East Asian support has no code page 932: every script would read empty.
bool ReadsShiftJis() {
#ifdef _WIN32
  return ::IsValidCodePage(932);
#else
  return true;
#endif
}

int Main(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  int code = 2;
  if (!ReadsShiftJis()) {
    errors
        << "orvcheck: this Windows has no Japanese code page (932), which SETUP.INI is read in\n";
  } else {
    try {
      code = Run(arguments, out);
    } catch (const std::exception& error) {
      // What was found so far is shown too.
      errors << "orvcheck: " << error.what() << "\n";
    }
  }
  Emit(out.str(), false);
  Emit(errors.str(), true);
  return code;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // Authors run it from the folder of a downloaded disk, maybe as administrators.
  orv::win32::ConfineLibrarySearch();
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i)
    arguments.push_back(orv::win32::Narrow(argv[i]));
  return Main(arguments);
}
#else
int main(int argc, char** argv) {
  return Main(std::vector<std::string>(argv, argv + argc));
}
#endif
