#include "setup/RegistryPhase.h"

#include "app/Main.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "setup/PathMacros.h"
#include "setup/RegistryWrite.h"
#include "setup/SetupRun.h"

namespace orv {

RegistryKeyPath SplitRegistryKey(std::string_view key) {
  RegistryKeyPath split;
  std::string_view path = key;
  if (const auto token = LeadingToken(key, 7)) {
    split.Root = RootOfToken(*token).value_or(RegistryRoot::kCurrentUser);
    path.remove_prefix(token->size());
  }
  split.Path = StripSeparator(StripSeparator(path, "T"), "B");
  return split;
}

std::optional<RegistryValue> ParseRegistryValue(std::string_view value) {
  const std::string_view token = FirstCharacters(value, 5);
  const std::string data(value.substr(token.size()));
  if (token == "(Str)") return RegistryValue{RegistryType::kString, data, 0};
  if (token == "(Exp)") return RegistryValue{RegistryType::kExpandString, data, 0};
  if (token == "(Int)" || token == "(Dwd)") {
    return RegistryValue{RegistryType::kDword, {}, ParseRegistryInteger(data)};
  }
  if (token == "(Bin)") return std::nullopt;
  return RegistryValue{RegistryType::kString, std::string(value), 0};
}

bool RunRegistryPhase(SetupRun& run, TfrmMain& main) {
  Platform& p = main.platform();
  const MacroFolders folders = MacroFolders::Of(main.globals(), main.runState().SetupFolderPath);
  for (const ScriptRegistryValue& entry : main.runState().RegistryList) {
    if (!run.ShowStatus(registry_text::kSetting)) return false;
    const RegistryKeyPath key = SplitRegistryKey(entry.Key);
    // An empty path names the root key itself: no script may write there.
    if (key.Path.empty()) return run.Raise(KeyFailure(key.Path));
    if (Raised raised = CreateKeyOrRaise(p, key.Root, key.Path)) return run.Raise(*raised);
    const auto value = ParseRegistryValue(ResolveMacros(entry.Value, folders, TempMacro::kKeep));
    if (!value) continue;
    if (Raised raised = WriteValueOrRaise(p, key.Root, key.Path, entry.Name, *value)) {
      return run.Raise(*raised);
    }
  }
  return true;
}

}  // namespace orv
