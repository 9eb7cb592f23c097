// The shell's folder browser on the real platform, driven from a second thread as a user would:
// select an item, confirm.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "common/Form.h"
#include "common/win32/Handles.h"
#include "common/win32/WideText.h"
#include "common/win32/Win32Platform.h"

namespace orv::test {
namespace {

BOOL CALLBACK NoteDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Waits for the browser of thread, selects the item, and confirms it with OK.
void ChooseInBrowser(DWORD thread, LPCITEMIDLIST item) {
  HWND dialog = nullptr;
  for (int attempt = 0; attempt < 1000 && dialog == nullptr; ++attempt) {
    ::Sleep(10);
    ::EnumThreadWindows(thread, NoteDialog, reinterpret_cast<LPARAM>(&dialog));
  }
  ASSERT_NE(dialog, nullptr) << "no folder browser";
  ::SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item));
  ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class ComScope {
 public:
  ComScope() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComScope() { ::CoUninitialize(); }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
};

std::optional<std::string> Browse(int folder) {
  const ComScope com;
  Win32Platform platform;
  Form owner(platform, "owner", FormStyle{});
  LPITEMIDLIST item = nullptr;
  EXPECT_EQ(::SHGetSpecialFolderLocation(nullptr, folder, &item), S_OK);
  const win32::TaskMemory owned(item);
  std::thread user(ChooseInBrowser, ::GetCurrentThreadId(), item);
  const auto chosen = platform.browseForFolder(owner, "title", kBifReturnOnlyFsDirs);
  user.join();
  return chosen;
}

TEST(Win32FolderBrowser, AConfirmedFolderGivesItsPath) {
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(Browse(CSIDL_WINDOWS), win32::Narrow(windows));
}

TEST(Win32FolderBrowser, AnItemWithoutAFileSystemPathCountsAsCancel) {
  EXPECT_EQ(Browse(CSIDL_DRIVES), std::nullopt);
}

}  // namespace
}  // namespace orv::test
