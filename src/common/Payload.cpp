#include "common/Payload.h"

#include <algorithm>
#include <array>

#include "common/Platform.h"
#include "common/Szdd.h"
#include "common/Utf.h"

namespace orv {

namespace {

constexpr std::size_t kEntryFixedSize = 36;  // an entry without its name
// The script names at most 99 files, and the readme and SETUP.INI.
constexpr std::size_t kMaxEntries = 1024;
constexpr std::size_t kHashChunk = 1 << 20;
constexpr std::string_view kProgramName = "SETUP.EXE";

std::uint64_t Little(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void PutLittle(std::string& out, std::uint64_t value, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i)
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::optional<std::string> ReadAt(const HeldFile& file, std::uint64_t offset, std::uint64_t count) {
  if (offset > file.size() || count > file.size() - offset) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(count), '\0');
  if (!file.read(offset, bytes)) return std::nullopt;
  return bytes;
}

// A name the program folder can hold: no folder, no device-like or dot name, no control
// character; the program itself is the file's own head.
bool PlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || AsciiEqualNoCase(name, kProgramName)) {
    return false;
  }
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
  });
}

CarriedPayload Damaged(const char* problem) {
  CarriedPayload carried;
  carried.Kind = CarriedPayload::State::kDamaged;
  carried.Problem = problem;
  return carried;
}

struct Trailer {
  std::uint64_t End = 0;  // where the trailer ends; zeros up to the data's end may follow
  std::uint32_t Version = 0;
  std::uint64_t Offset = 0;
  std::uint64_t Size = 0;
  std::string Digest;
};

// The trailer before the end of the data, behind at most 7 zeros that align a signature.
std::optional<Trailer> FindTrailer(const HeldFile& file, std::uint64_t imageEnd,
                                   std::uint64_t dataEnd) {
  constexpr std::size_t kMaxPadding = 7;
  if (dataEnd - imageEnd < kTrailerSize) return std::nullopt;
  const std::uint64_t from =
      std::max<std::uint64_t>(imageEnd, dataEnd - kTrailerSize - kMaxPadding);
  const auto tail = ReadAt(file, from, dataEnd - from);
  if (!tail) return std::nullopt;
  for (std::size_t padding = 0; padding <= kMaxPadding; ++padding) {
    if (tail->size() < kTrailerSize + padding) break;
    const std::size_t at = tail->size() - kTrailerSize - padding;
    if (padding > 0 && (*tail)[tail->size() - padding] != '\0') break;
    const std::string_view trailer = std::string_view(*tail).substr(at, kTrailerSize);
    if (!trailer.starts_with(kTrailerMagic)) continue;
    return Trailer{from + at + kTrailerSize, static_cast<std::uint32_t>(Little(trailer, 8, 4)),
                   Little(trailer, 16, 8), Little(trailer, 24, 8), std::string(trailer.substr(32))};
  }
  return std::nullopt;
}

