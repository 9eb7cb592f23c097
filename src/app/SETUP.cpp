#include "app/SETUP.h"

#include <optional>

#include "app/ProgramStart.h"
#include "app/RunLog.h"
#include "app/Unattended.h"
#include "app/Version.h"
#include "common/CommandLine.h"
#include "common/Platform.h"

namespace orv {

namespace {

int RunStart(Platform& platform, const ProgramArguments& arguments, RunLog* log) {
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
  return RunStart(platform, arguments, log ? &*log : nullptr);
}

}  // namespace orv
