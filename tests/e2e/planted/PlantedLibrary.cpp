// A DLL as another user could plant it beside SETUP.EXE in a download folder, or in the temporary
// folder an uninstall works in, under the name of a DLL of Windows (run-scenario.sh copies it
// under each name a scenario's "# planted:" line gives). Loaded into a process, it appends that
// process's program and its own path to C:\planted.log, which the scenario expects never to
// exist. The LZ functions forward to the system's lz32, which the program once imported, so a
// program that loaded it under that name would go on and show the rest of its run.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
  return bytes;
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH];
  return std::wstring(path, ::GetModuleFileNameW(module, path, MAX_PATH));
}

void Mark(HMODULE self) {
  const std::string line = Utf8(ModulePath(self) + L" in " + ModulePath(nullptr)) + "\r\n";
  const HANDLE log =
      ::CreateFileW(L"C:\\planted.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(log);
}

template <typename Function>
Function SystemLz(const char* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  static const HMODULE lz32 =
      ::LoadLibraryW((std::wstring(folder, length) + L"\\lz32.dll").c_str());
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(lz32, name)));
}

}  // namespace

extern "C" {

__declspec(dllexport) INT WINAPI LZInit(INT file) {
  return SystemLz<INT(WINAPI*)(INT)>("LZInit")(file);
}

__declspec(dllexport) LONG WINAPI LZCopy(INT from, INT to) {
  return SystemLz<LONG(WINAPI*)(INT, INT)>("LZCopy")(from, to);
}

__declspec(dllexport) void WINAPI LZClose(INT file) {
  SystemLz<void(WINAPI*)(INT)>("LZClose")(file);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) Mark(self);
  return TRUE;
}

}  // extern "C"
