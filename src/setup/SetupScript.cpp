#include "setup/SetupScript.h"

#include <array>

#include "app/RunLog.h"
#include "common/Globals.h"
#include "common/IniFile.h"
#include "common/Platform.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "setup/RunState.h"

namespace orv {

namespace {

void LoadFolders(const IniReader& ini, RunState& state) {
  for (auto& [index, value] :
       ReadNumberedValues(ini, "MakeFolder", "Folder", RunState::kFolderCapacity)) {
    state.FolderList.push_back(std::move(value));
  }
}

void LoadFiles(const Platform& p, const Globals& g, const IniReader& ini, RunState& state) {
  for (const auto& [index, value] :
       ReadNumberedValues(ini, "CopyFile", "File", RunState::kFileKeys)) {
    const auto comma = value.find(',');
    const std::string destination = value.substr(0, comma);
    // The source always comes from the program folder, under the name the value ends in.
    const std::string source =
        StripSeparator(g.ProgramFolder, "B") + "\\" + FileNamePart(destination);
    if (!p.fileExists(source)) {
      NoteSkippedSource(g, state, source);
      continue;
    }
    // The uninstall flag: three characters from the comma, never a part of one.
    const std::string_view flag =
        comma == std::string::npos ? std::string_view() : std::string_view(value).substr(comma);
    state.FileList.push_back({destination, std::string(FirstCharacters(flag, 3))});
    if (const auto size = p.fileSize(source)) {
      state.TotalBytes += *size;
    } else {
      state.SizesKnown = false;
    }
  }
}

// Whether the option box that governs a shortcut name lets it through: the first folder token
// of this list that the name holds decides; a name with none is always made.
bool ShortcutWanted(std::string_view name, const OptionSnapshot& options) {
  const std::array<bool, 4> checked = {options.Desktop, options.StartMenu, options.StartUp,
                                       options.SendTo};
  for (std::size_t i = 0; i < kShortcutFolderTokens.size(); ++i) {
    if (name.find(kShortcutFolderTokens[i]) != std::string_view::npos) return checked[i];
  }
  return true;
}

void LoadShortcuts(const IniReader& ini, RunState& state) {
  for (auto& [index, make] :
       ReadNumberedValues(ini, "ShortCut", "Make", RunState::kShortcutCapacity)) {
    std::string name = ini.Read("ShortCut", "Name" + std::to_string(index), kDefaultShortcutName);
    if (ShortcutWanted(name, state.Options)) {
      state.ShortcutList.push_back({std::move(make), std::move(name)});
    }
  }
}

void LoadRegistryValues(const IniReader& ini, RunState& state) {
  for (auto& [index, key] :
       ReadNumberedValues(ini, "Registry", "Key", RunState::kRegistryCapacity)) {
    const std::string n = std::to_string(index);
    std::string name = ini.Read("Registry", "Name" + n, "");
    if (name.empty()) continue;
    state.RegistryList.push_back(
        {std::move(key), std::move(name), ini.Read("Registry", "Value" + n, "")});
  }
}

void LoadRelations(const IniReader& ini, RunState& state) {
  for (auto& [index, name] : ReadNumberedValues(ini, "Relate", "Name", RunState::kRelateCapacity)) {
    std::string file = ini.Read("Relate", "File" + std::to_string(index), "");
    if (!file.empty()) state.RelateList.push_back({std::move(name), std::move(file)});
  }
}

void LoadRegistryRemovals(const IniReader& ini, RunState& state) {
  for (auto& [index, key] :
       ReadNumberedValues(ini, "DeleteRegistry", "Key", RunState::kDeleteRegistryCapacity)) {
    state.ScriptDeleteRegistryList.push_back(std::move(key));
  }
}

}  // namespace

void NoteSkippedSource(const Globals& globals, RunState& state, const std::string& source) {
  state.SkippedSources.push_back(source);
  if (globals.Log != nullptr) globals.Log->Write("skipped, not in the program's folder: " + source);
}

void LoadScript(const Platform& platform, const Globals& globals, const IniReader& ini,
                RunState& state) {
  LoadFolders(ini, state);
  LoadFiles(platform, globals, ini, state);
  LoadShortcuts(ini, state);
  LoadRegistryValues(ini, state);
  LoadRelations(ini, state);
  LoadRegistryRemovals(ini, state);
}

}  // namespace orv
