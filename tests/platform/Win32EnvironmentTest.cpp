// The Windows the tests run in is a Japanese one: the runner's locale gives Wine code page 932,
// without which Japanese file names and Shift-JIS files would not behave as on a Japanese Windows.
#include <windows.h>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

TEST(Win32Environment, AnsiCodePageIsShiftJis) {
  EXPECT_EQ(::GetACP(), 932u);
  EXPECT_EQ(PRIMARYLANGID(LANGIDFROMLCID(::GetSystemDefaultLCID())), LANG_JAPANESE);
}

}  // namespace
}  // namespace orv::test
