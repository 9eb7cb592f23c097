#include "common/ShellLink.h"

#include <utility>

#include "common/ErrorBox.h"
#include "common/Platform.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

MadeShortcut Raising(std::string message) {
  MadeShortcut made;
  made.Error = SetupError{std::move(message)};
  return made;
}

}  // namespace

MadeShortcut CreateShellLink(Platform& platform, std::string_view target, std::string_view linkName,
                             int folderId, std::string_view workingFolder) {
  ShellLinkObject object = platform.createShellLink();
  if (object.interfaceMissing) return Raising(shell_link_text::kInterfaceNotSupported);
  if (!object.link) {
    return Raising(
        SystemErrorText(platform, object.creationError, shell_link_text::kOleErrorFormat));
  }
  const auto folder = platform.specialFolder(folderId);
  if (!folder) return {};

  const bool useGiven = !workingFolder.empty() && platform.folderExists(workingFolder);
  const std::string working = AddSeparator(useGiven ? workingFolder : FolderPart(target), "B");
  object.link->setTarget(target);
  object.link->setWorkingFolder(working);

  MadeShortcut made;
  made.LinkPath = StripSeparator(*folder, "B") + AddSeparator(linkName, "T") + ".lnk";
  // One missing level (a program group) is made; a deeper one is an error of the script.
  const std::string linkFolder = StripSeparator(FolderPart(made.LinkPath), "B");
  if (!platform.folderExists(linkFolder)) {
    const Status created = platform.createFolder(linkFolder);
    if (!created && created.error() != kErrorAlreadyExists) {
      return Raising(SystemErrorText(platform, created.error(), kIoErrorFormat));
    }
  }
  made.Written = object.link->save(made.LinkPath).succeeded();
  return made;
}

}  // namespace orv
