// The Windows entry point: COM and the common controls for the thread, the real platform, the
// program, whose outcome is the exit code.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/SETUP.h"
#include "common/win32/Handles.h"
#include "common/win32/Win32Platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A drive without a disk (during a disk change) answers "not found" instead of raising the
  // system's own error box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // COM for the thread: the shell's folder browser and shortcuts need it.
  const orv::win32::ComScope com;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  orv::Win32Platform platform;
  return orv::RunProgram(platform);
}
