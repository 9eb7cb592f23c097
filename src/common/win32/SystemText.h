// Windows' own text mappings, as free functions: the real platform's, and the simulation's when it
// is built for Windows, so the two agree by construction.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv::win32 {

// The system locale's upper-case mapping (LCMapString).
std::string UpperCase(std::string_view text);
// Shift-JIS bytes, or nullopt when a character has none (no best-fit, no default character).
std::optional<std::string> ToShiftJis(std::string_view text);
// UTF-8 of Shift-JIS bytes; invalid bytes become the system's default character.
std::string FromShiftJis(std::string_view bytes);

}  // namespace orv::win32
