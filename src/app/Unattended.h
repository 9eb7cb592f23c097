// An unattended start (/S): the program on the real platform with a user who never clicks. No
// window is made, no box is shown and nothing pauses; the runs do their work as in an
// interactive start, each question taking the answer of an administrator who asked for the
// installation, and the exit code tells the outcome.
#pragma once

#include <string>
#include <vector>

#include "common/CommandLine.h"
#include "common/ForwardingPlatform.h"

namespace orv {

class RunLog;
struct ProgramStart;
struct RunState;

// The exit codes of an unattended start (an interactive one always ends with 0).
namespace exit_code {
inline constexpr int kDone = 0;
inline constexpr int kDoneWithFailures = 1;  // the log lists them; a restart may be needed too
// A bad command line, no readable information file (or a damaged one the program file carries),
// or a log that cannot be written.
inline constexpr int kBadCommandLine = 2;
inline constexpr int kAlreadyRunning = 3;  // another copy of the program runs
inline constexpr int kFolderNotMade = 4;
inline constexpr int kDiskMissing = 5;
inline constexpr int kRunFailed = 6;  // an error ended the run, or it could not start
inline constexpr int kRestartNeeded = 3010;
}  // namespace exit_code

// The exit code of a run that ended as state says.
int ExitCodeOf(const RunState& state);

class UnattendedPlatform : public ForwardingPlatform {
 public:
  // log, when there is one, is told what an unattended run leaves undone.
  UnattendedPlatform(Platform& inner, RunLog* log) : ForwardingPlatform(inner), log_(log) {}

  // Creation folder and association: Yes (the administrator asked for them). A disk: OK the first
  // time it is asked for, since its files may already be in the program's folder; Cancel when
  // asked again. Every other question gets the answer that changes nothing: No or Cancel.
  int messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override;
  // Never a restart: the exit code says one is needed.
  int restartDialog(const Form& owner) override;
  // The follow-up program is not started; told as started, so the run lists no failure.
  std::intptr_t openProgram(const Form& owner, std::string_view program,
                            std::string_view parameters) override;
  std::optional<std::string> browseForFolder(const Form&, std::string_view,
                                             std::uint32_t) override {
    return std::nullopt;
  }

  // No window and no pause.
  std::unique_ptr<FormView> createView(Form& form) override;
  void setApplicationTitle(std::string_view) override {}
  void setApplicationHandlers(ApplicationHandlers) override {}
  void sleep(std::uint32_t) override {}
  void beep() override {}
  // No input ever comes: a wait for it ends as a quit would.
  bool waitForInput() override { return false; }
  void runMessageLoop() override {}

  // The boxes the run showed, in order, with the answer each was given.
  struct Answered {
    std::string Caption;
    std::string Text;
    std::uint32_t Flags = 0;
    int Answer = 0;
  };
  const std::vector<Answered>& answered() const { return answered_; }

 private:
  int answer(std::string_view text, std::string_view caption, std::uint32_t flags);

  RunLog* log_;
  std::vector<Answered> answered_;
  std::vector<std::string> disksAsked_;
};

// Runs start's mode selection, options stage and run unattended, on the UnattendedPlatform start
// was made with; returns the exit code.
int RunUnattended(ProgramStart& start, const ProgramArguments& arguments, RunLog* log);

}  // namespace orv
