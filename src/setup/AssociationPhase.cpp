#include "setup/AssociationPhase.h"

#include "app/Main.h"
#include "common/Platform.h"
#include "setup/PathMacros.h"
#include "setup/RegistryWrite.h"
#include "setup/SetupRun.h"

namespace orv {

namespace {

// Registers the class of type with icon and command; program is the path before the icon index.
// The first value that cannot be written ends it.
Raised Associate(Platform& p, const FileType& type, const std::string& file,
                 const std::string& program) {
  const std::string fileClass = type.Extension + std::string(kAssociationClassSuffix);
  const bool blank = program.find(' ') != std::string::npos;
  const std::string quoted = blank ? "\"" + program + "\"" : program;
  RegistryWriter classes(p, RegistryRoot::kClassesRoot);
  const auto write = [&classes](const std::string& key, const std::string& value) {
    classes.write(key, "", {RegistryType::kString, value, 0});
  };
  write("." + type.Extension, fileClass);
  write(fileClass, type.Description);
  write(fileClass + "\\DefaultIcon", file);
  write(fileClass + "\\shell\\open\\command", quoted + " \"%1\"");
  if (!classes.raised()) p.notifyAssociationsChanged();
  return classes.raised();
}

}  // namespace

FileType SplitFileType(std::string_view name) {
  const auto comma = name.find(',');
  std::string_view extension = name.substr(0, comma);
  // A leading dot would make the key "..txt".
  if (extension.starts_with('.')) extension.remove_prefix(1);
  FileType type{std::string(extension), {}};
  type.Description = comma == std::string_view::npos
                         ? type.Extension + relate_text::kDefaultDescriptionTail
                         : std::string(name.substr(comma + 1));
  return type;
}

bool RunAssociationPhase(SetupRun& run, TfrmMain& main) {
  Platform& p = main.platform();
  Globals& g = main.globals();
  const MacroFolders folders = MacroFolders::Of(g, main.runState().SetupFolderPath);
  for (const ScriptRelation& entry : main.runState().RelateList) {
    if (!run.ShowStatus(relate_text::kSetting)) return false;
    const FileType type = SplitFileType(entry.Name);
    // Without an extension the keys would be "." and "_auto_file", no type's.
    if (type.Extension.empty()) continue;
    std::string file = ResolveMacros(entry.File, folders);
    if (file.find(',') == std::string::npos) file += ",0";
    std::string program = file.substr(0, file.find(','));
    // A path the author quoted already is quoted once, in the command only.
    if (program.size() >= 2 && program.front() == '"' && program.back() == '"') {
      program = program.substr(1, program.size() - 2);
    }
    g.MessageText = relate_text::kQuestionHead + type.Extension +
                    relate_text::kQuestionExtensionEnd + "\r" + program + "\r" +
                    relate_text::kQuestionTail;
    g.MessageAnswer =
        p.messageBox(g.MessageText, relate_text::kCaption, kMbYesNo | kMbIconQuestion);
    if (g.MessageAnswer != kIdYes) continue;
    if (Raised raised = Associate(p, type, file, program)) return run.Raise(*raised);
  }
  return true;
}

}  // namespace orv
