// The information-file engine over both platforms: each case writes its file with literal bytes.
#include "common/IniFile.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

class IniFile : public PlatformTest {
 protected:
  std::string get(const std::string& section, const std::string& key,
                  const std::string& fallback = "<default>") {
    return ReadIniString(platform(), section, key, fallback, path("test.ini"));
  }
  bool set(const std::string& section, const std::string& key, const std::string& value) {
    return WriteIniString(platform(), section, key, value, path("test.ini"));
  }
};

TEST_F(IniFile, ValuesFollowTheWindowsProfileRules) {
  write("test.ini",
        "top=before any section\r\n"
        "[Files]\r\n"
        "  File1  =  value with spaces   \r\n"
        "file1=second copy loses\r\n"
        "Quoted=\"quoted\"\r\n"
        "Single='single'\r\n"
        "Inner=\" both \"\r\n"
        "Lone=\"\r\n"
        "Unbalanced=\"abc\r\n"
        "Mixed='abc\"\r\n"
        "Nested=\"a\"b\"\r\n"
        "Equals=a=b=c\r\n"
        "Inline=abc ; not a comment\r\n"
        ";File2=commented out\r\n"
        "Empty=\r\n"
        "Blank=   \r\n"
        "NoEquals\r\n"
        "\t[ Second One ]  trailing\r\n"
        "Key=tab indented header\r\n"
        "[files]\r\n"
        "Later=the second section of a name is never read\r\n");
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Files", "File1", "value with spaces"},
      {"FILES", "file1", "value with spaces"},
      {"  Files  ", "  File1 ", "value with spaces"},
      {"Files", "Quoted", "quoted"},
      {"Files", "Single", "single"},
      {"Files", "Inner", " both "},
      {"Files", "Lone", "\""},
      {"Files", "Unbalanced", "\"abc"},
      {"Files", "Mixed", "'abc\""},
      {"Files", "Nested", "a\"b"},
      {"Files", "Equals", "a=b=c"},
      {"Files", "Inline", "abc ; not a comment"},
      {"Files", "File2", "<default>"},
      {"Files", ";File2", "<default>"},
      {"Files", "Empty", ""},
      {"Files", "Blank", ""},
      {"Files", "NoEquals", "<default>"},
      {"Files", "Later", "<default>"},
      {"Second One", "Key", "tab indented header"},
      {"", "top", "<default>"},
      {"Missing", "File1", "<default>"},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(get(row.section, row.key), row.expected) << "[" << row.section << "] " << row.key;
  }
}

TEST_F(IniFile, DefaultsComeOnlyForMissingKeysAndLoseTrailingSpaces) {
  EXPECT_EQ(ReadIniString(platform(), "S", "K", "fallback  ", path("missing.ini")), "fallback");
  EXPECT_EQ(ReadIniString(platform(), "S", "K", "  lead", path("missing.ini")), "  lead");
  write("test.ini", "[S]\r\nK=\r\n");
  EXPECT_EQ(get("S", "K", "fallback"), "");
  EXPECT_EQ(get("S", "Other", "fallback"), "fallback");
}

TEST_F(IniFile, HeadersWithoutClosingBracketStillOpenASection) {
  write("test.ini", "[Open\r\nKey=1\r\n[Close]]\r\nKey=2\r\n");
  EXPECT_EQ(get("Open", "Key"), "1");
  EXPECT_EQ(get("Close", "Key"), "2");
}

TEST_F(IniFile, AnyLineEndingSeparatesLines) {
  write("test.ini", "[A]\nK1=lf\rK2=cr\r\nK3=crlf");
  EXPECT_EQ(get("A", "K1"), "lf");
  EXPECT_EQ(get("A", "K2"), "cr");
  EXPECT_EQ(get("A", "K3"), "crlf");
}

TEST_F(IniFile, LongValuesAreCutAt254ShiftJisBytes) {
  std::string kanji;
  for (int i = 0; i < 200; ++i)
    kanji += "\x8A\xBF";  // 漢
  write("test.ini", "[S]\r\nAscii=" + std::string(300, 'x') + "\r\nKanji=a" + kanji +
                        "\r\nKana=" + std::string(300, '\xB1') + "\r\n");  // ｱ
  EXPECT_EQ(get("S", "Ascii"), std::string(254, 'x'));
  const std::string cut = get("S", "Kanji");
  EXPECT_EQ(cut.size(), 1u + 126 * 3) << "a + 126 kanji = 253 bytes; the 127th would split";
  EXPECT_EQ(cut.substr(cut.size() - 3), "漢");
  EXPECT_EQ(get("S", "Kana").size(), 254u * 3) << "half-width kana count one byte each";
  EXPECT_EQ(ReadIniString(platform(), "S", "K", std::string(300, 'd'), path("x.ini")),
            std::string(254, 'd'));
}

