#include "common/win32/SystemLibrary.h"

#include <string>

namespace orv::win32 {

namespace {

// LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR and LOAD_LIBRARY_SEARCH_SYSTEM32: Windows 8, and Vista and 7
// with update KB2533623.
constexpr DWORD kSearchDllFolder = 0x00000100;
constexpr DWORD kSearchSystem32 = 0x00000800;

std::wstring SystemPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L'\\' + name;
}

// The DLL's own imports are looked for in the system folder too: with the search flags where
// Windows has them, else beside the DLL first (the older Windows refuse the flags as invalid).
HMODULE LoadFromSystemFolder(const wchar_t* name) {
  const std::wstring path = SystemPath(name);
  if (path.empty()) return nullptr;
  HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, kSearchDllFolder | kSearchSystem32);
  if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
    module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return module;
}

}  // namespace

void ConfineLibrarySearch() {
  // Both looked up: XP without a service pack lacks the first, every Windows before 8 the second.
  const auto setDllDirectory = KernelFunction<BOOL(WINAPI*)(LPCWSTR)>("SetDllDirectoryW");
  if (setDllDirectory != nullptr) setDllDirectory(L"");
  const auto setDefaultDllDirectories =
      KernelFunction<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories");
  if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(kSearchSystem32);
}

// Each kept for the whole process, made once (the program starts no thread): a later load by name
// takes the module already loaded.
void LoadBaseOwnLibraries() {
  static const SystemLibrary kept(L"version.dll");
  static_cast<void>(kept);
}

void LoadWindowsOwnLibraries() {
  static const SystemLibrary kept[] = {
      SystemLibrary(L"uxtheme.dll"),
      SystemLibrary(L"msimg32.dll"),
      SystemLibrary(L"dwmapi.dll"),
      SystemLibrary(L"oleacc.dll"),
  };
  static_cast<void>(kept);
}

void LoadShellOwnLibraries() {
  static const SystemLibrary kept[] = {
      SystemLibrary(L"shlwapi.dll"), SystemLibrary(L"propsys.dll"), SystemLibrary(L"cryptbase.dll"),
      SystemLibrary(L"userenv.dll"), SystemLibrary(L"apphelp.dll"), SystemLibrary(L"clbcatq.dll"),
      SystemLibrary(L"ntmarta.dll"),
  };
  static_cast<void>(kept);
}

void BeforeDelayLoad(const char* library) {
  if (::lstrcmpiA(library, "shell32.dll") == 0) LoadShellOwnLibraries();
}

SystemLibrary::SystemLibrary(const wchar_t* name) : module_(LoadFromSystemFolder(name)) {}

SystemLibrary::~SystemLibrary() {
  if (module_ != nullptr) ::FreeLibrary(module_);
}

}  // namespace orv::win32
