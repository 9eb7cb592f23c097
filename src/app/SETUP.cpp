#include "app/SETUP.h"

#include "app/ProgramStart.h"
#include "common/Platform.h"

namespace orv {

int RunProgram(Platform& platform) {
  // A second start while a copy runs ends at once, silently.
  const auto instance = platform.claimNamedMutex(kSingleInstanceName);
  if (!instance) return 0;

  platform.setApplicationTitle(kApplicationTitle);
  ProgramStart start(platform);
  start.frmBack.show(ShowMode::kMaximized);
  platform.runMessageLoop();
  return 0;
}

}  // namespace orv
