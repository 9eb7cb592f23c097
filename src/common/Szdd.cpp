#include "common/Szdd.h"

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

bool ExpandSzddData(const std::function<std::string_view()>& next, std::uint64_t length,
                    const std::function<bool(std::string_view)>& put) {
  // A 4096-byte window, spaces at first, written from 16 bytes before its end.
  constexpr std::size_t kWindow = 4096;
  constexpr std::size_t kPiece = 1 << 16;
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
  std::string out;
  out.reserve(kPiece + 18);
  std::uint64_t left = length;
  const auto emit = [&](char c) {
    window[position] = c;
    position = (position + 1) % kWindow;
    out += c;
    --left;
  };
  bool more = true;
  while (more && left > 0) {
    const int control = take();
    if (control < 0) break;
    // Each bit, lowest first: 1 a literal byte, 0 a match of 3 to 18 bytes in the window.
    for (int bit = 0; bit < 8 && left > 0; ++bit) {
      const int first = take();
      if ((control >> bit) & 1) {
        if (first < 0) break;
        emit(static_cast<char>(first));
        continue;
      }
      const int second = take();
      if (second < 0) {
        more = false;
        break;
      }
      std::size_t from = static_cast<std::size_t>(first | ((second & 0xF0) << 4));
      for (int count = (second & 0x0F) + 3; count > 0 && left > 0; --count) {
        emit(window[from]);
        from = (from + 1) % kWindow;
      }
    }
    if (out.size() >= kPiece) {
      if (!put(out)) return false;
      out.clear();
    }
  }
  return out.empty() || put(out);
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
