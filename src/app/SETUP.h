// The program: one copy at a time, the background window and the main window over it, the
// message loop; or, started with /S, the same program with nobody at the screen. The exit code
// is 0 for an interactive start, the outcome's for an unattended one.
#pragma once

namespace orv {

class Platform;

inline constexpr const char* kSingleInstanceName = "ORVSETUP";
// On the task bar, and the caption of the error box.
inline constexpr const char* kApplicationTitle = "Orvane! Setup 98";
// A packed program whose disks are cut or changed (a broken download).
inline constexpr const char* kDamagedProgram =
    "セットアップファイルが壊れているため，セットアップできません．\r\rもう一度ダウンロードしてくだ"
    "さい．";

int RunProgram(Platform& platform);

}  // namespace orv
