#include "app/SETUP.h"

#include <optional>

#include "app/ProgramStart.h"
#include "app/RunLog.h"
#include "app/Unattended.h"
#include "app/Version.h"
#include "common/CarriedDisks.h"
#include "common/CommandLine.h"
#include "common/Platform.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

// damage: why the disks the program file carries cannot be used; empty when they can, or when it
// carries none.
int RunStart(Platform& platform, const ProgramArguments& arguments, RunLog* log,
             const std::string& damage) {
  const bool unattended = arguments.Unattended;
  // Nothing is written for a command line that is refused: with a path split at a blank, the
  // log's own path is one of the mistakes.
  if (!arguments.Problem.empty()) {
    if (unattended) return exit_code::kBadCommandLine;
    log = nullptr;
  }
  // A second start while a copy runs ends at once, silently.
  const auto instance = platform.claimNamedMutex(kSingleInstanceName);
  if (log != nullptr) {
    if (instance) log->Begin();
    log->Write(std::string(kApplicationTitle) + " " + ORV_FILE_VERSION_TEXT);
    log->Write("command line: " + platform.commandLine());
    log->Write(unattended ? "unattended start" : "interactive start");
  }
  if (!instance) {
    if (log != nullptr) log->Write("another copy of the program is running");
    return unattended ? exit_code::kAlreadyRunning : 0;
  }
  if (unattended && log != nullptr && !log->written()) return exit_code::kBadCommandLine;
  // A cut or changed download installs nothing.
  if (!damage.empty()) {
    if (log != nullptr) log->Write("the program file is damaged: " + damage);
    if (!unattended) {
      platform.messageBox(kDamagedProgram, kApplicationTitle, kMbOk | kMbIconStop);
    }
    return exit_code::kBadCommandLine;
  }

  std::optional<UnattendedPlatform> quiet;
  if (unattended) quiet.emplace(platform, log);
  std::optional<LoggedPlatform> logged;
  if (log != nullptr) logged.emplace(quiet ? *quiet : platform, *log);
  Platform& shown = logged ? *logged : quiet ? static_cast<Platform&>(*quiet) : platform;

  ProgramStart start(shown);
  start.globals.Log = log;
  int code = 0;
  if (unattended) {
    code = RunUnattended(start, arguments, log);
  } else {
    shown.setApplicationTitle(kApplicationTitle);
    start.frmBack.show(ShowMode::kMaximized);
    shown.runMessageLoop();
  }
  if (log != nullptr) log->WriteOutcome(start.runState, code);
  return code;
}

}  // namespace

int RunProgram(Platform& platform) {
  const ProgramArguments arguments = ReadProgramArguments(platform.commandLine());
  std::optional<RunLog> log;
  if (arguments.LogPath && !arguments.LogPath->empty()) log.emplace(platform, *arguments.LogPath);
  // The program file's payload is checked before anything is shown or made, and held from then
  // on.
  ProgramDisks disks = OpenProgramDisks(platform);
  const std::string damage = std::move(disks.Problem);
  std::optional<CarriedDisksPlatform> carried;
  if (disks.Kind == CarriedPayload::State::kFound) {
    carried.emplace(platform, std::move(disks), FolderPart(platform.programFilePath()));
  }
  return RunStart(carried ? *carried : platform, arguments, log ? &*log : nullptr, damage);
}

}  // namespace orv
