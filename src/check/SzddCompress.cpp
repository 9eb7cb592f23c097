#include "check/SzddCompress.h"

#include <array>
#include <cstdint>
#include <vector>

#include "common/Szdd.h"

namespace orv {

namespace {

constexpr std::size_t kWindow = 4096;
constexpr std::size_t kWindowStart = kWindow - 16;  // where the expander writes its first byte
constexpr std::size_t kMaxDistance = kWindow - 1;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
constexpr int kChainDepth = 48;
constexpr std::size_t kHashSize = 1 << 14;

std::size_t HashAt(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
  };
  return ((byte(0) << 10) ^ (byte(1) << 5) ^ byte(2)) & (kHashSize - 1);
}

}  // namespace

std::string CompressSzdd(std::string_view bytes, char missingCharacter) {
  std::string out(
      "SZDD\x88\xF0\x27\x33"
      "A");
  out += missingCharacter;
  for (int i = 0; i < 4; ++i)
    out += static_cast<char>((bytes.size() >> (8 * i)) & 0xFF);

  // Chains of earlier places with the same three bytes, newest first, within the window.
  std::vector<std::int64_t> head(kHashSize, -1);
  std::array<std::int64_t, kWindow> previous{};
  const auto remember = [&](std::size_t at) {
    if (at + kMinMatch > bytes.size()) return;
    const std::size_t hash = HashAt(bytes, at);
    previous[at % kWindow] = head[hash];
    head[hash] = static_cast<std::int64_t>(at);
  };

  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t control = out.size();
    out += '\0';
    for (int bit = 0; bit < 8 && at < bytes.size(); ++bit) {
      std::size_t bestLength = 0;
      std::size_t bestFrom = 0;
      if (at + kMinMatch <= bytes.size()) {
        std::int64_t candidate = head[HashAt(bytes, at)];
        const std::size_t longest = std::min(kMaxMatch, bytes.size() - at);
        for (int depth = 0; depth < kChainDepth && candidate >= 0 &&
                            at - static_cast<std::size_t>(candidate) <= kMaxDistance;
             ++depth) {
          const auto from = static_cast<std::size_t>(candidate);
          std::size_t length = 0;
          while (length < longest && bytes[from + length] == bytes[at + length])
            ++length;
          if (length > bestLength) {
            bestLength = length;
            bestFrom = from;
            if (length == longest) break;
          }
          const std::int64_t older = previous[from % kWindow];
          candidate = older < candidate ? older : -1;
        }
      }
      if (bestLength >= kMinMatch) {
        const std::size_t slot = (bestFrom + kWindowStart) % kWindow;
        out += static_cast<char>(slot & 0xFF);
        out += static_cast<char>(((slot >> 4) & 0xF0) | (bestLength - kMinMatch));
        for (std::size_t i = 0; i < bestLength; ++i)
          remember(at + i);
        at += bestLength;
      } else {
        out[control] = static_cast<char>(out[control] | (1 << bit));
        out += bytes[at];
        remember(at);
        ++at;
      }
    }
  }
  return out;
}

}  // namespace orv
