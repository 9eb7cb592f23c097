// The program: one copy at a time, the background window and the main window over it, the
// message loop. Always ends with exit code 0.
#pragma once

namespace orv {

class Platform;

inline constexpr const char* kSingleInstanceName = "ORVSETUP";
// On the task bar, and the caption of the error box.
inline constexpr const char* kApplicationTitle = "Orvane! Setup 98";

int RunProgram(Platform& platform);

}  // namespace orv
