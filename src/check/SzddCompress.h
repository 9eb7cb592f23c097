// LZ compression in the SZDD format (method A) that the LZ functions and the program's own
// expander read: authors' files made smaller for a packed program.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// bytes as an SZDD file; missingCharacter is the header's name character (0 for none).
std::string CompressSzdd(std::string_view bytes, char missingCharacter);

}  // namespace orv
