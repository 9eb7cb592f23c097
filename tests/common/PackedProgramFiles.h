// Packed programs made in memory for the tests: a minimal Windows program (headers and one
// section) followed by a payload of given files.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "check/Pack.h"
#include "check/SzddCompress.h"
#include "common/Payload.h"

namespace orv::test {

// A program file of size bytes (at least 1024) whose one section ends at its end.
inline std::string MinimalProgram(std::size_t size = 4096) {
  std::string bytes(size, '\0');
  const auto put = [&](std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
      bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'M';
  bytes[1] = 'Z';
  put(0x3C, 0x40, 4);
  bytes.replace(0x40, 4, std::string("PE\0\0", 4));
  put(0x44, 0x14C, 2);    // i386
  put(0x46, 1, 2);        // one section
  put(0x54, 0xE0, 2);     // the optional header's size
  put(0x58, 0x10B, 2);    // PE32
  put(0x58 + 92, 16, 4);  // directories
  const std::size_t section = 0x58 + 0xE0;
  bytes.replace(section, 5, ".text");
  put(section + 16, static_cast<std::uint32_t>(size - 0x200), 4);
  put(section + 20, 0x200, 4);
  return bytes;
}

struct PackedFile {
  std::string Name;
  std::string Bytes;
  std::uint8_t Disk = 1;
  bool Compress = false;
  std::uint64_t Time = 133'000'000'000'000'000;  // a FILETIME in 2022
};

inline std::string PackedProgram(const std::string& program, const std::vector<PackedFile>& files,
                                 Payload* layout = nullptr) {
  Payload payload;
  payload.ProgramTime = 132'000'000'000'000'000;
  std::vector<std::string> stored;
  for (const PackedFile& file : files) {
    PayloadEntry entry;
    entry.Name = file.Name;
    entry.Disk = file.Disk;
    entry.Time = file.Time;
    entry.Size = file.Bytes.size();
    stored.push_back(file.Compress ? CompressSzdd(file.Bytes, '\0') : file.Bytes);
    entry.Flags = file.Compress ? kStoredCompressed : 0;
    entry.StoredSize = stored.back().size();
    payload.Entries.push_back(std::move(entry));
  }
  std::string packed = AssemblePackedProgram(program, payload, stored);
  if (layout != nullptr) *layout = payload;
  return packed;
}

}  // namespace orv::test
