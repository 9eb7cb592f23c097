// The registry phase: each [Registry] entry creates its key under the chosen root and writes one
// named value of the chosen type. Nothing is recorded for uninstall.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/Platform.h"

namespace orv {

class SetupRun;
class TfrmMain;

namespace registry_text {
inline constexpr const char* kSetting = "レジストリを設定しています．．．";
}  // namespace registry_text

struct RegistryKeyPath {
  RegistryRoot Root = RegistryRoot::kCurrentUser;
  std::string Path;
};

// A [Registry] Key value: a seven-character root token (HKEY_CURRENT_USER for an unknown one, or
// when the value has none), then the key path with one "\" stripped at each end.
RegistryKeyPath SplitRegistryKey(std::string_view key);

// A resolved [Registry] Value: its type token and data. Nullopt for "(Bin)", which writes nothing;
// a value without a known token is written whole as a string.
std::optional<RegistryValue> ParseRegistryValue(std::string_view value);

// False when the run ended in the phase (the user aborted). A key or value that cannot be written
// raises the run's error, which ends the run.
bool RunRegistryPhase(SetupRun& run, TfrmMain& main);

}  // namespace orv
