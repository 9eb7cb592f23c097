// The Windows entry point: COM and the common controls for the thread, the real platform, the
// program. The exit code is always 0.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#include "app/SETUP.h"
#include "common/win32/Win32Platform.h"

// The library's verbose terminate handler prints the exception's demangled type, which links the
// whole C++ demangler (about 60 KB); a GUI program has no console to print to anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

namespace {

// COM for the thread (the shell's folder browser and shortcuts need it), released at exit.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A drive without a disk (during a disk change) answers "not found" instead of raising the
  // system's own error box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const ComScope com;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  orv::Win32Platform platform;
  orv::RunProgram(platform);
  return 0;
}
