#include "common/CarriedDisks.h"

#include <limits>

#include "common/Szdd.h"
#include "common/TextUtils.h"
#include "common/Utf.h"

namespace orv {

namespace {

constexpr std::uint64_t kPiece = 1 << 16;
constexpr std::uint64_t kTicksPerTwoSeconds = 20'000'000;  // FILETIME counts 100 ns

}  // namespace

ProgramDisks OpenProgramDisks(const Platform& platform) {
  ProgramDisks disks;
  const std::string program = platform.programFilePath();
  disks.File = platform.holdFile(program);
  if (!disks.File) {
    // Another user who holds the file open against readers must not make its folder the disk.
    if (platform.fileExists(program)) {
      disks.Kind = CarriedPayload::State::kDamaged;
      disks.Problem = "the program file cannot be held open for reading";
    }
    return disks;
  }
  CarriedPayload carried = ReadPayload(*disks.File);
  disks.Kind = carried.Kind;
  disks.Problem = std::move(carried.Problem);
  disks.Disks = std::move(carried.Disks);
  return disks;
}

CarriedDisksPlatform::CarriedDisksPlatform(Platform& inner, ProgramDisks disks,
                                           std::string programFolder)
    : ForwardingPlatform(inner),
      file_(std::move(disks.File)),
      disks_(std::move(disks.Disks)),
      programFolder_(std::move(programFolder)) {
  program_.Name = "SETUP.EXE";
  program_.Time = disks_.ProgramTime;
  program_.StoredSize = program_.Size = disks_.Offset;
}

bool CarriedDisksPlatform::inProgramFolder(std::string_view path) const {
  // Only what lies in the folder itself: a setup folder below it is the user's as anywhere.
  return path.size() > programFolder_.size() &&
         AsciiEqualNoCase(path.substr(0, programFolder_.size()), programFolder_) &&
         path.find_first_of("\\/", programFolder_.size()) == std::string_view::npos;
}

const PayloadEntry* CarriedDisksPlatform::entryAt(std::string_view path) const {
  if (!inProgramFolder(path)) return nullptr;
  const std::string_view name = path.substr(programFolder_.size());
  if (AsciiEqualNoCase(name, program_.Name)) return &program_;
  return disks_.find(name);
}

bool CarriedDisksPlatform::storedPieces(const PayloadEntry& entry, const Pieces& put) const {
  std::string piece;
  for (std::uint64_t at = 0; at < entry.StoredSize; at += kPiece) {
    piece.resize(static_cast<std::size_t>(std::min(kPiece, entry.StoredSize - at)));
    if (!file_->read(entry.Offset + at, piece)) return false;
    if (&entry == &program_) unsign(at, piece);
    if (!put(piece)) return false;
  }
  return true;
}

void CarriedDisksPlatform::unsign(std::uint64_t at, std::string& piece) const {
  const auto put = [&](std::uint64_t offset, std::uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
      if (offset + i >= at && offset + i - at < piece.size()) {
        piece[static_cast<std::size_t>(offset + i - at)] =
            static_cast<char>((value >> (8 * i)) & 0xFF);
      }
    }
  };
  if (disks_.ChecksumAt != 0) put(disks_.ChecksumAt, disks_.ProgramChecksum, 4);
  if (disks_.SignatureEntryAt != 0) put(disks_.SignatureEntryAt, 0, 8);
}

bool CarriedDisksPlatform::expandStored(const PayloadEntry& entry, std::uint64_t length,
                                        const Pieces& put) const {
  std::uint64_t at = kSzddHeaderSize;
  std::string piece;
  bool failed = false;
  const auto next = [&]() -> std::string_view {
    if (at >= entry.StoredSize) return {};
    piece.resize(static_cast<std::size_t>(std::min(kPiece, entry.StoredSize - at)));
    failed = !file_->read(entry.Offset + at, piece);
    at += piece.size();
    return failed ? std::string_view() : std::string_view(piece);
  };
  return ExpandSzddData(next, length, put) && !failed;
}

bool CarriedDisksPlatform::contentPieces(const PayloadEntry& entry, const Pieces& put) const {
  if (!entry.storedCompressed()) return storedPieces(entry, put);
  // What the packer compressed expands to exactly its size, or it is broken.
  std::uint64_t made = 0;
  const bool expanded = expandStored(entry, entry.Size, [&](std::string_view piece) {
    made += piece.size();
    return put(piece);
  });
  return expanded && made == entry.Size;
}

