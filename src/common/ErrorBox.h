// The top-level error box: what a handler raised, shown with the stop icon under the caption the
// form names (the application title); the program then goes on in its message loop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Platform;

// The text for an error code the system has no text for: the code between a prefix and a suffix,
// in decimal or as eight upper-case hexadecimal digits (the way COM results are written).
struct ErrorCodeFormat {
  enum class Base { kDecimal, kHex8 };
  std::string_view prefix;
  Base base;
  std::string_view suffix;
};

// An I/O error's text when the system has none for its code.
inline constexpr ErrorCodeFormat kIoErrorFormat{"I/O ｴﾗｰ (", ErrorCodeFormat::Base::kDecimal, ")"};

// The system's text for an error code, or the code written in fallback when the system has none.
std::string SystemErrorText(const Platform& platform, std::uint32_t code,
                            const ErrorCodeFormat& fallback);

// The error's text with a "." added when it does not end in punctuation.
std::string ErrorBoxText(std::string_view message);

void ShowErrorBox(Platform& platform, std::string_view caption, std::string_view message);

}  // namespace orv
