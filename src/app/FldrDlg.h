// The folder chooser: the shell's folder browser, held by a form like any dialog component.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

class Form;

enum class TFolderDlgOption : std::uint8_t {
  bifBrowseForComputer,
  bifBrowseForPrinter,
  bifDontGoBelowDomain,
  bifReturnFSAncestors,
  bifReturnOnlyFSDirs,
  bifStatusText,
};

class TFolderDialog {
 public:
  // Options start as file-system folders only.
  explicit TFolderDialog(Form& owner);

  std::string Title;
  // Bit n set for the n-th TFolderDlgOption.
  std::uint8_t Options;
  // The folder chosen last (a drive root keeps its separator: C:\).
  std::string Folder;

  void include(TFolderDlgOption option) { Options |= Bit(option); }
  bool includes(TFolderDlgOption option) const { return (Options & Bit(option)) != 0; }
  // The browser's flags for Options.
  std::uint32_t BrowserFlags() const;

  // Shows the browser modally over the owner; true when the user confirmed a folder (Folder then
  // holds it), false when the user cancelled (Folder is unchanged).
  bool Execute();

 private:
  static std::uint8_t Bit(TFolderDlgOption option) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
  }

  Form& owner_;
};

}  // namespace orv