std::optional<std::string> CarriedDisksPlatform::content(const PayloadEntry& entry,
                                                         std::uint64_t maxBytes) const {
  std::string bytes;
  const bool whole = contentPieces(entry, [&](std::string_view piece) {
    const std::size_t room =
        static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes - bytes.size(), piece.size()));
    bytes.append(piece.substr(0, room));
    return bytes.size() < maxBytes;
  });
  if (!whole && bytes.size() < maxBytes) return std::nullopt;
  return bytes;
}

Status CarriedDisksPlatform::writeFrom(const PayloadEntry& entry, std::string_view to,
                                       bool failIfExists,
                                       const std::function<bool(const Pieces&)>& produce) {
  NewFile made = inner().createFileWriter(to, failIfExists);
  if (!made.writer) return made.status;
  Status written;
  const bool produced = produce([&](std::string_view piece) {
    written = made.writer->write(piece);
    return written.succeeded();
  });
  if (!written) return written;
  if (!produced) return Status(kErrorWriteFault);
  return made.writer->finish(entry.Time);
}

bool CarriedDisksPlatform::fileExists(std::string_view path) const {
  return inProgramFolder(path) ? entryAt(path) != nullptr : inner().fileExists(path);
}

std::optional<std::uint32_t> CarriedDisksPlatform::fileAttributes(std::string_view path) const {
  if (!inProgramFolder(path)) return inner().fileAttributes(path);
  if (entryAt(path) == nullptr) return std::nullopt;
  return attr::kArchive;
}

std::optional<std::int64_t> CarriedDisksPlatform::fileAge(std::string_view path) const {
  if (!inProgramFolder(path)) return inner().fileAge(path);
  const PayloadEntry* entry = entryAt(path);
  if (entry == nullptr) return std::nullopt;
  return static_cast<std::int64_t>(entry->Time / kTicksPerTwoSeconds);
}

std::optional<std::uint64_t> CarriedDisksPlatform::fileSize(std::string_view path) const {
  if (!inProgramFolder(path)) return inner().fileSize(path);
  const PayloadEntry* entry = entryAt(path);
  if (entry == nullptr) return std::nullopt;
  return entry->Size;
}

std::optional<std::string> CarriedDisksPlatform::readFile(std::string_view path,
                                                          std::uint64_t maxBytes) const {
  if (!inProgramFolder(path)) return inner().readFile(path, maxBytes);
  const PayloadEntry* entry = entryAt(path);
  if (entry == nullptr || entry->Size > maxBytes) return std::nullopt;
  return content(*entry, entry->Size);
}

std::optional<std::string> CarriedDisksPlatform::readFileHead(std::string_view path,
                                                              std::size_t count) const {
  if (!inProgramFolder(path)) return inner().readFileHead(path, count);
  const PayloadEntry* entry = entryAt(path);
  if (entry == nullptr) return std::nullopt;
  return content(*entry, std::min<std::uint64_t>(count, entry->Size));
}

Status CarriedDisksPlatform::copyFile(std::string_view from, std::string_view to,
                                      bool failIfExists) {
  if (!inProgramFolder(from)) return inner().copyFile(from, to, failIfExists);
  const PayloadEntry* entry = entryAt(from);
  if (entry == nullptr) return Status(kErrorFileNotFound);
  return writeFrom(*entry, to, failIfExists,
                   [&](const Pieces& put) { return contentPieces(*entry, put); });
}

Status CarriedDisksPlatform::expandFile(std::string_view source, std::string_view target) {
  if (!inProgramFolder(source)) return inner().expandFile(source, target);
  const PayloadEntry* entry = entryAt(source);
  if (entry == nullptr) return Status(kErrorFileNotFound);
  const auto head = readFileHead(source, kSzddHeaderSize);
  const LzKind kind = head ? ClassifyLzFile(*head) : LzKind::kPlain;
  if (kind == LzKind::kUnknownMethod) return Status(kErrorInvalidParameter);
  // A stored SZDD file expands as the LZ functions expand it; anything else is copied.
  return writeFrom(*entry, target, false, [&](const Pieces& put) {
    if (kind == LzKind::kPlain || entry->storedCompressed()) return contentPieces(*entry, put);
    // As the LZ functions do, all the data expands, whatever length the header gives.
    return expandStored(*entry, std::numeric_limits<std::uint64_t>::max(), put);
  });
}

}  // namespace orv
