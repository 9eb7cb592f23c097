// How the main window comes to an end: Exit, Abort, the close question, the button that closes
// the failure list, and what the application's task-bar button is told from outside.
#include "app/Main.h"
#include "common/Platform.h"
#include "record/RecordTrust.h"
#include "setup/SetupRun.h"
#include "uninstall/UninstallRun.h"

namespace orv {

void TfrmMain::btnEndClick() {
  setModalResult(kModalOk);
}

void TfrmMain::btnAbortClick() {
  g_.MessageText = main_text::kAbortQuestion;
  g_.MessageAnswer =
      platform().messageBox(g_.MessageText, main_text::kAbortCaption, kMbYesNo | kMbIconQuestion);
  if (g_.MessageAnswer != kIdYes) return;
  g_.AbortRequested = true;
  frmBack_.setRunFinished();
  setModalResult(kModalOk);
}

void TfrmMain::FormCloseQuery(bool& canClose) {
  canClose = true;
  if (frmBack_.runFinished()) return;
  const int answer = platform().messageBox(main_text::kCloseQuestion, main_text::kCloseCaption,
                                           kMbYesNo | kMbIconQuestion);
  if (answer == kIdNo) {
    canClose = false;
    return;
  }
  deleteTemporaryInfoCopy();
  frmBack_.setRunFinished();
  setModalResult(kModalOk);
}

void TfrmMain::ApplicationClose() {
  if (btnEnd.showing() && btnEnd.enabled()) btnEndClick();
}

void TfrmMain::ApplicationQuit() {
  g_.AbortRequested = true;
  deleteTemporaryInfoCopy();
  frmBack_.setRunFinished();
  setModalResult(kModalOk);
}

// Only a copy this start made goes; the record in the setup folder stays.
void TfrmMain::deleteTemporaryInfoCopy() {
  if (uninstallMode() && !infoCopyFailed_) (void)DeleteRecordCopy(platform(), g_.InfoFilePath);
}

void TfrmMain::btnCloseErrorLogClick() {
  btnCloseErrorLog.setVisible(false);
}

void TfrmMain::btnSetupClick() {
  SetupRun(*this).Execute();
}

void TfrmMain::btnUnSetupClick() {
  UninstallRun(*this).Execute();
}

}  // namespace orv
