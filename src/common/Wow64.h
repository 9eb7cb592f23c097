// What 64-bit Windows does for its 32-bit programs (WOW64): their registry view, and the
// redirection of the system folder.
#pragma once

#include <string>
#include <string_view>

#include "common/Platform.h"

namespace orv {

// The key that path, seen in the 32-bit view, is in the 64-bit view: HKEY_LOCAL_MACHINE\SOFTWARE
// \<key> is SOFTWARE\Wow6432Node\<key> (but for the classes), and COM's class keys (CLSID,
// Interface, ...) lie below a Wow6432Node of the classes. A key both views share, such as
// HKEY_CURRENT_USER\Software, is path itself.
std::string KeyOf32BitView(const Platform& platform, RegistryRoot root, std::string_view path);

// Whether Windows redirects a 32-bit program's path below <Windows>\System32, given as the names
// after System32, upper case and "\"-separated: all but a few folders both views share (catroot,
// catroot2, driverstore, drivers\etc, logfiles, spool).
bool RedirectedBelowSystem32(std::string_view below);

}  // namespace orv
