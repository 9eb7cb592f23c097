// The disks a packed program carries: SETUP.EXE followed by a payload (an index, then the files of
// every disk of the set) and a trailer that gives the payload's place, its format version and its
// SHA-256. A signature added afterwards (Authenticode) lies after the trailer, in the
// certificate table the program's header names; signing also sets the header's checksum, which
// the payload keeps as it was, so the program's own bytes can be given back unsigned.
//
//   payload: "ORVDISKS" | version u32 | count u32 | index size u64 | program time u64
//            | program checksum u32 | 0 u32 | entries | data | zeros
//   entry:   disk u8 | flags u8 | name length u16 | name | time u64 | offset u64
//            | stored size u64 | size u64
//   trailer: "ORVTRAIL" | version u32 | 0 u32 | payload offset u64 | payload size u64 | SHA-256
//
// Numbers are little-endian, offsets count from the start of the file, times are FILETIME counts.
// The packer pads the payload so the file ends on a multiple of 8: a signature then follows it
// directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"
#include "common/Sha256.h"

namespace orv {

// Bytes in memory read as a held file: a program file being packed, or one in a test.
class HeldBytes final : public HeldFile {
 public:
  explicit HeldBytes(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool read(std::uint64_t offset, std::span<char> into) const override {
    if (offset > bytes_.size() || into.size() > bytes_.size() - offset) return false;
    bytes_.copy(into.data(), into.size(), static_cast<std::size_t>(offset));
    return true;
  }

 private:
  std::string_view bytes_;
};

inline constexpr std::string_view kPayloadMagic = "ORVDISKS";
inline constexpr std::string_view kTrailerMagic = "ORVTRAIL";
inline constexpr std::uint32_t kPayloadVersion = 1;
inline constexpr std::size_t kPayloadHeaderSize = 40;
inline constexpr std::size_t kTrailerSize = 64;
inline constexpr std::uint8_t kStoredCompressed = 0x01;  // entry flag: SZDD by the packer

struct PayloadEntry {
  std::string Name;  // a file name of the disk, without a folder
  std::uint8_t Disk = 1;
  std::uint8_t Flags = 0;
  std::uint64_t Time = 0;
  std::uint64_t Offset = 0;      // of the stored bytes
  std::uint64_t StoredSize = 0;  // what the file holds of it
  std::uint64_t Size = 0;        // the file's own size (expanded, when stored compressed)
  bool storedCompressed() const { return (Flags & kStoredCompressed) != 0; }
};

struct Payload {
  std::uint64_t Offset = 0;  // where the payload starts: the program's own bytes end there
  std::uint64_t ProgramTime = 0;
  std::uint32_t ProgramChecksum = 0;  // the program header's, before any signature
  // Where the program's header holds its checksum and its signature's directory entry.
  std::uint64_t ChecksumAt = 0;
  std::uint64_t SignatureEntryAt = 0;
  std::vector<PayloadEntry> Entries;
  // The entry of that name, matched without regard to ASCII case; nullptr when there is none.
  const PayloadEntry* find(std::string_view name) const;
};

// What a program file carries.
struct CarriedPayload {
  enum class State { kNone, kDamaged, kFound } Kind = State::kNone;
  std::string Problem;  // kDamaged: what is wrong, for the log
  Payload Disks;
};

// Reads the payload of a program file and checks its digest. A file that ends with the program
// carries none; one whose program is followed by a payload that is cut, changed or out of shape is
// damaged.
CarriedPayload ReadPayload(const HeldFile& file);

// The packer's side: the payload's header and index for entries whose offsets are already set,
// and the trailer.
std::string PayloadIndex(const Payload& payload);
std::size_t PayloadIndexSize(const std::vector<PayloadEntry>& entries);
std::string PayloadTrailer(std::uint64_t offset, std::uint64_t size, const Sha256Digest& digest);

// Where a program file's own bytes end (the last section), and where its data ends (the
// certificate table of a signature, or the end of the file); nullopt for no Windows program.
struct ProgramExtent {
  std::uint64_t ImageEnd = 0;
  std::uint64_t DataEnd = 0;
  std::uint64_t ChecksumAt = 0;
  std::uint32_t Checksum = 0;
  std::uint64_t SignatureEntryAt = 0;  // 0 when the header has no such entry
};
std::optional<ProgramExtent> ReadProgramExtent(const HeldFile& file);

}  // namespace orv
