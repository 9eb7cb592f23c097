#include "common/Utf.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::string Decode(std::string_view bytes) {
  std::string out;
  for (std::size_t pos = 0; pos < bytes.size();)
    AppendUtf8(out, NextCodePoint(bytes, pos));
  return out;
}

TEST(Utf8, ValidTextRoundTrips) {
  for (const char* text : {"", "ascii", "ソフト表能", "é", "😀", "a\xEF\xBF\xBD"}) {
    EXPECT_EQ(Decode(text), text) << text;
  }
}

TEST(Utf8, MalformedSequencesBecomeReplacementCharacters) {
  const struct {
    std::string bytes;
    const char* expected;
  } cases[] = {
      {"\x80", "\xEF\xBF\xBD"},                                  // lone continuation
      {"\xC3", "\xEF\xBF\xBD"},                                  // truncated
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong "/"
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // > U+10FFFF
      {"a\xFF"
       "b",
       "a\xEF\xBF\xBD"
       "b"},
  };
  for (const auto& row : cases)
    EXPECT_EQ(Decode(row.bytes), row.expected);
}

TEST(Utf16, ConvertsBothWaysWithSurrogatePairs) {
  EXPECT_EQ(Utf8ToUtf16Le("A漢😀"), std::string("A\0\x22\x6F\x3D\xD8\x00\xDE", 8));
  EXPECT_EQ(Utf16LeToUtf8(std::string("A\0\x22\x6F\x3D\xD8\x00\xDE", 8)), "A漢😀");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("ソフト😀")), "ソフト😀");
}

TEST(Utf16, UnpairedSurrogatesAndOddBytesAreHandled) {
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xD8"
                                      "A\0",
                                      4)),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(Utf16LeToUtf8(std::string("\x00\xDC", 2)), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16LeToUtf8(std::string("A\0B", 3)), "A");
}

TEST(ShiftJisCount, AsciiAndHalfWidthKanaTakeOneByteEverythingElseTwo) {
  EXPECT_EQ(ShiftJisByteCount(U'A'), 1u);
  EXPECT_EQ(ShiftJisByteCount(U'\\'), 1u);
  EXPECT_EQ(ShiftJisByteCount(U'ｱ'), 1u);
  EXPECT_EQ(ShiftJisByteCount(U'ﾟ'), 1u);
  EXPECT_EQ(ShiftJisByteCount(U'漢'), 2u);
  EXPECT_EQ(ShiftJisByteCount(U'€'), 2u) << "characters Shift-JIS lacks count two";
  EXPECT_EQ(ShiftJisByteCount(U'😀'), 2u);
}

TEST(ShiftJisCount, TruncationNeverSplitsACharacter) {
  EXPECT_EQ(TruncateToShiftJisBytes("abc", 2), "ab");
  EXPECT_EQ(TruncateToShiftJisBytes("a漢", 2), "a");
  EXPECT_EQ(TruncateToShiftJisBytes("a漢", 3), "a漢");
  EXPECT_EQ(TruncateToShiftJisBytes("ｱｲｳ", 2), "ｱｲ");
  EXPECT_EQ(TruncateToShiftJisBytes("漢", 1), "");
  EXPECT_EQ(TruncateToShiftJisBytes("", 5), "");
}

}  // namespace
}  // namespace orv
