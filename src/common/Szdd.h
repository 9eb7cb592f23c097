// The header of an LZ-compressed (SZDD) file, as the COMPRESS tool writes it and the Windows LZ
// functions read it, and the name a compressed file is installed under.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

inline constexpr std::size_t kSzddHeaderSize = 14;
// The Windows LZ functions count in 32-bit signed sizes: a longer file would come out cut.
inline constexpr std::uint32_t kSzddMaxLength = 0x7FFFFFFF;

struct SzddHeader {
  char MissingCharacter = 0;  // the last character of the original name; 0 when not stored
  std::uint32_t Length = 0;   // the expanded length
};

// The header of bytes, or nullopt when they do not start an SZDD file the LZ functions expand
// (magic "SZDD\x88\xF0\x27\x33" and compression mode 'A').
std::optional<SzddHeader> ParseSzddHeader(std::string_view bytes);

// What the LZ functions make of a file that starts with head: SZDD data they expand, SZDD of a
// method they do not know, which they refuse, or any other file, which they copy unchanged.
enum class LzKind { kPlain, kCompressed, kUnknownMethod };
LzKind ClassifyLzFile(std::string_view head);

// Expands the compressed data that follows an SZDD header, as the LZ functions do: next gives the
// compressed bytes piece by piece (an empty piece at their end), put takes the expanded bytes, at
// most length of them. False when put refuses a piece.
bool ExpandSzddData(const std::function<std::string_view()>& next, std::uint64_t length,
                    const std::function<bool(std::string_view)>& put);

// The name the file compressedName expands to, as the LZ functions derive it: the stored
// character replaces a final "_" (in the case of the name's last letter); a final "." is dropped.
// A file that stores no character keeps its compressed name.
std::string ExpandedName(std::string_view compressedName, char missingCharacter);

}  // namespace orv
