#include "common/Szdd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "check/SzddCompress.h"
#include "common/sim/SimRoot.h"
#include "common/sim/SzddDecompressor.h"

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

std::string Expand(std::string_view file, std::size_t pieceSize = 7) {
  const auto header = ParseSzddHeader(file);
  if (!header) return "not SZDD";
  std::string_view data = file.substr(kSzddHeaderSize);
  std::string out;
  const bool done = ExpandSzddData(
      [&] {
        const std::string_view piece = data.substr(0, std::min(pieceSize, data.size()));
        data.remove_prefix(piece.size());
        return piece;
      },
      header->Length,
      [&](std::string_view piece) {
        out += piece;
        return true;
      });
  return done ? out : "refused";
}

TEST(SzddExpansion, ReadsWhatMscompressWrites) {
  const std::string compressed(
      "\x53\x5A\x44\x44\x88\xF0\x27\x33\x41\x00\x2B\x00\x00\x00\xF7\x61\x62\x63\xF0\xF6"
      "\x20\x68\x65\x6C\xFB\x6C\x6F\xFC\xFD\x6C\x6F\x2C\x20\x77\x0F\x6F\x72\x6C\x64",
      39);
  const std::string whole = "abcabcabcabc hello hello hello hello, world";
  EXPECT_EQ(Expand(compressed), whole);
  const std::string cut = Expand(compressed.substr(0, 30));
  EXPECT_LT(cut.size(), whole.size());
  EXPECT_TRUE(whole.starts_with(cut)) << "a cut file gives what it holds: " << cut;
}

// What the packer compresses, the program's expander and libmspack (as the LZ functions) both
// expand to the same bytes.
TEST(SzddCompression, RoundTripsThroughBothExpanders) {
  std::mt19937 random(7);
  std::string noise(70000, '\0');
  for (char& c : noise)
    c = static_cast<char>(random());
  std::string text;
  for (int i = 0; text.size() < 300000; ++i)
    text += "line " + std::to_string(i % 977) + " of the manual\r\n";
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"nothing", ""},
      {"one byte", "x"},
      {"a long run", std::string(100000, 'a')},
      {"spaces, as the window starts", std::string(5000, ' ')},
      {"noise", noise},
      {"text with repeats far apart", text},
  };
  const SimRoot root;
  for (const auto& c : cases) {
    const std::string compressed = CompressSzdd(c.bytes, 'E');
    EXPECT_EQ(ParseSzddHeader(compressed)->MissingCharacter, 'E');
    EXPECT_EQ(Expand(compressed, 1000), c.bytes) << c.what;
    const auto file = root.path() / "file.ex_";
    std::ofstream(file, std::ios::binary) << compressed;
    ASSERT_TRUE(SzddDecompressor().expand(file, root.path() / "file.exe")) << c.what;
    std::ifstream in(root.path() / "file.exe", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bytes) << c.what;
  }
}

}  // namespace
}  // namespace orv
