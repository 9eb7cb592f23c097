#include "common/Szdd.h"

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
