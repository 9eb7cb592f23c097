#include "common/Szdd.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(SzddHeader, OnlyModeAFilesAreCompressed) {
  const std::string good(
      "SZDD\x88\xF0\x27\x33"
      "A"
      "e"
      "\x34\x12\x00\x00",
      14);
  const auto header = ParseSzddHeader(good);
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->MissingCharacter, 'e');
  EXPECT_EQ(header->Length, 0x1234u);
  EXPECT_FALSE(ParseSzddHeader(good.substr(0, 13))) << "too short";
  std::string otherMode = good;
  otherMode[8] = 'B';
  EXPECT_FALSE(ParseSzddHeader(otherMode));
  EXPECT_FALSE(ParseSzddHeader(std::string("SZ \x88\xF0\x27\x33\xD1\0\0\0\0\0\0", 14)))
      << "the QBasic variant is not one the LZ functions expand";
  EXPECT_FALSE(ParseSzddHeader("plain text file"));
}

TEST(SzddName, TheStoredCharacterCompletesTheName) {
  const struct {
    const char* name;
    char stored;
    const char* expected;
  } cases[] = {
      {"withch.tx_", 't', "withch.txt"}, {"WITHCH.TX_", 't', "WITHCH.TXT"},
      {"mixed.Tx_", 't', "mixed.Txt"},   {"two.dots.tx_", 't', "two.dots.txt"},
      {"digit.tx_", '1', "digit.tx1"},   {"dot._", 'x', "dot.x"},
      {"noext_", 'x', "noext_"},         {"file.", 'x', "file"},
      {"readme.tx_", 0, "readme.tx_"},   {"PROG.EX_", 'e', "PROG.EXE"},
      {"README.TXT", 'x', "README.TXT"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(ExpandedName(row.name, row.stored), row.expected) << row.name;
  }
}

}  // namespace
}  // namespace orv
