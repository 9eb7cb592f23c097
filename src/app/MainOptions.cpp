// The options stage: system folders, the proposed setup folder, the options the script allows,
// the introductory message; and the folder chooser.
#include <array>

#include "app/Main.h"
#include "app/RunLog.h"
#include "common/IniFile.h"
#include "common/Platform.h"
#include "common/TextUtils.h"
#include "setup/Completion.h"
#include "setup/PathMacros.h"
#include "setup/SetupScript.h"

namespace orv {

namespace {

constexpr int kTopMessageLines = 5;

}  // namespace

void TfrmMain::enableShortcutOptions(bool optionsEnabled) {
  const std::array<Control*, 4> boxes = {&chkSCutDesktop, &chkSCutStartMenu, &chkSCutStartUp,
                                         &chkSCutSendTo};
  for (const auto& [index, name] :
       ReadNumberedValues(info(), "ShortCut", "Name", RunState::kShortcutCapacity)) {
    for (std::size_t i = 0; i < kShortcutFolderTokens.size(); ++i) {
      if (name.find(kShortcutFolderTokens[i]) != std::string::npos) {
        boxes[i]->setEnabled(optionsEnabled);
      }
    }
  }
}

void TfrmMain::btnContinueClick() {
  Platform& p = platform();
  btnContinue.setVisible(false);
  btnContinue.setEnabled(false);
  btnEnd.setEnabled(false);
  fraReadme.setVisible(false);
  // The start buttons wait for the stage to be ready: a click that the message processing below
  // delivers must not start a run before a folder is proposed.
  btnSetup.setEnabled(false);
  btnUnSetup.setEnabled(false);

  std::string errors;
  lblMessage.setCaption("");
  p.processMessages();

  loadInfoFile();
  if (!infoFileFound()) errors += std::string(main_text::kInfoFileMissing) + "\r";
  g_.WindowsFolder = p.windowsFolder();
  if (g_.WindowsFolder.empty()) errors += std::string(main_text::kWindowsFolderFailed) + "\r";
  // A 64-bit application installs where 64-bit Windows keeps them, which 32-bit Windows lacks.
  if (infoFileFound() && setupMode() &&
      info().Read("Extend", "Architecture", "") == kArchitecture64) {
    if (!p.enterNativeView()) {
      errors += std::string(main_text::kNeeds64BitWindows) + "\r";
    } else if (g_.Log != nullptr) {
      g_.Log->Write("a 64-bit application: its files and keys go where 64-bit programs see them");
    }
  }
  g_.SystemFolder = p.systemFolder();
  if (g_.SystemFolder.empty()) errors += std::string(main_text::kSystemFolderFailed) + "\r";
  g_.ProgramFilesFolder = StripSeparator(ParentFolder(g_.WindowsFolder), "B") + "\\Program Files";

  runState_.ResetOptionTables();
  const bool optionsEnabled = info().Read("Extend", "Enabled", "") != "False";
  // Where the script lets the user choose: the folder of the product's installation, so that an
  // upgrade keeps one installation under its one entry; and before it a folder the command line
  // names.
  std::string proposed = ProposedSetupFolder(info().Read("DefaultFolder", "Folder", "(Prg)\\"), g_);
  const auto installed =
      optionsEnabled && setupMode() ? InstalledFolder(*this) : std::optional<std::string>();
  if (installed) proposed = AddSeparator(*installed, "B");
  if (optionsEnabled && !g_.PresetFolder.empty()) {
    proposed = AddSeparator(g_.PresetFolder, "B");
    if (installed &&
        p.upperCase(StripSeparator(*installed, "B")) !=
            p.upperCase(StripSeparator(proposed, "B")) &&
        g_.Log != nullptr) {
      g_.Log->Write("another installation is registered under the same entry, in " + *installed +
                    "; this one goes to " + proposed + " and the entry will name it");
    }
  }
  if (setupMode()) enableShortcutOptions(optionsEnabled);
  txtFolder.setCaption(proposed);

  g_.MessageText.clear();
  if (!errors.empty()) {
    // The start buttons stay disabled: no run starts with an empty Windows or system folder,
    // nor on a script not read.
    g_.MessageText = errors;
    btnEnd.setCaption(main_text::kEnd);
    btnEnd.setEnabled(true);
  } else if (!uninstallMode()) {
    for (int n = 1; n <= kTopMessageLines; ++n) {
      g_.MessageText += info().Read("TopMessage", "Message" + std::to_string(n), "") + "\r";
    }
    btnSetup.setVisible(true);
    btnSetup.setEnabled(true);
    btnEnd.setCaption(main_text::kEndSetup);
    btnEnd.setEnabled(true);
    txtFolder.setEnabled(optionsEnabled);
    btnRefer.setEnabled(optionsEnabled);
    chkOverWrite.setEnabled(optionsEnabled);
  } else {
    g_.MessageText = main_text::kUnSetupMessage;
    txtFolder.setCaption(info().Read("SetupFolder", "Folder", ""));
    btnUnSetup.setEnabled(true);
    btnEnd.setCaption(main_text::kEndUnSetup);
    btnEnd.setEnabled(true);
  }

  if (g_.MessageText == std::string(kTopMessageLines, '\r'))
    g_.MessageText = main_text::kSetupMessage;
  if (setupMode()) g_.MessageText = main_text::kCloseProgramsFirst + g_.MessageText;
  lblMessage.setCaption(g_.MessageText);
  focus();
}

void TfrmMain::btnReferClick() {
  if (dlgFolder.Execute()) txtFolder.setCaption(AddSeparator(dlgFolder.Folder, "B"));
}

}  // namespace orv
