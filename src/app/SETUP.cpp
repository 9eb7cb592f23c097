#include "app/SETUP.h"

#include "app/Back.h"
#include "app/Main.h"
#include "common/Platform.h"

namespace orv {

int RunProgram(Platform& platform) {
  // A second start while a copy runs ends at once, silently.
  const auto instance = platform.claimNamedMutex(kSingleInstanceName);
  if (!instance) return 0;

  platform.setApplicationTitle(kApplicationTitle);
  Globals globals;
  RunState runState;
  TfrmBack frmBack(platform);
  TfrmMain frmMain(platform, globals, runState, frmBack);
  // Both windows exist: from now on the background window's first resize shows the main window.
  frmBack.setMainForm(frmMain);
  frmBack.show(ShowMode::kMaximized);
  platform.runMessageLoop();
  return 0;
}

}  // namespace orv
