// The program's state and forms for one start: the program-wide values, the run state, the
// background window and the main window over it.
#pragma once

#include "app/Back.h"
#include "app/Main.h"
#include "common/Globals.h"
#include "setup/RunState.h"

namespace orv {

struct ProgramStart {
  explicit ProgramStart(Platform& platform)
      : frmBack(platform), frmMain(platform, globals, runState, frmBack) {
    // Both windows exist: from now on the background window's first resize shows the main window.
    frmBack.setMainForm(frmMain);
  }

  Globals globals;
  RunState runState;
  TfrmBack frmBack;
  TfrmMain frmMain;
};

}  // namespace orv
