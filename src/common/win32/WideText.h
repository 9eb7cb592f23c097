// Texts at the Win32 boundary: the program's UTF-8 and the wide calls' UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace orv::win32 {

std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);
// For display: the program breaks lines at a lone "\r", the window system at "\r\n".
std::wstring WideDisplayText(std::string_view text);

}  // namespace orv::win32
