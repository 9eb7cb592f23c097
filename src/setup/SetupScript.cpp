#include "setup/SetupScript.h"

#include <array>

#include "app/Globals.h"
#include "common/IniFile.h"
#include "common/Platform.h"
#include "common/TextUtils.h"
#include "setup/RunState.h"

namespace orv {

namespace {

void LoadFolders(const Platform& p, const Globals& g, RunState& state) {
  for (auto& [index, value] :
       ReadNumberedValues(p, g.InfoFilePath, "MakeFolder", "Folder", RunState::kFolderCapacity)) {
    state.FolderList.push_back(std::move(value));
  }
}

void LoadFiles(const Platform& p, const Globals& g, RunState& state) {
  for (const auto& [index, value] :
       ReadNumberedValues(p, g.InfoFilePath, "CopyFile", "File", RunState::kFileKeys)) {
    const auto comma = value.find(',');
    const std::string destination = value.substr(0, comma);
    // The source always comes from the program folder, under the name the value ends in.
    const std::string source =
        StripSeparator(g.ProgramFolder, "B") + "\\" + FileNamePart(destination);
    if (!p.fileExists(source)) continue;
    state.FileList.push_back(
        {destination, comma == std::string::npos ? std::string() : value.substr(comma, 3)});
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
  const std::array<std::pair<std::string_view, bool>, 4> governors = {{
      {"(Dsk)", options.Desktop},
      {"(Sta)", options.StartMenu},
      {"(Sup)", options.StartUp},
      {"(Sen)", options.SendTo},
  }};
  for (const auto& [token, checked] : governors) {
    if (name.find(token) != std::string_view::npos) return checked;
  }
  return true;
}

void LoadShortcuts(const Platform& p, const Globals& g, RunState& state) {
  for (auto& [index, make] :
       ReadNumberedValues(p, g.InfoFilePath, "ShortCut", "Make", RunState::kShortcutCapacity)) {
    std::string name =
        ReadIniString(p, "ShortCut", "Name" + std::to_string(index), "Default", g.InfoFilePath);
    if (ShortcutWanted(name, state.Options)) {
      state.ShortcutList.push_back({std::move(make), std::move(name)});
    }
  }
}

void LoadRegistryValues(const Platform& p, const Globals& g, RunState& state) {
  for (auto& [index, key] :
       ReadNumberedValues(p, g.InfoFilePath, "Registry", "Key", RunState::kRegistryCapacity)) {
    const std::string n = std::to_string(index);
    std::string name = ReadIniString(p, "Registry", "Name" + n, "", g.InfoFilePath);
    if (name.empty()) continue;
    state.RegistryList.push_back({std::move(key), std::move(name),
                                  ReadIniString(p, "Registry", "Value" + n, "", g.InfoFilePath)});
  }
}

void LoadRelations(const Platform& p, const Globals& g, RunState& state) {
  for (auto& [index, name] :
       ReadNumberedValues(p, g.InfoFilePath, "Relate", "Name", RunState::kRelateCapacity)) {
    std::string file =
        ReadIniString(p, "Relate", "File" + std::to_string(index), "", g.InfoFilePath);
    if (!file.empty()) state.RelateList.push_back({std::move(name), std::move(file)});
  }
}

void LoadRegistryRemovals(const Platform& p, const Globals& g, RunState& state) {
  for (auto& [index, key] : ReadNumberedValues(p, g.InfoFilePath, "DeleteRegistry", "Key",
                                               RunState::kDeleteRegistryCapacity)) {
    state.ScriptDeleteRegistryList.push_back(std::move(key));
  }
}

}  // namespace

std::vector<NumberedValue> ReadNumberedValues(const Platform& platform, std::string_view file,
                                              std::string_view section, std::string_view stem,
                                              int maximum) {
  std::vector<NumberedValue> values;
  for (int index = 1; index <= maximum; ++index) {
    std::string value =
        ReadIniString(platform, section, std::string(stem) + std::to_string(index), "", file);
    if (!value.empty()) values.push_back({index, std::move(value)});
  }
  return values;
}

void LoadScript(const Platform& platform, const Globals& globals, RunState& state) {
  LoadFolders(platform, globals, state);
  LoadFiles(platform, globals, state);
  LoadShortcuts(platform, globals, state);
  LoadRegistryValues(platform, globals, state);
  LoadRelations(platform, globals, state);
  LoadRegistryRemovals(platform, globals, state);
}

}  // namespace orv
