// Paths as Windows resolves them. A rule about the file a path names (is it inside a folder, is it
// one of the system's folders) must look at that file, not at the spelling: C:/Tool/../Windows,
// \\?\C:\WINDOWS and C:\PROGRA~1 name the same places as C:\WINDOWS and C:\Program Files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

class Platform;

// A name no file can have: a character Windows refuses in names (a colon also opens alternate
// streams), or a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with any extension),
// which names the device in every folder.
bool ForbiddenName(std::string_view name);

// The full path Windows takes path for, relative paths taken from currentFolder (a full path): "/"
// is a separator, doubled separators, "." and ".." go (".." never above the drive or share), each
// name loses its trailing dots and blanks, a device prefix ("\\.\", or "\\?\" whose names Windows
// takes as written) goes, the drive letter is upper case and a final "\" stays. Nullopt when the
// path names no file or folder on a drive or a share the way the program would read it: empty, a
// device ("\\.\PIPE\x", "C:\Tool\NUL"), a name holding a character no file name may hold (a
// colon, which also opens alternate streams), a relative path on another drive, or a "\\?\" path
// whose names Windows would take otherwise than this function does.
std::optional<std::string> ResolvePath(std::string_view path, std::string_view currentFolder);

// ResolvePath, with the short (8.3) names the platform knows replaced by the long ones, so
// C:\PROGRA~1\Tool is C:\Program Files\Tool.
std::optional<std::string> ResolvedPath(const Platform& platform, std::string_view path,
                                        std::string_view currentFolder);

// The form resolved paths are compared in: upper case, without a final "\" ("C:" for a drive).
std::string PathKey(const Platform& platform, std::string_view resolved);

// Whether the path whose key is inner is the folder whose key is outer or lies below it.
bool PathWithin(std::string_view inner, std::string_view outer);

}  // namespace orv
