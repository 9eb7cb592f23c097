#include "setup/SetupRun.h"

#include "app/FailureDisplay.h"
#include "app/Main.h"
#include "app/RunLog.h"
#include "common/Platform.h"
#include "common/TextUtils.h"
#include "record/RecordTrust.h"
#include "record/UninstallRecord.h"
#include "setup/AssociationPhase.h"
#include "setup/Completion.h"
#include "setup/CopyPhase.h"
#include "setup/FolderPhase.h"
#include "setup/RegistryPhase.h"
#include "setup/SetupScript.h"
#include "setup/ShortcutPhase.h"

namespace orv {

void SetupRun::Execute() {
  Run();
  if (!raised_) return;
  // Past the last point to abort, Exit is what is left to leave by.
  if (!main_.btnAbort.showing()) {
    main_.btnEnd.setCaption(main_text::kEnd);
    main_.btnEnd.setEnabled(true);
  }
  main_.showError(raised_->Message);
}

bool SetupRun::Raise(SetupError error) {
  raised_ = std::move(error);
  return false;
}

void SetupRun::Run() {
  if (!Start()) return;
  // The run works from one reading of the script; one it cannot read, it does not start on.
  if (!main_.loadInfoFile()) {
    Raise({main_text::kInfoFileMissing});
    return;
  }
  LoadScript(main_.platform(), main_.globals(), main_.info(), main_.runState());
  if (!CheckSetupFolder()) return;
  RunState& state = main_.runState();
  const auto earlier = MergeEarlierRecord(main_.platform(), main_.globals(),
                                          state.UninstallInfoPath, state.Records, state.Failures);
  if (!earlier) {
    // A new record would forget what the earlier installation left to remove.
    Stop(state.UninstallInfoPath + "\r\r" + setup_text::kEarlierRecordUnreadable);
    return;
  }
  state.EarlierEntry = earlier->Entry;
  if (!RunFolderPhase(*this, main_)) return;
  if (!RunCopyPhase(*this, main_)) return;
  if (!RunPhasesAfterCopy()) return;

  if (!ShowStatus(completion_text::kCopyingUninstaller)) return;  // the last point to abort
  CopyUninstaller(main_);
  CompleteUninstallRecord(main_);
  if (!SummarizeFailures()) return;
  const auto digest = WriteUninstallRecord(main_);
  if (!digest) {
    Raise({completion_text::kRecordFailedHead + state.UninstallInfoPath +
           completion_text::kRecordFailedTail});
    return;
  }
  if (Raised raised = RegisterUninstall(main_, *digest)) {
    Raise(std::move(*raised));
    return;
  }
  ShowCompletion(main_);
  Finish();
}

bool SetupRun::RunPhasesAfterCopy() {
  const bool done = RunShortcutPhase(*this, main_) && RunRegistryPhase(*this, main_) &&
                    RunAssociationPhase(*this, main_);
  if (raised_) LeaveUninstall();
  return done;
}

// Files are installed: whatever else fails, the user must be able to remove them again.
void SetupRun::LeaveUninstall() {
  CopyUninstaller(main_);
  CompleteUninstallRecord(main_);
  const auto digest = WriteUninstallRecord(main_);
  // The error that stopped the run is the one to show.
  if (digest) (void)RegisterUninstall(main_, *digest);
}

bool SetupRun::ShowStatus(std::string_view text) {
  main_.lblMessage.setCaption(std::string(text));
  return KeepResponsive();
}

bool SetupRun::KeepResponsive() {
  const bool running = main_.platform().processMessages();
  return running && !main_.globals().AbortRequested;
}

bool SetupRun::Start() {
  RunState& state = main_.runState();
  state.DiskNumber = 1;
  state.TotalBytes = 0;
  state.CopiedBytes = 0;
  state.Failures.Clear();
  state.SizesKnown = true;
  state.End = RunEnd::kWorking;
  state.SetupFolderNotMade = false;
  main_.globals().AbortRequested = false;

  for (Control* control : {&main_.txtFolder, &main_.btnRefer, &main_.chkOverWrite,
                           &main_.chkSCutDesktop, &main_.chkSCutStartMenu, &main_.chkSCutStartUp,
                           &main_.chkSCutSendTo, &main_.btnEnd, &main_.btnSetup}) {
    control->setEnabled(false);
  }
  main_.lblMessage.setCaption(setup_text::kStarting);
  main_.platform().processMessages();
  main_.platform().sleep(kFirstStatusPause);
  main_.btnAbort.setEnabled(true);
  main_.btnAbort.setVisible(true);
  main_.btnSetup.setVisible(false);

  state.Options = {main_.chkOverWrite.checked(), main_.chkSCutDesktop.checked(),
                   main_.chkSCutStartMenu.checked(), main_.chkSCutStartUp.checked(),
                   main_.chkSCutSendTo.checked()};
  if (RunLog* log = main_.globals().Log) {
    log->Write("setup run: folder " + main_.txtFolder.caption() + "; " +
               OptionsText(state.Options));
  }
  return ShowStatus(setup_text::kPreparing);
}

bool SetupRun::CheckSetupFolder() {
  Platform& p = main_.platform();
  Globals& g = main_.globals();
  RunState& state = main_.runState();
  if (!ShowStatus(setup_text::kCheckingFolder)) return false;
  state.SetupFolderPath = main_.txtFolder.caption();
  if (!p.folderExists(state.SetupFolderPath)) {
    g.MessageText = state.SetupFolderPath + "\r\r" + setup_text::kFolderMissing + "\r" +
                    setup_text::kCreateFolderQuestion;
    g.MessageAnswer =
        p.messageBox(g.MessageText, setup_text::kCreateFolderCaption, kMbYesNo | kMbIconQuestion);
    if (g.MessageAnswer != kIdYes) {
      Stop(setup_text::kCannotContinue);
      return false;
    }
    // An empty folder cannot be made; the error ends the run before anything is made or
    // recorded, and Abort is left to leave the program.
    if (StripSeparator(state.SetupFolderPath, "B").empty()) {
      state.SetupFolderNotMade = true;
      return Raise({setup_text::kCannotCreateFolder});
    }
    // A folder that cannot be made shows in the failures of the later phases.
    state.SetupFolderNotMade = !p.createFolderPath(state.SetupFolderPath);
  }
  state.UninstallInfoPath = StripSeparator(state.SetupFolderPath, "B") + "\\UNSETUP.INI";
  return true;
}

// From here on the user can no longer abort the run; only a quit from outside ends it.
bool SetupRun::SummarizeFailures() {
  main_.btnSetup.setVisible(true);
  main_.btnAbort.setVisible(false);
  OfferFailureList(main_, main_.runState().Failures, setup_text::kFailuresQuestion,
                   setup_text::kFailuresCaption, main_.btnSetup);
  return !main_.globals().AbortRequested;
}

// The run ends before anything is installed: the user is told why and the window closes.
void SetupRun::Stop(const std::string& message) {
  main_.platform().messageBox(message, setup_text::kStoppedCaption, kMbOk | kMbIconStop);
  main_.runState().End = RunEnd::kStopped;
  Finish();
}

// The end of the run: the run-finished flag is set and the window closes without a question.
void SetupRun::Finish() {
  main_.frmBack().setRunFinished();
  main_.setModalResult(kModalOk);
}

}  // namespace orv
