// The folder phase: the [MakeFolder] folders, created one level each, in order.
#pragma once

namespace orv {

class SetupRun;
class TfrmMain;

// Records each folder for removal at uninstall, shows it, creates it (an existing folder is no
// failure) and pauses. False when the user aborted.
bool RunFolderPhase(SetupRun& run, TfrmMain& main);

}  // namespace orv
