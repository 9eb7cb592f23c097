// The top-level error box: what a handler raised, shown with the stop icon under the caption the
// form names (the application title); the program then goes on in its message loop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Platform;

// An I/O error's text when the system has none for its code.
inline constexpr const char* kIoErrorFormat = "I/O ｴﾗｰ (%u)";

// The system's text for an error code, or fallbackFormat (a printf format taking the code as an
// unsigned number) when the system has none.
std::string SystemErrorText(const Platform& platform, std::uint32_t code,
                            const char* fallbackFormat);

// The error's text with a "." added when it does not end in punctuation.
std::string ErrorBoxText(std::string_view message);

void ShowErrorBox(Platform& platform, std::string_view caption, std::string_view message);

}  // namespace orv
