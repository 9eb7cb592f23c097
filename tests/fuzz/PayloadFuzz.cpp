// A packed program's payload as a download may bring it: the reader, then every file it lets
// through read back through the program's folder (the SZDD expander included).
#include "common/CarriedDisks.h"
#include "common/Szdd.h"
#include "fuzz/FuzzPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const std::string_view bytes = fuzz::Bytes(data, size);
  ProgramDisks disks;
  disks.File = std::make_unique<HeldBytes>(bytes);
  CarriedPayload carried = ReadPayload(*disks.File);
  if (carried.Kind == CarriedPayload::State::kFound) {
    // Every entry the reader lets through lies inside the file.
    for (const PayloadEntry& entry : carried.Disks.Entries) {
      if (entry.Offset > size || entry.StoredSize > size - entry.Offset) __builtin_trap();
    }
    disks.Disks = carried.Disks;
    const CarriedDisksPlatform folder(fuzz::Platform(), std::move(disks), "P:\\");
    for (const PayloadEntry& entry : carried.Disks.Entries) {
      const auto content = folder.readFile("P:\\" + entry.Name, 1 << 20);
      if (content && content->size() > entry.Size) __builtin_trap();
    }
  }
  // The input as compressed data of an SZDD file, expanded to at most 64 KiB.
  std::size_t given = 0;
  std::uint64_t made = 0;
  (void)ExpandSzddData(
      [&] {
        const std::string_view piece = bytes.substr(given, 100);
        given += piece.size();
        return piece;
      },
      1 << 16,
      [&](std::string_view piece) {
        made += piece.size();
        return made <= (1 << 16);
      });
  if (made > (1 << 16)) __builtin_trap();
  return 0;
}
