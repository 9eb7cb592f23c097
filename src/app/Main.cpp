#include "app/Main.h"

#include "app/SETUP.h"
#include "common/CommandLine.h"
#include "common/IniFile.h"
#include "common/Platform.h"
#include "common/ResolvedPath.h"
#include "common/TextEncoding.h"
#include "common/TextUtils.h"
#include "record/RecordTrust.h"

namespace orv {

namespace {

constexpr const char* kUiFace = "ＭＳ Ｐゴシック";
constexpr const char* kFixedFace = "ＭＳ ゴシック";

ControlOptions WithFont(int height, const char* face = kUiFace) {
  return {Font{face, height}, std::nullopt, false, false, false};
}

}  // namespace

TfrmMain::TfrmMain(Platform& platform, Globals& globals, RunState& runState, TfrmBack& frmBack)
    : Form(platform, "frmMain",
           {main_text::kCaption,
            {489, 313},
            Font{kUiFace, 12},
            std::nullopt,
            true,
            true,
            true,
            &frmBack,
            kApplicationTitle}),
      fraReadme(*this, nullptr, ControlKind::kGroupBox, "fraReadme", {8, 8, 473, 265}, ""),
      txtReadme(*this, &fraReadme, ControlKind::kMemo, "txtReadme", {8, 16, 457, 241}, "",
                WithFont(12, kFixedFace)),
      grpMessage(*this, nullptr, ControlKind::kGroupBox, "grpMessage", {8, 8, 473, 113},
                 main_text::kMessageGroup),
      fraStatus(*this, &grpMessage, ControlKind::kGroupBox, "fraStatus", {8, 64, 457, 41},
                main_text::kStatusGroup),
      prgStatus(*this, &fraStatus, ControlKind::kProgressBar, "prgStatus", {8, 16, 353, 17}, ""),
      lblStatus(*this, &fraStatus, ControlKind::kLabel, "lblStatus", {368, 16, 80, 17},
                main_text::kStatusStart, {Font{kUiFace, 13}, std::nullopt, false, false, true}),
      lblMessage(*this, &grpMessage, ControlKind::kLabel, "lblMessage", {8, 16, 457, 89}, "",
                 WithFont(12)),
      grpSetupFolder(*this, nullptr, ControlKind::kGroupBox, "grpSetupFolder", {8, 128, 473, 49},
                     main_text::kFolderGroup),
      txtFolder(*this, &grpSetupFolder, ControlKind::kEdit, "txtFolder", {8, 16, 401, 24}, "",
                WithFont(16)),
      btnRefer(*this, &grpSetupFolder, ControlKind::kButton, "btnRefer", {416, 16, 49, 25},
               main_text::kRefer),
      grpOption(*this, nullptr, ControlKind::kGroupBox, "grpOption", {8, 184, 473, 89},
                main_text::kOptionGroup),
      chkOverWrite(*this, &grpOption, ControlKind::kCheckBox, "chkOverWrite", {8, 16, 457, 17},
                   main_text::kOverWrite),
      fraShortCut(*this, &grpOption, ControlKind::kGroupBox, "fraShortCut", {8, 40, 457, 41},
                  main_text::kShortCutGroup),
      chkSCutDesktop(*this, &fraShortCut, ControlKind::kCheckBox, "chkSCutDesktop",
                     {8, 16, 105, 17}, main_text::kDesktop),
      chkSCutStartMenu(*this, &fraShortCut, ControlKind::kCheckBox, "chkSCutStartMenu",
                       {120, 16, 105, 17}, main_text::kStartMenu),
      chkSCutStartUp(*this, &fraShortCut, ControlKind::kCheckBox, "chkSCutStartUp",
                     {232, 16, 105, 17}, main_text::kStartUp),
      chkSCutSendTo(*this, &fraShortCut, ControlKind::kCheckBox, "chkSCutSendTo",
                    {344, 16, 105, 17}, main_text::kSendTo),
      btnContinue(*this, nullptr, ControlKind::kButton, "btnContinue", {48, 280, 185, 25},
                  main_text::kContinue),
      btnSetup(*this, nullptr, ControlKind::kButton, "btnSetup", {48, 280, 185, 25},
               main_text::kSetup),
      btnUnSetup(*this, nullptr, ControlKind::kButton, "btnUnSetup", {48, 280, 185, 25},
                 main_text::kUnSetup),
      btnEnd(*this, nullptr, ControlKind::kButton, "btnEnd", {256, 280, 185, 25},
             main_text::kEndSetup),
      btnCloseErrorLog(*this, nullptr, ControlKind::kButton, "btnCloseErrorLog", {48, 280, 185, 25},
                       main_text::kCloseErrorLog),
      btnAbort(*this, nullptr, ControlKind::kButton, "btnAbort", {48, 280, 185, 25},
               main_text::kAbort),
      dlgFolder(*this),
      g_(globals),
      runState_(runState),
      frmBack_(frmBack) {
  fraReadme.setVisible(false);
  fraStatus.setVisible(false);
  prgStatus.setProgressRange(100, 5);
  txtFolder.setEnabled(false);
  btnRefer.setEnabled(false);
  for (Control* option :
       {&chkOverWrite, &chkSCutDesktop, &chkSCutStartMenu, &chkSCutStartUp, &chkSCutSendTo}) {
    option->setEnabled(false);
    option->setChecked(true);
  }
  for (Control* button : {&btnContinue, &btnSetup, &btnUnSetup}) {
    button->setVisible(false);
    button->setEnabled(false);
  }
  btnEnd.setEnabled(false);
  btnCloseErrorLog.setVisible(false);
  btnAbort.setVisible(false);
  dlgFolder.Title = main_text::kFolderDialogTitle;

  btnEnd.onClick = [this] { btnEndClick(); };
  btnRefer.onClick = [this] { btnReferClick(); };
  btnSetup.onClick = [this] { btnSetupClick(); };
  btnUnSetup.onClick = [this] { btnUnSetupClick(); };
  btnContinue.onClick = [this] { btnContinueClick(); };
  btnCloseErrorLog.onClick = [this] { btnCloseErrorLogClick(); };
  btnAbort.onClick = [this] { btnAbortClick(); };
  platform.setApplicationHandlers({[this] { ApplicationClose(); }, [this] { ApplicationQuit(); }});
}

TfrmMain::~TfrmMain() {
  platform().setApplicationHandlers({});
}

bool TfrmMain::uninstallMode() const {
  return FileNamePart(g_.InfoFilePath) == kUninstallInfoFileName;
}

bool TfrmMain::setupMode() const {
  return FileNamePart(g_.InfoFilePath) == kSetupInfoFileName;
}

bool TfrmMain::infoFileFound() const {
  return !infoMissing_ && !infoCopyFailed_ && info_ && info_->loaded();
}

bool TfrmMain::loadInfoFile() {
  const auto bytes = platform().readFile(g_.InfoFilePath, kIniFileMaxBytes);
  infoBytes_ = bytes.value_or(std::string());
  info_ = std::make_unique<IniReader>(bytes ? IniReader::FromBytes(platform(), *bytes)
                                            : IniReader::Missing(platform()));
  return info_->loaded();
}

void TfrmMain::FormActivate() {
  // Activation comes back after every message box and the folder chooser; the mode is selected
  // once.
  if (modeSelected_) return;
  modeSelected_ = true;
  Platform& p = platform();

  disableCloseItem();
  const ProgramArguments arguments = ReadProgramArguments(p.commandLine());
  const std::string& argument = arguments.ModeArgument;
  // Taken as a full path now: the entry records it, and the uninstall starts elsewhere.
  if (arguments.Folder) {
    g_.PresetFolder = ResolvePath(*arguments.Folder, p.currentFolder()).value_or(*arguments.Folder);
  }
  g_.ProgramFolder = FolderPart(p.programFilePath());
  // The wide query has no length limit: a long temporary folder is used whole.
  g_.TempFolder = p.tempFolder();
  if (g_.TempFolder.empty()) g_.TempFolder = g_.ProgramFolder;
  g_.InfoFilePath = StripSeparator(g_.ProgramFolder, "B") + "\\" + kSetupInfoFileName;

  if (FileNamePart(argument) == kUninstallInfoFileName) {
    // The full path, as the copy below reads it: the uninstall later runs in another folder.
    g_.NamedInfoFile = ResolvePath(argument, p.currentFolder()).value_or(argument);
    g_.InfoFilePath = StripSeparator(g_.TempFolder, "B") + "\\" + kUninstallInfoFileName;
    // A failed copy counts as a missing file: a stale copy is never used, and the named file
    // itself, when it lies at the copy's place, is neither used nor deleted.
    infoCopyFailed_ = !MakeRecordCopy(p, argument, g_.InfoFilePath);
  }

  loadInfoFile();
  infoMissing_ = !infoFileFound();
  if (infoMissing_) {
    btnSetup.setVisible(true);
    btnSetup.setEnabled(false);
    btnContinue.click();
    return;
  }

  g_.SetupTitle = info().Read("Title", "Setup", main_text::kDefaultTitle);
  g_.UnSetupTitle = info().Read("Title", "UnSetup", g_.SetupTitle);

  if (uninstallMode()) {
    frmBack_.lblBackTitle1.setCaption(g_.UnSetupTitle);
    frmBack_.lblBackTitle2.setCaption(g_.UnSetupTitle);
    setCaption(g_.UnSetupTitle);
    // Enabled by the options stage once it is ready.
    btnUnSetup.setVisible(true);
    btnContinue.click();
    return;
  }

  if (setupMode()) {
    frmBack_.lblBackTitle1.setCaption(g_.SetupTitle);
    frmBack_.lblBackTitle2.setCaption(g_.SetupTitle);
    setCaption(g_.SetupTitle);
  }

  // The readme is always taken relative to the program's folder.
  std::string readme = info().Read("Readme", "File", "");
  if (!readme.empty()) readme = StripSeparator(g_.ProgramFolder, "B") + AddSeparator(readme, "T");
  // A readme too large to show is skipped like a missing one.
  if (!readme.empty() && p.fileExists(readme) && loadReadme(readme)) {
    btnContinue.setVisible(true);
    btnContinue.setEnabled(true);
    btnEnd.setEnabled(true);
    fraReadme.setVisible(true);
    fraReadme.setCaption(info().Read("Readme", "Title", ""));
    return;
  }

  // Enabled by the options stage once it is ready.
  btnSetup.setVisible(true);
  btnContinue.click();
}

bool TfrmMain::loadReadme(const std::string& path) {
  const auto bytes = platform().readFile(path, kReadmeMaxBytes);
  if (!bytes) return false;
  const FileEncoding encoding = DetectEncoding(*bytes);
  const std::string_view body = std::string_view(*bytes).substr(ByteOrderMark(encoding).size());
  txtReadme.setLines(SplitLines(DecodeText(platform(), encoding, body)));
  return true;
}

}  // namespace orv
