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

// Whether the host path is a symbolic link, a junction or a mount point (on Windows the library
// does not tell them).
bool IsHostLink(const std::filesystem::path& path);

// Copies the folder from into the folder to, replacing what is there of the same names: only what
// is in it (a link could lead anywhere on the host), and every copy writable (a read-only file from
// a CD-ROM would keep the host from deleting it; the simulation keeps attributes of its own).
void CopyHostTree(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace orv