// The entries of the index, checked against the payload's bounds: what is wrong, or nullptr.
const char* ParseIndex(std::string_view index, const Trailer& trailer, Payload& payload) {
  if (!index.starts_with(kPayloadMagic)) return "the payload does not start as one";
  if (Little(index, 8, 4) != kPayloadVersion) return "the payload's format is not this program's";
  const std::uint64_t count = Little(index, 12, 4);
  if (count > kMaxEntries) return "the payload names too many files";
  payload.ProgramTime = Little(index, 24, 8);
  payload.ProgramChecksum = static_cast<std::uint32_t>(Little(index, 32, 4));
  std::size_t at = kPayloadHeaderSize;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (index.size() - at < kEntryFixedSize) return "the payload's index is cut";
    PayloadEntry entry;
    entry.Disk = static_cast<std::uint8_t>(index[at]);
    entry.Flags = static_cast<std::uint8_t>(index[at + 1]);
    const std::size_t nameLength = static_cast<std::size_t>(Little(index, at + 2, 2));
    at += 4;
    if (index.size() - at < nameLength + kEntryFixedSize - 4) return "the payload's index is cut";
    entry.Name = index.substr(at, nameLength);
    at += nameLength;
    entry.Time = Little(index, at, 8);
    entry.Offset = Little(index, at + 8, 8);
    entry.StoredSize = Little(index, at + 16, 8);
    entry.Size = Little(index, at + 24, 8);
    at += 32;
    if (!PlainFileName(entry.Name)) return "the payload holds a file with a folder or a bad name";
    if (payload.find(entry.Name) != nullptr) return "the payload holds a file twice";
    const std::uint64_t dataStart = trailer.Offset + index.size();
    const std::uint64_t dataEnd = trailer.Offset + trailer.Size;
    if (entry.Offset < dataStart || entry.Offset > dataEnd ||
        entry.StoredSize > dataEnd - entry.Offset) {
      return "a file of the payload lies outside it";
    }
    if ((entry.Flags & ~kStoredCompressed) != 0 ||
        (entry.storedCompressed() ? entry.Size > kSzddMaxLength : entry.Size != entry.StoredSize)) {
      return "a file of the payload is out of shape";
    }
    payload.Entries.push_back(std::move(entry));
  }
  if (at != index.size()) return "the payload's index is out of shape";
  return nullptr;
}

}  // namespace

const PayloadEntry* Payload::find(std::string_view name) const {
  const auto found = std::find_if(Entries.begin(), Entries.end(), [name](const PayloadEntry& e) {
    return AsciiEqualNoCase(e.Name, name);
  });
  return found == Entries.end() ? nullptr : &*found;
}

std::optional<ProgramExtent> ReadProgramExtent(const HeldFile& file) {
  const auto head = ReadAt(file, 0, std::min<std::uint64_t>(file.size(), 4096));
  if (!head || !head->starts_with("MZ") || head->size() < 0x40) return std::nullopt;
  const std::string_view h = *head;
  const std::size_t pe = static_cast<std::size_t>(Little(h, 0x3C, 4));
  if (pe > h.size() || h.size() - pe < 24 + 112 || h.substr(pe, 4) != std::string_view("PE\0\0", 4))
    return std::nullopt;
  const std::size_t sections = static_cast<std::size_t>(Little(h, pe + 6, 2));
  const std::size_t optional = pe + 24;
  const std::size_t table = optional + static_cast<std::size_t>(Little(h, pe + 20, 2));
  const std::uint64_t magic = Little(h, optional, 2);
  if ((magic != 0x10B && magic != 0x20B) || table > h.size() ||
      (h.size() - table) / 40 < sections) {
    return std::nullopt;
  }
  // The directories follow the optional header's fixed fields: the fifth is the signature's.
  const std::size_t directories = optional + (magic == 0x10B ? 96 : 112);
  const std::size_t directoryCount = static_cast<std::size_t>(Little(h, directories - 4, 4));
  ProgramExtent extent{table + 40 * sections, file.size(), optional + 64,
                       static_cast<std::uint32_t>(Little(h, optional + 64, 4)), 0};
  for (std::size_t i = 0; i < sections; ++i) {
    const std::size_t section = table + 40 * i;
    extent.ImageEnd =
        std::max(extent.ImageEnd, Little(h, section + 20, 4) + Little(h, section + 16, 4));
  }
  if (directoryCount > 4 && directories + 40 <= table) {
    extent.SignatureEntryAt = directories + 32;
    const std::uint64_t certificates = Little(h, directories + 32, 4);
    const std::uint64_t certificatesSize = Little(h, directories + 36, 4);
    if (certificatesSize > 0) {
      // A table that lies outside the file leaves no data: the file is cut.
      const bool inside =
          certificates <= file.size() && certificatesSize <= file.size() - certificates;
      extent.DataEnd = inside ? certificates : 0;
    }
  }
  return extent;
}

