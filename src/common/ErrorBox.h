// The top-level error box: what a handler raised, shown with the stop icon under the caption the
// form names (the application title); the program then goes on in its message loop.
#pragma once

#include <string>
#include <string_view>

namespace orv {

class Platform;

// The error's text with a "." added when it does not end in punctuation.
std::string ErrorBoxText(std::string_view message);

void ShowErrorBox(Platform& platform, std::string_view caption, std::string_view message);

}  // namespace orv