TEST_F(IniFile, ShiftJisUtf8AndUtf16FilesAreRead) {
  // 表 ends in the byte of "\" in Shift-JIS; it must not disturb the parse.
  write("test.ini", "[\x83\x5C\x83\x74\x83\x67]\r\n\x95\x5C=\x94\x5C\x5C\r\n");
  EXPECT_EQ(get("ソフト", "表"), "能\\");
  write("test.ini", "\xEF\xBB\xBF[日本]\r\nキー=値\r\n");
  EXPECT_EQ(get("日本", "キー"), "値");
  write("test.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\x3A\x6F", 18));
  EXPECT_EQ(get("S", "K"), "漺");
}

TEST_F(IniFile, SectionAndKeyNamesMatchWithoutRegardToCaseInAnyScript) {
  write("test.ini", "\xEF\xBB\xBF[ＳＥＣＴＩＯＮ]\r\nΑΒΓ=greek\r\n");
  EXPECT_EQ(get("ｓｅｃｔｉｏｎ", "αβγ"), "greek");
}

TEST_F(IniFile, HostileFilesNeverCrashAndStillAnswer) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i)
    garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
  write("test.ini", garbage);
  EXPECT_EQ(get("S", "K"), "<default>");

  write("test.ini", "[S]\r\nK=" + std::string(1 << 20, 'v') + "\r\nNext=ok\r\n");
  EXPECT_EQ(get("S", "K"), std::string(254, 'v'));
  EXPECT_EQ(get("S", "Next"), "ok");

  // A record cut inside a double-byte character by another program: the lone lead byte never
  // swallows the line break after it.
  write("test.ini", "[DeleteFile]\r\nFile1=C:\\A.TXT,/\x8F\r\nFile2=C:\\B.TXT\r\n");
  EXPECT_TRUE(get("DeleteFile", "File1").starts_with("C:\\A.TXT,/"));
  EXPECT_EQ(get("DeleteFile", "File2"), "C:\\B.TXT");

  write("test.ini", "[Unterminated\r\n[\r\n[[[\r\nK=v");
  EXPECT_EQ(get("Unterminated", "K"), "<default>");
  EXPECT_EQ(get("[[", "K"), "v");

  for (const std::string bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFF\xFE\x41"}) {
    write("test.ini", bom);
    EXPECT_EQ(get("S", "K"), "<default>");
  }
}

TEST_F(IniFile, WritingCreatesFileSectionAndKey) {
  EXPECT_TRUE(set("Sec", "Key", "value"));
  EXPECT_EQ(read("test.ini"), "[Sec]\r\nKey=value\r\n");
  EXPECT_TRUE(set("Sec", "Second", "2"));
  EXPECT_TRUE(set("Other", "Key", "3"));
  EXPECT_EQ(read("test.ini"), "[Sec]\r\nKey=value\r\nSecond=2\r\n[Other]\r\nKey=3\r\n");
  EXPECT_EQ(get("Other", "Key"), "3");
}

TEST_F(IniFile, WritingEditsInPlaceAndChangesNothingElse) {
  write("test.ini",
        "; header comment\r\n"
        "\r\n"
        "[First]\r\n"
        "  Name = old value  \r\n"
        "Keep=1\r\n"
        "; trailing comment\r\n"
        "\r\n"
        "[Second]\n"
        "X=\x83\x5C\x87\x54\n");  // ソ and the NEC Roman numeral Ⅰ stay byte for byte
  EXPECT_TRUE(set("FIRST", "name", "new"));
  EXPECT_TRUE(set("First", "Added", "a"));
  EXPECT_EQ(read("test.ini"),
            "; header comment\r\n"
            "\r\n"
            "[First]\r\n"
            "  Name =new\r\n"
            "Keep=1\r\n"
            "Added=a\r\n"
            "; trailing comment\r\n"
            "\r\n"
            "[Second]\n"
            "X=\x83\x5C\x87\x54\n");
}

