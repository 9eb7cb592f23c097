// The payload a packed program carries: found, checked and refused as a download may come.
#include "common/Payload.h"

#include <gtest/gtest.h>

#include "common/PackedProgramFiles.h"

namespace orv::test {
namespace {

using State = CarriedPayload::State;

const std::vector<PackedFile> kFiles = {
    {"SETUP.INI", "[Title]\r\nSetup=Tool\r\n"},
    {"TOOL.EXE", std::string(5000, 'x') + "end", 1, true},
    {"DATA.BI_", "SZDD not really", 2},
};

CarriedPayload Read(const std::string& bytes) {
  return ReadPayload(HeldBytes(bytes));
}

TEST(Payload, APackedProgramCarriesItsFilesAndAPlainOneNone) {
  const std::string program = MinimalProgram();
  EXPECT_EQ(Read(program).Kind, State::kNone);
  const std::string packed = PackedProgram(program, kFiles);
  EXPECT_EQ(packed.size() % 8, 0u) << "a signature follows directly";
  const CarriedPayload carried = Read(packed);
  ASSERT_EQ(carried.Kind, State::kFound) << carried.Problem;
  EXPECT_EQ(carried.Disks.Offset, program.size());
  ASSERT_EQ(carried.Disks.Entries.size(), 3u);
  const PayloadEntry* tool = carried.Disks.find("tool.exe");
  ASSERT_NE(tool, nullptr);
  EXPECT_TRUE(tool->storedCompressed());
  EXPECT_EQ(tool->Size, 5003u);
  EXPECT_LT(tool->StoredSize, 5003u / 8) << "two bytes for each 18 the same, and the flag bits";
  EXPECT_EQ(carried.Disks.find("DATA.BI_")->Disk, 2);

  // Zeros a signing tool adds to align its table are allowed; anything else after is not ours.
  EXPECT_EQ(Read(packed + std::string(4, '\0')).Kind, State::kFound);
  EXPECT_EQ(Read(program + "debugger symbols").Kind, State::kNone);
}

TEST(Payload, ADamagedDownloadIsRefused) {
  Payload layout;
  const std::string packed = PackedProgram(MinimalProgram(), kFiles, &layout);
  const std::size_t payload = static_cast<std::size_t>(layout.Offset);
  const std::size_t data = static_cast<std::size_t>(layout.Entries.front().Offset);
  const auto changed = [&](std::size_t at) {
    std::string bytes = packed;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
    return bytes;
  };
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut inside the index", packed.substr(0, payload + 40)},
      {"cut inside the files", packed.substr(0, data + 10)},
      {"cut inside the trailer", packed.substr(0, packed.size() - 10)},
      {"cut before the trailer", packed.substr(0, packed.size() - kTrailerSize)},
      {"a changed byte of a file", changed(data + 3)},
      {"a changed byte of the index", changed(payload + 40)},
      {"a changed digest", changed(packed.size() - 1)},
      {"another format version", changed(packed.size() - kTrailerSize + 8)},
      {"a payload size that does not fit", changed(packed.size() - kTrailerSize + 24)},
  };
  for (const auto& c : cases) {
    const CarriedPayload carried = Read(c.bytes);
    EXPECT_EQ(carried.Kind, State::kDamaged) << c.what;
    EXPECT_FALSE(carried.Problem.empty()) << c.what;
  }
}

TEST(Payload, AnIndexOutOfShapeIsRefusedEvenWithItsDigest) {
  const struct {
    const char* what;
    std::vector<PackedFile> files;
  } cases[] = {
      {"a folder in a name", {{"SUB\\TOOL.EXE", "x"}}},
      {"a slash in a name", {{"SUB/TOOL.EXE", "x"}}},
      {"a climbing name", {{"..", "x"}}},
      {"an empty name", {{"", "x"}}},
      {"a drive in a name", {{"C:TOOL.EXE", "x"}}},
      {"the program's own name", {{"setup.exe", "x"}}},
      {"a name twice", {{"A.TXT", "x"}, {"a.txt", "y"}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Read(PackedProgram(MinimalProgram(), c.files)).Kind, State::kDamaged) << c.what;

  // An entry whose bytes lie outside the payload, with a digest that matches.
  Payload payload;
  payload.Entries.push_back({"A.TXT", 1, 0, 0, 0, 4, 4});
  std::vector<std::string> stored = {"abcd"};
  std::string packed = AssemblePackedProgram(MinimalProgram(), payload, stored);
  EXPECT_EQ(Read(packed).Kind, State::kFound);
  payload.Entries.front().StoredSize = payload.Entries.front().Size = 1 << 20;
  std::string index = PayloadIndex(payload);
  const std::string program = MinimalProgram();
  std::string bytes = index + "abcd";
  bytes.append((8 - (program.size() + bytes.size() + kTrailerSize) % 8) % 8, '\0');
  EXPECT_EQ(
      Read(program + bytes + PayloadTrailer(program.size(), bytes.size(), Sha256Of(bytes))).Kind,
      State::kDamaged);
}

}  // namespace
}  // namespace orv::test
