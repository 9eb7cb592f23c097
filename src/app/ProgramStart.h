// The program's state and forms for one start: the program-wide values, the run state, the
// platform they see, the background window and the main window over it.
#pragma once

#include "app/Back.h"
#include "app/Main.h"
#include "app/NativeView.h"
#include "common/Globals.h"
#include "setup/RunState.h"

namespace orv {

struct ProgramStart {
  explicit ProgramStart(Platform& platform)
      : nativeView(platform, globals),
        frmBack(nativeView),
        frmMain(nativeView, globals, runState, frmBack) {
    // Both windows exist: from now on the background window's first resize shows the main window.
    frmBack.setMainForm(frmMain);
  }

  Globals globals;
  RunState runState;
  // The platform as the forms and runs see it: a 64-bit application's script has it name what
  // 64-bit programs see.
  NativeViewPlatform nativeView;
  TfrmBack frmBack;
  TfrmMain frmMain;
};

}  // namespace orv
