// The names the information files and the program give registry keys: the root tokens of a key
// in SETUP.INI and UNSETUP.INI, the file class an association makes, and the branch of the
// uninstall entries.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "common/Platform.h"

namespace orv {

// The root tokens of registry keys and the roots they name.
inline constexpr std::array<std::pair<std::string_view, RegistryRoot>, 4> kRootTokens = {{
    {"(Class)", RegistryRoot::kClassesRoot},
    {"(Cuser)", RegistryRoot::kCurrentUser},
    {"(Local)", RegistryRoot::kLocalMachine},
    {"(Users)", RegistryRoot::kUsers},
}};

// The root a seven-character token names: "(Class)", "(Cuser)", "(Local)", "(Users)"; nullopt
// for any other text.
std::optional<RegistryRoot> RootOfToken(std::string_view token);

// The file class an association registers for an extension: "<ext>_auto_file".
inline constexpr std::string_view kAssociationClassSuffix = "_auto_file";

// The key under HKEY_LOCAL_MACHINE below which uninstall entries live.
inline constexpr std::string_view kUninstallBranch =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace orv
