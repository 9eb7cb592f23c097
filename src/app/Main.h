// The main window, in which the user works: the message area, the setup folder and options, the
// readme, the copy progress and the button slot whose button changes with the stage. Its
// handlers select the mode, bring the window to the options stage and decide how it closes.
#pragma once

#include "app/Back.h"
#include "app/FldrDlg.h"
#include "common/Form.h"
#include "common/Globals.h"
#include "common/IniFile.h"
#include "setup/RunState.h"

namespace orv {

// [Extend] Architecture of a 64-bit application's script.
inline constexpr std::string_view kArchitecture64 = "x64";

namespace main_text {
inline constexpr const char* kCaption = "Orvane! Setup 98";
inline constexpr const char* kMessageGroup = "メッセージ";
inline constexpr const char* kStatusGroup = "コピー進行状況";
inline constexpr const char* kStatusStart = "0%(0/0)";
inline constexpr const char* kFolderGroup = "セットアップフォルダ";
inline constexpr const char* kRefer = "参照(&R)";
inline constexpr const char* kOptionGroup = "セットアップオプション";
inline constexpr const char* kOverWrite =
    "自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．";
inline constexpr const char* kShortCutGroup = "ショートカットの作成";
inline constexpr const char* kDesktop = "デスクトップ";
inline constexpr const char* kStartMenu = "スタートメニュー";
inline constexpr const char* kStartUp = "スタートアップ";
inline constexpr const char* kSendTo = "送る";
inline constexpr const char* kContinue = "セットアップ続行(&C)";
inline constexpr const char* kSetup = "セットアップ開始(&S)";
inline constexpr const char* kUnSetup = "アンセットアップ開始(&S)";
inline constexpr const char* kEndSetup = "セットアップ終了(&E)";
inline constexpr const char* kEndUnSetup = "アンセットアップ終了(&E)";
inline constexpr const char* kEnd = "終了(&E)";
inline constexpr const char* kCloseErrorLog = "続行(&C)";
inline constexpr const char* kAbort = "セットアップ中断(&A)";
inline constexpr const char* kFolderDialogTitle = "セットアップフォルダを選択してください．";

inline constexpr const char* kDefaultTitle = "Orvane! Setup 98";
inline constexpr const char* kInfoFileMissing =
    "セットアップ・アンセットアップ情報ファイルが見つかりません．";
inline constexpr const char* kWindowsFolderFailed = "Windowsフォルダの取得に失敗しました．";
inline constexpr const char* kSystemFolderFailed = "WindowsSystemフォルダの取得に失敗しました．";
// A 64-bit application's script on 32-bit Windows.
inline constexpr const char* kNeeds64BitWindows =
    "このアプリケーションは64ビット版のWindowsが必要です．このWindowsにはセットアップできません．";
inline constexpr const char* kUnSetupMessage =
    "アンセットアップ（アンインストール）を行います．\r\r開始するには，「アンセットアップ開始（Ｓ）"
    "」"
    "を選択してください．";
inline constexpr const char* kSetupMessage = "セットアップを行います．\r";
inline constexpr const char* kCloseProgramsFirst =
    "【セットアップを開始する前に，必ずすべてのプログラムを終了させてください．】\r\r";

inline constexpr const char* kAbortCaption = "中断の確認";
inline constexpr const char* kAbortQuestion =
    "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r一度，セットアッ"
    "プを完了してから，アンセットアップ（アンインストール）することをおすすめします．\r\r本当にセッ"
    "トアップを中断しますか？";
inline constexpr const char* kCloseCaption = "終了確認";
inline constexpr const char* kCloseQuestion =
    "セットアップ・アンセットアップは終了していません．\rよろしいですか？";
}  // namespace main_text

// Readme files larger than this are not shown.
inline constexpr std::uint64_t kReadmeMaxBytes = 4 * 1024 * 1024;

class TfrmMain : public Form {
 public:
  TfrmMain(Platform& platform, Globals& globals, RunState& runState, TfrmBack& frmBack);
  ~TfrmMain() override;

  // Creation order is the tab order and, among overlapping siblings, the stacking order: the
  // readme frame covers the groups below it; the copy progress covers the message.
  Control fraReadme;
  Control txtReadme;
  Control grpMessage;
  Control fraStatus;
  Control prgStatus;
  Control lblStatus;
  Control lblMessage;
  Control grpSetupFolder;
  Control txtFolder;
  Control btnRefer;
  Control grpOption;
  Control chkOverWrite;
  Control fraShortCut;
  Control chkSCutDesktop;
  Control chkSCutStartMenu;
  Control chkSCutStartUp;
  Control chkSCutSendTo;
  Control btnContinue;
  Control btnSetup;
  Control btnUnSetup;
  Control btnEnd;
  Control btnCloseErrorLog;
  Control btnAbort;
  TFolderDialog dlgFolder;

  // Mode selection (once, on the first activation).
  void FormActivate() override;
  // Options stage.
  void btnContinueClick();
  void btnReferClick();
  // Run control.
  void btnEndClick();
  void btnAbortClick();
  void FormCloseQuery(bool& canClose) override;
  void btnCloseErrorLogClick();
  // The application's task-bar button: Close does what Exit does where Exit can be pressed, and
  // nothing while a run works.
  void ApplicationClose();
  // A quit from outside (a quit message, the end of the Windows session): as after a confirmed
  // abort, a run stops at its next check and the window closes with no question; an uninstall's
  // temporary record goes.
  void ApplicationQuit();
  // The runs.
  void btnSetupClick();
  void btnUnSetupClick();

  bool uninstallMode() const;
  bool setupMode() const;

  Globals& globals() { return g_; }
  // The information file as read once for the stage at hand: the mode selection, the options
  // stage and each run read it anew, so a read that fails now and then cannot leave one value at
  // its default while the others are read.
  const IniReader& info() const { return *info_; }
  // The bytes info() was read from (empty when the file could not be read).
  const std::string& infoBytes() const { return infoBytes_; }
  // Reads the information file for the stage; false when it could not be read.
  bool loadInfoFile();
  RunState& runState() { return runState_; }
  TfrmBack& frmBack() { return frmBack_; }

 private:
  // The information file is there and is the one named (a failed copy of a named UNSETUP.INI
  // counts as missing, so a stale copy in the temporary folder is never used, nor deleted).
  bool infoFileFound() const;
  // Shows the readme in the memo; false when it cannot be read or is too large to show.
  bool loadReadme(const std::string& path);
  void enableShortcutOptions(bool optionsEnabled);
  // Deletes the copy of UNSETUP.INI in the temporary folder that this start made, if any.
  void deleteTemporaryInfoCopy();

  Globals& g_;
  RunState& runState_;
  TfrmBack& frmBack_;
  std::unique_ptr<IniReader> info_;
  std::string infoBytes_;
  bool modeSelected_ = false;
  bool infoCopyFailed_ = false;
  // The mode selection found no information file: no later stage may start a run.
  bool infoMissing_ = false;
};

}  // namespace orv
