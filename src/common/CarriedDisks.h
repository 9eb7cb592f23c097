// A packed program's disks: the program folder, as every run sees it, is the payload the program
// file carries. Files there are read straight from the held program file, never from the folder
// itself (which other users may write into): a file beside the program is not seen, and every
// disk of the set is in at once.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/ForwardingPlatform.h"
#include "common/Payload.h"

namespace orv {

// What the running program file carries, checked, and the file held so it stays what was checked.
struct ProgramDisks {
  CarriedPayload::State Kind = CarriedPayload::State::kNone;
  std::string Problem;  // kDamaged: why, for the log
  std::unique_ptr<HeldFile> File;
  Payload Disks;
};

ProgramDisks OpenProgramDisks(const Platform& platform);

class CarriedDisksPlatform : public ForwardingPlatform {
 public:
  // programFolder ends in "\"; SETUP.EXE there is the program's own bytes, without the payload.
  CarriedDisksPlatform(Platform& inner, ProgramDisks disks, std::string programFolder);

  bool fileExists(std::string_view path) const override;
  std::optional<std::uint32_t> fileAttributes(std::string_view path) const override;
  std::optional<std::int64_t> fileAge(std::string_view path) const override;
  std::optional<std::uint64_t> fileSize(std::string_view path) const override;
  std::optional<std::string> readFile(std::string_view path, std::uint64_t maxBytes) const override;
  std::optional<std::string> readFileHead(std::string_view path, std::size_t count) const override;
  Status copyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  Status expandFile(std::string_view source, std::string_view target) override;
  bool carriesAllDisks() const override { return true; }

 private:
  using Pieces = std::function<bool(std::string_view)>;
  // Whether the path names a file in the program folder (not below it), which only the payload
  // answers for.
  bool inProgramFolder(std::string_view path) const;
  // The entry at path; nullptr when the payload has no such file (or path is not in the folder).
  const PayloadEntry* entryAt(std::string_view path) const;
  bool storedPieces(const PayloadEntry& entry, const Pieces& put) const;
  // A piece of the program's own bytes at offset at, as they were before any signature: no
  // signature in the directory, the checksum as packed.
  void unsign(std::uint64_t at, std::string& piece) const;
  // The stored bytes after an SZDD header, expanded to at most length bytes.
  bool expandStored(const PayloadEntry& entry, std::uint64_t length, const Pieces& put) const;
  // The file's own bytes, expanded when the packer stored it compressed.
  bool contentPieces(const PayloadEntry& entry, const Pieces& put) const;
  std::optional<std::string> content(const PayloadEntry& entry, std::uint64_t maxBytes) const;
  // Writes a new file from pieces, with the entry's time, as copyFile would.
  Status writeFrom(const PayloadEntry& entry, std::string_view to, bool failIfExists,
                   const std::function<bool(const Pieces&)>& produce);

  std::unique_ptr<HeldFile> file_;
  Payload disks_;
  PayloadEntry program_;
  std::string programFolder_;
};

}  // namespace orv
