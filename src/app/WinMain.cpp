// The Windows entry point: the DLL search confined to the system folder, the real platform, the
// program, whose outcome is the exit code. The platform sets up COM and the common controls when
// a shortcut or a window first needs them.
#include <windows.h>

#include <delayimp.h>

#include "app/SETUP.h"
#include "common/win32/SystemLibrary.h"
#include "common/win32/Win32Platform.h"

namespace {

FARPROC WINAPI NoteDelayLoad(unsigned notice, PDelayLoadInfo load) {
  if (notice == dliNotePreLoadLibrary) orv::win32::BeforeDelayLoad(load->szDll);
  return nullptr;
}

}  // namespace

// The delay-load helper tells the program before it loads each delay-loaded DLL (declared in
// delayimp.h, defined here).
PfnDliHook __pfnDliNotifyHook2 = NoteDelayLoad;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // First of all: every DLL but kernel32 and msvcrt is loaded from here on.
  orv::win32::ConfineLibrarySearch();
  orv::win32::LoadBaseOwnLibraries();
  // A drive without a disk (during a disk change) answers "not found" instead of raising the
  // system's own error box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  orv::Win32Platform platform;
  return orv::RunProgram(platform);
}
