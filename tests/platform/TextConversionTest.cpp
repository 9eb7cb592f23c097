// Upper-case mapping and Shift-JIS conversion, pinned by tables on both platforms.
#include "common/TextUtils.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

using TextConversion = PlatformTest;

TEST_F(TextConversion, UpperCaseMapsCharactersNeverBytes) {
  const struct {
    const char* text;
    const char* upper;
  } cases[] = {
      {"abcXYZ", "ABCXYZ"},
      {"ａｂｚ", "ＡＢＺ"},  // full-width Latin
      {"α", "Α"},            // Greek
      {"а", "А"},            // Cyrillic
      {"ⅰ", "Ⅰ"},            // small Roman numeral
      {"ｱｲ", "ｱｲ"},          // half-width kana
      {"ャあ漢ソ表能",
       "ャあ漢ソ表能"},  // kana and kanji, whose Shift-JIS trail bytes look like letters
      {"a漢b", "A漢B"},
      {"c:\\program files\\ソフト\\", "C:\\PROGRAM FILES\\ソフト\\"},
      {"", ""},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(MapString(platform(), row.text, kMapUpperCase), row.upper) << row.text;
    EXPECT_EQ(MapString(platform(), row.text, 0), row.text) << "no flags: " << row.text;
  }
}

TEST_F(TextConversion, ShiftJisBytesOfCharacters) {
  const struct {
    const char* text;
    std::string bytes;
  } cases[] = {
      {"A\\~", "A\\~"},   {"あ", "\x82\xA0"},
      {"漢", "\x8A\xBF"}, {"ソ表能", "\x83\x5C\x95\x5C\x94\x5C"},
      {"ｱ", "\xB1"},      {"ａ", "\x82\x81"},
      {"＼", "\x81\x5F"}, {"～", "\x81\x60"},
      {"ⅰ", "\xFA\x40"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(platform().toShiftJis(row.text), row.bytes) << row.text;
    EXPECT_EQ(platform().fromShiftJis(row.bytes), row.text) << row.text;
  }
}

TEST_F(TextConversion, CharactersWithoutShiftJisFormAreRefused) {
  // Look-alikes too: "¥" would come back as "\\", the others as different characters.
  for (const char* text :
       {"€", "😀", "한국어", "a€b", "C:\\Data\\¥100", "‾", "—", "〜", "‖", "−", "¢", "£", "¬"}) {
    EXPECT_EQ(platform().toShiftJis(text), std::nullopt) << text;
  }
  EXPECT_EQ(platform().toShiftJis(""), "");
}

TEST_F(TextConversion, InvalidShiftJisBecomesTheDefaultCharacter) {
  EXPECT_EQ(platform().fromShiftJis("a\xE9"), "a・") << "lone lead byte at the end";
  EXPECT_EQ(platform().fromShiftJis(""), "");
}

}  // namespace
}  // namespace orv::test
