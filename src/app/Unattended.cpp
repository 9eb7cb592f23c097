#include "app/Unattended.h"

#include <algorithm>

#include "app/ProgramStart.h"
#include "app/RunLog.h"
#include "setup/AssociationPhase.h"
#include "setup/CopyPhase.h"
#include "setup/SetupRun.h"

namespace orv {

namespace {

class NoView : public FormView {
 public:
  void changed(const Control*, Property) override {}
  void show(ShowMode) override {}
  void hide() override {}
  void close() override {}
  void repaint(const Control&) override {}
};

// Whether the start may go on; when not, why, in the log.
bool Refuse(RunLog* log, const std::string& reason) {
  if (log != nullptr) log->Write("unattended start refused: " + reason);
  return false;
}

}  // namespace

int ExitCodeOf(const RunState& state) {
  switch (state.End) {
    case RunEnd::kDiskMissing:
      return exit_code::kDiskMissing;
    case RunEnd::kCompleted:
    case RunEnd::kRestartNeeded:
      if (state.SetupFolderNotMade) return exit_code::kFolderNotMade;
      // What stays because the unattended answers keep it is no failure.
      if (state.Failures.FailureCount > state.KeptFailures) return exit_code::kDoneWithFailures;
      return state.End == RunEnd::kRestartNeeded ? exit_code::kRestartNeeded : exit_code::kDone;
    case RunEnd::kWorking:
      return state.SetupFolderNotMade ? exit_code::kFolderNotMade : exit_code::kRunFailed;
    case RunEnd::kNotStarted:
    case RunEnd::kStopped:
      break;
  }
  return exit_code::kRunFailed;
}

int UnattendedPlatform::messageBox(std::string_view text, std::string_view caption,
                                   std::uint32_t flags) {
  const int given = answer(text, caption, flags);
  answered_.push_back({std::string(caption), std::string(text), flags, given});
  return given;
}

int UnattendedPlatform::answer(std::string_view text, std::string_view caption,
                               std::uint32_t flags) {
  switch (flags & 0x0F) {
    case kMbYesNo:
      return caption == setup_text::kCreateFolderCaption || caption == relate_text::kCaption
                 ? kIdYes
                 : kIdNo;
    case kMbOkCancel:
      if (caption != copy_text::kDiskCaption ||
          std::ranges::find(disksAsked_, text) != disksAsked_.end()) {
        return kIdCancel;
      }
      disksAsked_.emplace_back(text);
      return kIdOk;
    default:
      return kIdOk;
  }
}

int UnattendedPlatform::restartDialog(const Form&) {
  return kIdNo;
}

std::intptr_t UnattendedPlatform::openProgram(const Form&, std::string_view program,
                                              std::string_view parameters) {
  if (log_ != nullptr) {
    log_->Write("not started in an unattended run: " + std::string(program) + " " +
                std::string(parameters));
  }
  return 33;
}

std::unique_ptr<FormView> UnattendedPlatform::createView(Form&) {
  return std::make_unique<NoView>();
}

int RunUnattended(ProgramStart& start, const ProgramArguments& arguments, RunLog* log) {
  TfrmMain& main = start.frmMain;
  // The forms' views, windowless, are there from the start, so what the run shows is logged.
  start.frmBack.show(ShowMode::kMaximized);
  main.show(ShowMode::kNormal);
  main.deliverActivate();
  if (main.btnContinue.showing() && main.btnContinue.enabled()) main.deliverClick(main.btnContinue);

  const bool uninstall = main.uninstallMode();
  Control& startButton = uninstall ? main.btnUnSetup : main.btnSetup;
  bool startable = true;
  if (!startButton.showing() || !startButton.enabled()) {
    startable = Refuse(log, main.lblMessage.caption());
  } else if (!uninstall && arguments.Folder && !main.txtFolder.enabled()) {
    startable = Refuse(log, "the script does not let the setup folder be chosen");
  }
  if (!startable) {
    const std::string& message = main.globals().MessageText;
    const bool unreadable = message.find(main_text::kInfoFileMissing) != std::string::npos ||
                            message.find(main_text::kNeeds64BitWindows) != std::string::npos;
    const bool badArguments = startButton.showing() && startButton.enabled();
    main.ApplicationQuit();
    return unreadable || badArguments ? exit_code::kBadCommandLine : exit_code::kRunFailed;
  }

  main.deliverClick(startButton);
  // A run an error ended leaves its temporary record copy; the start ends as after a quit.
  main.ApplicationQuit();
  // A file the script names that the disk lacks leaves the installation incomplete.
  RunState& state = start.runState;
  for (const std::string& source : state.SkippedSources)
    state.Failures.Add(kFileFailureTag, source);
  return ExitCodeOf(state);
}

}  // namespace orv
