// The setup run: the Setup button's handler, from locking the controls to the end of the run. It
// reads as its phases in order; each phase is a unit of its own. The window stays alive through
// the message processing after every status text, where the Abort button's handler can run.
#pragma once

#include <string_view>

#include "common/SetupError.h"

namespace orv {

class TfrmMain;

namespace setup_text {
inline constexpr const char* kStarting = "セットアップを開始します．．．";
inline constexpr const char* kPreparing = "セットアップ情報を作成しています．．．";
inline constexpr const char* kCheckingFolder = "フォルダをチェックしています．．．";
inline constexpr const char* kFolderMissing = "このフォルダは存在しません．";
inline constexpr const char* kCreateFolderQuestion = "作成してもよろしいですか？";
inline constexpr const char* kCreateFolderCaption = "フォルダ作成";
inline constexpr const char* kCannotContinue = "セットアップを続行できませんでした．";
inline constexpr const char* kStoppedCaption = "セットアップ中止";
inline constexpr const char* kCannotCreateFolder = "ﾃﾞｨﾚｸﾄﾘを作成することができません";
inline constexpr const char* kEarlierRecordUnreadable =
    "このフォルダにある以前のアンセットアップ情報ファイルを読み込めません．\r"
    "他のプログラムが使っていないか確かめてから，もう一度セットアップしてください．";
inline constexpr const char* kCreatingFolder = "フォルダを作成しています．．．\rCreating -> ";
inline constexpr const char* kFailuresQuestion =
    "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？";
inline constexpr const char* kFailuresCaption = "作成・コピー処理失敗　詳細表示";
}  // namespace setup_text

// Pauses of the run, in milliseconds.
inline constexpr unsigned kFirstStatusPause = 1000;
inline constexpr unsigned kStepPause = 500;

class SetupRun {
 public:
  explicit SetupRun(TfrmMain& main) : main_(main) {}

  // Runs to the end, or until the user aborts or refuses to create the setup folder. An error a
  // phase raises ends the run and shows in the error box.
  void Execute();

  // Ends the run with the error; false, for the phase to return.
  bool Raise(SetupError error);

  // Shows a status text and keeps the window responsive; false when the run is to end.
  bool ShowStatus(std::string_view text);
  // Lets pending messages be processed (painting, the Abort button); false when the user has
  // confirmed Abort meanwhile, or the application was asked to quit, which ends the run.
  bool KeepResponsive();

 private:
  void Run();
  bool Start();
  // Shortcuts, registry values and associations. An error they raise ends the run after the
  // installation was still given its uninstaller, record and Add/Remove entry.
  bool RunPhasesAfterCopy();
  void LeaveUninstall();
  bool CheckSetupFolder();
  // False when the application was asked to quit meanwhile, which ends the run.
  bool SummarizeFailures();
  void Stop(const std::string& message);
  void Finish();

  TfrmMain& main_;
  Raised raised_;
};

}  // namespace orv
