// The registry keys an uninstall may not delete, whatever its record says: the record lives in the
// product's folder and the uninstall runs with administrator rights. Roots, keys one level below a
// root (but for a class the association phase made), keys at or above the Uninstall branch and
// other products' entries are protected.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"

namespace orv {

// The names of a "\"-separated path (a key or a folder); empty names are dropped.
std::vector<std::string> KeyNames(std::string_view path);

// The names of key, upper case and joined by "\", when it names one key right below the Uninstall
// branch (an uninstall entry); empty otherwise.
std::string UninstallEntryOf(const Platform& platform, std::string_view key);

// Whether the key at path under root is protected. productEntry is this product's own entry, as
// UninstallEntryOf gives it (empty: none), which may go. A one-level class key may go when it
// ends in "_auto_file", or when it is an extension whose unnamed value names its
// "<extension>_auto_file" class.
bool ProtectedKey(const Platform& platform, RegistryRoot root, std::string_view path,
                  std::string_view productEntry);

}  // namespace orv
