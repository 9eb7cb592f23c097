#include "common/CommandLine.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, BlanksSeparateAndQuotesOnlyGroup) {
  EXPECT_EQ(SplitCommandLine("SETUP.EXE"), Args({"SETUP.EXE"}));
  EXPECT_EQ(SplitCommandLine("  C:\\WINDOWS\\UNORSET.EXE \"C:\\Program Files\\Tool\\UNSETUP.INI\""),
            Args({"C:\\WINDOWS\\UNORSET.EXE", "C:\\Program Files\\Tool\\UNSETUP.INI"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\My Setup\\SETUP.EXE\"\targ"),
            Args({"C:\\My Setup\\SETUP.EXE", "arg"}));
  EXPECT_EQ(SplitCommandLine("a C:\\Pro\"gram Fi\"les\\x b"),
            Args({"a", "C:\\Program Files\\x", "b"}));
}

TEST(CommandLine, BackslashesHaveNoSpecialMeaning) {
  EXPECT_EQ(SplitCommandLine("p \"C:\\Tools\\\" next"), Args({"p", "C:\\Tools\\", "next"}));
  EXPECT_EQ(SplitCommandLine("p \\\"x\\\""), Args({"p", "\\x\\"}));
}

TEST(CommandLine, EmptyAndUnterminatedInput) {
  EXPECT_EQ(SplitCommandLine(""), Args());
  EXPECT_EQ(SplitCommandLine("   "), Args());
  EXPECT_EQ(SplitCommandLine("p \"unterminated arg"), Args({"p", "unterminated arg"}));
  EXPECT_EQ(SplitCommandLine("p \"\""), Args({"p", ""}));
  EXPECT_EQ(SplitCommandLine("p \"ソフト 表\""), Args({"p", "ソフト 表"}));
}

}  // namespace
}  // namespace orv
