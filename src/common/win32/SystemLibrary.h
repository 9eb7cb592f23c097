// DLLs of Windows, loaded from the system folder only. The program runs elevated from folders
// anyone may write into (a download folder, or the temporary folder an uninstall works in), and
// Windows looks for a DLL that is not one of its KnownDLLs in the program's folder, and in the
// current folder, before the system folder: a DLL planted there would run inside the program.
// SETUP.EXE therefore imports only kernel32 and msvcrt before its first instruction; the other
// DLLs of Windows it uses are loaded when first called (delay-loaded), after the search has been
// confined, or by full path here.
#pragma once

#include <windows.h>

namespace orv::win32 {

// Confines every later DLL search by name (the program's own and the ones Windows' DLLs make for
// it) to the system folder, and takes the current folder out of it. Called before anything else.
void ConfineLibrarySearch();

// Load from the system folder the DLLs that are not KnownDLLs and that Windows' own DLLs load by
// name on demand, so that a later load by name finds them loaded: on the Windows that cannot
// confine the search (XP, and Vista and 7 without update KB2533623), and for the delay-loaded
// imports of Windows' own DLLs that some Windows (Wine) resolve without it.
// The one the window system's base DLLs import (Wine's user32 and gdi32, which even a start
// without windows loads): right after ConfineLibrarySearch.
void LoadBaseOwnLibraries();
// The ones the windows need (the common controls' themes, accessibility): before the first
// window or message box. Left to then, they cost an unattended start nothing.
void LoadWindowsOwnLibraries();
// The ones the shell and COM objects need (the folder browser, shortcuts, starting a program):
// before the shell is loaded or a COM object made. Left to then, they cost a start nothing.
void LoadShellOwnLibraries();
// For the delay-load helper's notice before it loads one of the program's delay-loaded DLLs.
void BeforeDelayLoad(const char* library);

// A function of kernel32 that some Windows versions lack, looked up so that the program still
// loads there; nullptr where it is missing.
template <typename Function>
Function KernelFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

// One DLL of the system folder, loaded by its full path; released when this is destroyed.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The exported function of that name (or ordinal, MAKEINTRESOURCEA), or nullptr when the DLL
  // is missing or does not export it.
  template <typename Function>
  Function find(const char* name) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

}  // namespace orv::win32
