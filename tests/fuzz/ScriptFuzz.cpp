// SETUP.INI as a whole script: loading it, resolving every value's macros, placing shortcuts,
// splitting registry keys and values and file types, as a setup run does.
#include "common/Globals.h"
#include "common/IniFile.h"
#include "fuzz/FuzzPlatform.h"
#include "setup/AssociationPhase.h"
#include "setup/PathMacros.h"
#include "setup/RegistryPhase.h"
#include "setup/RunState.h"
#include "setup/SetupScript.h"
#include "setup/ShortcutPhase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const Platform& p = fuzz::Platform();
  Globals g;
  g.ProgramFolder = "C:\\SETUP\\";
  g.WindowsFolder = "C:\\WINDOWS";
  g.SystemFolder = "C:\\WINDOWS\\SYSTEM";
  g.TempFolder = "C:\\WINDOWS\\TEMP\\";
  g.ProgramFilesFolder = "C:\\Program Files";
  const IniReader script = IniReader::FromBytes(p, fuzz::Bytes(data, size));
  RunState state;
  LoadScript(p, g, script, state);
  const MacroFolders folders = MacroFolders::Of(
      g, ProposedSetupFolder(script.Read("DefaultFolder", "Folder", "(Prg)\\"), g));
  for (const std::string& folder : state.FolderList)
    (void)ResolveMacros(folder, folders);
  for (const ScriptFile& file : state.FileList)
    (void)ResolveMacros(file.Value, folders);
  for (const ScriptShortcut& shortcut : state.ShortcutList) {
    (void)PlaceShortcut(shortcut.Name, ResolveMacros(shortcut.Make, folders), folders);
  }
  for (const ScriptRegistryValue& value : state.RegistryList) {
    (void)SplitRegistryKey(value.Key);
    (void)ParseRegistryValue(ResolveMacros(value.Value, folders, TempMacro::kKeep));
  }
  for (const ScriptRelation& relation : state.RelateList)
    (void)SplitFileType(relation.Name);
  return 0;
}
