#include "common/TextUtils.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(Separators, AddAtTheSelectedSide) {
  EXPECT_EQ(AddSeparator("C:\\Tool", "B"), "C:\\Tool\\");
  EXPECT_EQ(AddSeparator("C:\\Tool\\", "B"), "C:\\Tool\\");
  EXPECT_EQ(AddSeparator("README.TXT", "T"), "\\README.TXT");
  EXPECT_EQ(AddSeparator("\\README.TXT", "T"), "\\README.TXT");
  EXPECT_EQ(AddSeparator("", "B"), "\\");
  EXPECT_EQ(AddSeparator("", "T"), "\\");
}

TEST(Separators, StripAtMostOneAtTheSelectedSide) {
  EXPECT_EQ(StripSeparator("C:\\Temp\\", "B"), "C:\\Temp");
  EXPECT_EQ(StripSeparator("C:\\", "B"), "C:");
  EXPECT_EQ(StripSeparator("C:\\Temp", "B"), "C:\\Temp");
  EXPECT_EQ(StripSeparator("\\\\x", "T"), "\\x");
  EXPECT_EQ(StripSeparator("x\\\\", "B"), "x\\");
  EXPECT_EQ(StripSeparator("", "B"), "");
  EXPECT_EQ(StripSeparator("\\", "T"), "");
}

TEST(Separators, OnlyTheFirstCharacterOfTheSideCounts) {
  EXPECT_EQ(AddSeparator("x", "Bottom"), "x\\");
  EXPECT_EQ(AddSeparator("x", "Top"), "\\x");
  EXPECT_EQ(AddSeparator("x", "b"), "x");
  EXPECT_EQ(AddSeparator("x", "t"), "x");
  EXPECT_EQ(AddSeparator("x", ""), "x");
  EXPECT_EQ(StripSeparator("x\\", "bottom"), "x\\");
  EXPECT_EQ(StripSeparator("\\x", "Tail"), "x");
}

TEST(Separators, ADoubleByteCharacterIsNeverTakenForASeparator) {
  // In Shift-JIS these end in the byte of "\"; as characters they do not.
  for (const char* folder : {"C:\\ソ", "C:\\表", "C:\\能"}) {
    EXPECT_EQ(AddSeparator(folder, "B"), std::string(folder) + "\\") << folder;
    EXPECT_EQ(StripSeparator(folder, "B"), folder) << folder;
  }
  EXPECT_EQ(StripSeparator("C:\\ソフト\\", "B"), "C:\\ソフト");
}

TEST(ReplaceToken, JoinsTheReplacementWithExactlyOneSeparator) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"(App)\\bin\\a.exe", "C:\\Tool\\bin\\a.exe"},
      {"(App)bin", "C:\\Tool\\bin"},
      {"(App)", "C:\\Tool\\"},
      {"(App)\\", "C:\\Tool\\"},
      {"X(App)\\y", "XC:\\Tool\\y"},
      {"(App)\\a;(App)\\b", "C:\\Tool\\a;C:\\Tool\\b"},
      {"(App)\\\\x", "C:\\Tool\\\\x"},
      {"(app)\\bin", "(app)\\bin"},
      {"no token", "no token"},
      {"", ""},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(ReplaceToken(row.text, "(App)", "C:\\Tool"), row.expected) << row.text;
  }
  EXPECT_EQ(ReplaceToken("(App)\\bin", "(App)", ""), "\\bin");
  EXPECT_EQ(ReplaceToken("(App)\\bin", "(App)", "C:\\Tool\\"), "C:\\Tool\\bin");
}

TEST(ReplaceToken, AReplacementHoldingTheTokenIsNotSearchedAgain) {
  EXPECT_EQ(ReplaceToken("(App)\\x", "(App)", "C:\\(App)"), "C:\\(App)\\x");
  EXPECT_EQ(ReplaceToken("(App);(App)", "(App)", "(App)(App)"), "(App)(App)\\;(App)(App)\\");
  EXPECT_EQ(ReplaceToken("aaa", "a", "a"), "a\\a\\a\\");
  EXPECT_EQ(ReplaceToken("text", "", "x"), "text") << "an empty token occurs nowhere";
}

TEST(ReplaceToken, DoubleByteTextAroundTheTokenIsKept) {
  EXPECT_EQ(ReplaceToken("(App)\\表\\能.exe", "(App)", "D:\\ソフト"), "D:\\ソフト\\表\\能.exe");
}

}  // namespace
}  // namespace orv