TEST_F(IniFile, WritingAfterALastLineWithoutEndingKeepsThatLine) {
  write("test.ini", "[S]\r\nA=1");
  EXPECT_TRUE(set("S", "B", "2"));
  EXPECT_EQ(read("test.ini"), "[S]\r\nA=1\r\nB=2\r\n");
}

TEST_F(IniFile, ReplacingTheValueOfALastLineWithoutEndingEndsItWithCrLf) {
  write("test.ini", "[S]\r\nA=1");
  EXPECT_TRUE(set("S", "A", "2"));
  EXPECT_EQ(read("test.ini"), "[S]\r\nA=2\r\n");
}

TEST_F(IniFile, AUtf16FileOfOddLengthKeepsWhatIsWrittenIntoIt) {
  // The last line has no ending and a stray byte after its last character.
  write("test.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0A\0=\0"
                                "1\0X",
                                19));
  EXPECT_TRUE(set("S", "B", "2"));
  EXPECT_EQ(get("S", "A"), "1");
  EXPECT_EQ(get("S", "B"), "2");
  EXPECT_EQ(read("test.ini").size() % 2, 0u);
}

TEST_F(IniFile, WritingKeepsTheFileEncoding) {
  write("test.ini", "[S]\r\nA=1\r\n");
  EXPECT_TRUE(set("S", "B", "漢字"));
  EXPECT_EQ(read("test.ini"), "[S]\r\nA=1\r\nB=\x8A\xBF\x8E\x9A\r\n");

  write("test.ini", "\xEF\xBB\xBF[S]\r\n");
  EXPECT_TRUE(set("S", "B", "漢"));
  EXPECT_EQ(read("test.ini"), "\xEF\xBB\xBF[S]\r\nB=漢\r\n");

  write("test.ini", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12));
  EXPECT_TRUE(set("S", "B", "1"));
  EXPECT_EQ(read("test.ini"), std::string("\xFF\xFE[\0S\0]\0\r\0\n\0B\0=\0"
                                          "1\0\r\0\n\0",
                                          22));
  EXPECT_EQ(get("S", "B"), "1");
}

TEST_F(IniFile, AShiftJisFileTurnsUtf8WhenAValueHasNoShiftJisForm) {
  write("test.ini", "[S]\r\nA=\x8A\xBF\r\n");
  EXPECT_TRUE(set("S", "B", "한국"));
  EXPECT_EQ(read("test.ini"), "\xEF\xBB\xBF[S]\r\nA=漢\r\nB=한국\r\n");
  EXPECT_EQ(get("S", "A"), "漢");
  EXPECT_EQ(get("S", "B"), "한국");
}

TEST_F(IniFile, WritingRefusesNamesAndValuesThatWouldBreakLines) {
  EXPECT_FALSE(set("S", "K", "two\r\nlines"));
  EXPECT_FALSE(set("S", "K=x", "v"));
  EXPECT_FALSE(set("S]", "K", "v"));
  EXPECT_FALSE(set("S\n[T]", "K", "v"));
  EXPECT_FALSE(platform().fileExists(path("test.ini")));
}

TEST_F(IniFile, WritingIntoAMissingFolderFails) {
  EXPECT_FALSE(WriteIniString(platform(), "S", "K", "v", path("missing\\test.ini")));
}

TEST_F(IniFile, WholeFileIsWrittenInShiftJisOrElseUtf8) {
  write("record.ini", "stale content");
  const std::vector<IniSection> sections{
      {"Folder", {{"Folder1", "C:\\ソフト"}, {"Folder2", "C:\\表"}}},
      {"Empty", {}},
  };
  ASSERT_TRUE(WriteIniFile(platform(), path("record.ini"), sections));
  EXPECT_EQ(read("record.ini"),
            "[Folder]\r\nFolder1=C:\\\x83\x5C\x83\x74\x83\x67\r\nFolder2=C:\\\x95\x5C\r\n"
            "[Empty]\r\n");
  EXPECT_FALSE(platform().fileExists(path("record.ini.new")));

  ASSERT_TRUE(WriteIniFile(platform(), path("record.ini"), {{"S", {{"K", "C:\\한국"}}}}));
  EXPECT_EQ(read("record.ini"), "\xEF\xBB\xBF[S]\r\nK=C:\\한국\r\n");
  EXPECT_EQ(ReadIniString(platform(), "S", "K", "", path("record.ini")), "C:\\한국");
}

}  // namespace
}  // namespace orv::test
