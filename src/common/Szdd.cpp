#include "common/Szdd.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace orv {

namespace {

constexpr std::string_view kSzddMagic = "SZDD\x88\xF0\x27\x33";
constexpr char kCompressionModeA = 'A';

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::optional<SzddHeader> ParseSzddHeader(std::string_view bytes) {
  if (bytes.size() < kSzddHeaderSize || !bytes.starts_with(kSzddMagic) ||
      bytes[8] != kCompressionModeA) {
    return std::nullopt;
  }
  SzddHeader header;
  header.MissingCharacter = bytes[9];
  for (int i = 3; i >= 0; --i) {
    header.Length = (header.Length << 8) | static_cast<unsigned char>(bytes[10 + i]);
  }
  return header;
}

LzKind ClassifyLzFile(std::string_view head) {
  if (head.size() < kSzddHeaderSize || !head.starts_with(kSzddMagic)) return LzKind::kPlain;
  return head[8] == kCompressionModeA ? LzKind::kCompressed : LzKind::kUnknownMethod;
}

bool ExpandSzddData(const std::function<std::string_view()>& next, std::uint64_t length,
                    const std::function<bool(std::string_view)>& put) {
  // A 4096-byte window, spaces at first, written from 16 bytes before its end. Expansion is the
  // bulk of an install's work: the window and the output are plain arrays, indexed.
  constexpr std::size_t kWindow = 4096;
  constexpr std::size_t kMask = kWindow - 1;
  constexpr std::size_t kPiece = 1 << 16;
  // What one control byte gives at most: eight matches of 18 bytes.
  constexpr std::size_t kLongestRun = 8 * 18;
  std::array<char, kWindow> window;
  window.fill(' ');
  std::size_t position = kWindow - 16;
  std::string_view input;
  std::size_t at = 0;
  const auto take = [&]() -> int {
    while (at == input.size()) {
      input = next();
      at = 0;
      if (input.empty()) return -1;
    }
    return static_cast<unsigned char>(input[at++]);
  };
  std::string out(kPiece + kLongestRun, '\0');
  std::size_t made = 0;
  std::uint64_t left = length;
  // The data ends where the input does, or with the length.
  while (left > 0) {
    const int control = take();
    if (control < 0) break;
    // Each bit, lowest first: 1 a literal byte, 0 a match of 3 to 18 bytes in the window.
    bool ended = false;
    for (int bit = 0; bit < 8 && left > 0; ++bit) {
      const int first = take();
      if (first < 0) {
        ended = true;
        break;
      }
      if ((control >> bit) & 1) {
        window[position] = static_cast<char>(first);
        position = (position + 1) & kMask;
        out[made++] = static_cast<char>(first);
        --left;
        continue;
      }
      const int second = take();
      if (second < 0) {
        ended = true;
        break;
      }
      std::size_t from = static_cast<std::size_t>(first | ((second & 0xF0) << 4));
      const auto count =
          static_cast<std::size_t>(std::min<std::uint64_t>((second & 0x0F) + 3, left));
      for (std::size_t i = 0; i < count; ++i) {
        const char c = window[from];
        from = (from + 1) & kMask;
        window[position] = c;
        position = (position + 1) & kMask;
        out[made++] = c;
      }
      left -= count;
    }
    if (made >= kPiece) {
      if (!put(std::string_view(out.data(), made))) return false;
      made = 0;
    }
    if (ended) break;
  }
  return made == 0 || put(std::string_view(out.data(), made));
}

std::string ExpandedName(std::string_view compressedName, char missingCharacter) {
  std::string name(compressedName);
  if (missingCharacter == 0 || name.empty()) return name;
  // The stored character takes the case of the name's last letter.
  char stored = missingCharacter;
  for (auto it = name.rbegin(); it != name.rend(); ++it) {
    if (!IsAsciiLetter(*it)) continue;
    stored = std::islower(static_cast<unsigned char>(*it))
                 ? static_cast<char>(std::tolower(static_cast<unsigned char>(stored)))
                 : static_cast<char>(std::toupper(static_cast<unsigned char>(stored)));
    break;
  }
  const auto dot = name.find('.');
  if (dot == std::string::npos) return name;
  if (dot == name.size() - 1) {
    name.pop_back();
  } else if (name.back() == '_') {
    name.back() = stored;
  }
  return name;
}

}  // namespace orv
