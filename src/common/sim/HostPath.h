// Host paths from and to the program's UTF-8 texts. A path's narrow form is UTF-8 on Linux but
// not on Windows, where the library takes narrow text byte by byte: every conversion goes through
// the UTF-8 forms.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

inline std::filesystem::path HostPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace orv
