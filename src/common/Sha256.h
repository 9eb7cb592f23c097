// SHA-256 (FIPS 180-4) of a byte string: the digest the setup run leaves of the uninstall record
// it wrote, so the uninstaller can tell that record from one changed after setup.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

using Sha256Digest = std::array<std::uint8_t, 32>;

Sha256Digest Sha256(std::string_view bytes);

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace orv
