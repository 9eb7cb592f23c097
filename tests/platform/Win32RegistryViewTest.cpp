// The registry view the build writes to: no KEY_WOW64_* flag is passed, so Windows chooses. The
// x86_64 build writes the native view; the i686 release is redirected into Wow6432Node, as every
// 32-bit installer is.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/win32/Handles.h"
#include "common/win32/Win32Platform.h"

namespace orv::test {
namespace {

bool KeyInView(REGSAM view, const wchar_t* path) {
  HKEY key = nullptr;
  const bool found =
      ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key) == ERROR_SUCCESS;
  const win32::RegistryKey owned(key);
  return found;
}

TEST(Win32RegistryView, TheBuildWritesItsOwnView) {
  Win32Platform platform;
  ASSERT_TRUE(platform.createRegistryKey(RegistryRoot::kLocalMachine, "SOFTWARE\\OrvaneViewTest"));
  const bool native = sizeof(void*) == 8;
  EXPECT_EQ(KeyInView(KEY_WOW64_64KEY, L"SOFTWARE\\OrvaneViewTest"), native);
  EXPECT_EQ(KeyInView(KEY_WOW64_32KEY, L"SOFTWARE\\OrvaneViewTest"), !native);
  EXPECT_TRUE(platform.deleteRegistryKey(RegistryRoot::kLocalMachine, "SOFTWARE\\OrvaneViewTest"));
}

}  // namespace
}  // namespace orv::test
