#include "setup/FolderPhase.h"

#include "app/Main.h"
#include "common/Platform.h"
#include "common/TextUtils.h"
#include "setup/PathMacros.h"
#include "setup/SetupRun.h"

namespace orv {

bool RunFolderPhase(SetupRun& run, TfrmMain& main) {
  Platform& p = main.platform();
  RunState& state = main.runState();
  const MacroFolders folders = MacroFolders::Of(main.globals(), state.SetupFolderPath);
  for (const std::string& entry : state.FolderList) {
    const std::string folder = ResolveMacros(AddSeparator(entry, "B"), folders);
    // Recorded before it is made, whatever comes of it.
    const bool kept = Kept(state.Records.DeleteFolderRecords.Insert(p, folder));
    if (!run.ShowStatus(setup_text::kCreatingFolder + folder)) return false;
    const Status made = p.createFolder(folder);
    if (!kept || (!made && made.error() != kErrorAlreadyExists)) {
      state.Failures.Add(kFolderFailureTag, folder);
    }
    p.sleep(kStepPause);
  }
  return true;
}

}  // namespace orv