CarriedPayload ReadPayload(const HeldFile& file) {
  const auto extent = ReadProgramExtent(file);
  if (!extent || extent->DataEnd == extent->ImageEnd) return {};
  if (extent->DataEnd < extent->ImageEnd) return Damaged("the program file is cut");
  const auto start = ReadAt(file, extent->ImageEnd, kPayloadMagic.size());
  const bool startsPayload = start && *start == kPayloadMagic;
  const auto trailer = FindTrailer(file, extent->ImageEnd, extent->DataEnd);
  // Something else after the program (a debugger's symbols) is none of the program's business.
  if (!startsPayload && !trailer) return {};
  if (!trailer) return Damaged("the end of the payload is missing: the file is cut");
  if (trailer->Version != kPayloadVersion)
    return Damaged("the payload's format is not this program's");
  if (trailer->Offset < extent->ImageEnd || trailer->Offset > trailer->End - kTrailerSize ||
      trailer->Size != trailer->End - kTrailerSize - trailer->Offset ||
      trailer->Size < kPayloadHeaderSize) {
    return Damaged("the trailer does not match the file");
  }
  Sha256 hash;
  std::string head;  // the payload's first chunk: its header
  std::string chunk;
  for (std::uint64_t at = 0; at < trailer->Size; at += kHashChunk) {
    chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kHashChunk, trailer->Size - at)));
    if (!file.read(trailer->Offset + at, chunk)) return Damaged("the payload cannot be read");
    if (at == 0) head = chunk;
    hash.add(chunk);
  }
  const Sha256Digest digest = hash.finish();
  if (!std::equal(digest.begin(), digest.end(), trailer->Digest.begin(),
                  [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); })) {
    return Damaged("the payload's digest does not match: the file is damaged");
  }
  CarriedPayload carried;
  carried.Kind = CarriedPayload::State::kFound;
  carried.Disks.Offset = trailer->Offset;
  carried.Disks.ChecksumAt = extent->ChecksumAt;
  carried.Disks.SignatureEntryAt = extent->SignatureEntryAt;
  const std::uint64_t indexSize = Little(head, 16, 8);
  if (indexSize < kPayloadHeaderSize || indexSize > trailer->Size) {
    return Damaged("the payload's index is out of shape");
  }
  const auto whole = ReadAt(file, trailer->Offset, indexSize);
  if (!whole) return Damaged("the payload's index cannot be read");
  if (const char* problem = ParseIndex(*whole, *trailer, carried.Disks)) return Damaged(problem);
  return carried;
}

std::size_t PayloadIndexSize(const std::vector<PayloadEntry>& entries) {
  std::size_t size = kPayloadHeaderSize;
  for (const PayloadEntry& entry : entries)
    size += kEntryFixedSize + entry.Name.size();
  return size;
}

std::string PayloadIndex(const Payload& payload) {
  std::string index(kPayloadMagic);
  PutLittle(index, kPayloadVersion, 4);
  PutLittle(index, payload.Entries.size(), 4);
  PutLittle(index, PayloadIndexSize(payload.Entries), 8);
  PutLittle(index, payload.ProgramTime, 8);
  PutLittle(index, payload.ProgramChecksum, 4);
  PutLittle(index, 0, 4);
  for (const PayloadEntry& entry : payload.Entries) {
    PutLittle(index, entry.Disk, 1);
    PutLittle(index, entry.Flags, 1);
    PutLittle(index, entry.Name.size(), 2);
    index += entry.Name;
    PutLittle(index, entry.Time, 8);
    PutLittle(index, entry.Offset, 8);
    PutLittle(index, entry.StoredSize, 8);
    PutLittle(index, entry.Size, 8);
  }
  return index;
}

std::string PayloadTrailer(std::uint64_t offset, std::uint64_t size, const Sha256Digest& digest) {
  std::string trailer(kTrailerMagic);
  PutLittle(trailer, kPayloadVersion, 4);
  PutLittle(trailer, 0, 4);
  PutLittle(trailer, offset, 8);
  PutLittle(trailer, size, 8);
  trailer.append(digest.begin(), digest.end());
  return trailer;
}

}  // namespace orv
