// SHA-256 (FIPS 180-4): the digest the setup run leaves of the uninstall record it wrote, so the
// uninstaller can tell that record from one changed after setup, and the digest of the disks a
// packed program carries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

using Sha256Digest = std::array<std::uint8_t, 32>;

// The digest of bytes handed over in pieces: a large file is hashed as it is read.
class Sha256 {
 public:
  Sha256();
  void add(std::string_view bytes);
  // The digest of everything added; the object is spent.
  Sha256Digest finish();

 private:
  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> block_{};
  std::size_t pending_ = 0;  // bytes of block_ waiting for a whole block
  std::uint64_t length_ = 0;
};

Sha256Digest Sha256Of(std::string_view bytes);

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace orv
