// The uninstall run: the Uninstall button's handler. It removes what UNSETUP.INI records, in a
// fixed order: files, shortcuts, folders, registry keys, the uninstall entry, the setup folder,
// the temporary copy of the record. The record lives in the product's folder and the run has
// administrator rights, so what it may remove is decided by RecordTrust and KeyProtection.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"
#include "common/SetupError.h"
#include "record/RecordTrust.h"

namespace orv {

class TfrmMain;

namespace uninstall_text {
inline constexpr const char* kUninstalling =
    "アンセットアップ（アンインストール）を行っています．．．";
inline constexpr const char* kDeleteQuestion = "このファイルを削除してもよろしいですか？";
inline constexpr const char* kCaution = "<<　注意　>>";
inline constexpr const char* kSharedWarning =
    "DLL・OCXなどは他のプログラムでも使用される可能性があります．";
inline constexpr const char* kOnlyWhenSure =
    "確実に使用されないことがわかっている場合のみ削除してください．";
inline constexpr const char* kDeleteCaption = "ファイル削除の確認";
inline constexpr const char* kFailuresQuestion =
    "アンセットアップ（アンインストール）の過程で，一部の処理が失敗しました．\r詳細を表示しますか"
    "？";
inline constexpr const char* kFailuresCaption = "削除処理失敗　詳細表示";
inline constexpr const char* kComplete = "アンセットアップを完了しました．";
inline constexpr const char* kCompleteCaption = "完了";
inline constexpr const char* kRestartCompletes =
    "Windowsを再起動すると，アンセットアップが完了します．";
inline constexpr const char* kRestartCaption = "情報";
inline constexpr const char* kLeftRecorded =
    "削除できなかったものを，アンセットアップ情報ファイルに残しました．\r"
    "原因を取り除いてから，もう一度アンセットアップしてください．";
inline constexpr const char* kLeftCaption = "警告";
}  // namespace uninstall_text

// The uninstall flags of a file record: delete a shared library too, ask first, leave the file.
inline constexpr std::string_view kForceFlag = ",/F";
inline constexpr std::string_view kConfirmFlag = ",/C";
inline constexpr std::string_view kLeaveFlag = ",/L";

// A path the record names: as it is written, and the path the run acts on (none when the record
// may not name it).
struct RecordedPath {
  std::string Recorded;
  std::optional<std::string> Path;
  // The path for the failure list.
  const std::string& Shown() const { return Path ? *Path : Recorded; }
};

// A [DeleteFile] record: the path before its first comma and the flag, the three characters from
// that comma.
struct FileRecord : RecordedPath {
  std::string Flag;
};

class UninstallRun {
 public:
  explicit UninstallRun(TfrmMain& main) : main_(main) {}

  // Runs to the end; only a record it cannot read and a failure to make the temporary folder
  // current stop it early (an error the error box shows, after which Exit is left to leave by).
  void Execute();

 private:
  // The error that stopped the run early, if one did.
  Raised Run();
  // Whether the record is the one the setup run wrote; the user is told when it was changed.
  void WeighRecord();
  void ReadRecord();
  void DeleteFiles();
  void DeleteShortcuts();
  void RemoveFolders();
  void DeleteRegistryKeys();
  // What became of what of the product's own stays (in use, denied): nothing stays; the record,
  // written again with only that, and the entry are kept for a later uninstall to finish; or the
  // record could not be written again, and the entry is kept.
  enum class Left { kNothing, kRecorded, kNotRecorded };
  Left KeepWhatIsLeft();
  void DeleteUninstallEntry();
  void RemoveSetupFolder();
  void Finish();

  // A file Windows will not delete now (in use, a running program) goes at the next restart.
  // False when it stays.
  bool DeleteOrSchedule(const std::string& path);
  // An empty folder goes now; one that holds what goes at the restart is left to Windows then,
  // which removes it only if it is empty by then.
  bool RemoveOrSchedule(const std::string& folder);

  // A folder that could not be removed: a failure, and, when it holds only what the answers
  // kept (a ,/C file, a folder that stays for one), one they explain.
  void FolderStays(std::string_view tag, std::string_view shown,
                   const std::optional<std::string>& folder);
  bool HoldsOnlyKept(const std::string& folder) const;

  // A recorded value cut at the read limit names some other path: it is reported, never used.
  bool Whole(std::string_view value, std::string_view tag);
  // A folder below one of the shell's folders that hold shortcuts (a program group): only such a
  // folder goes with its last shortcut. When the shell does not give the user's folders, none
  // does.
  bool IsShortcutGroup(std::string_view folder) const;
  std::string Upper(std::string_view text) const;

  TfrmMain& main_;
  std::optional<RecordScope> scope_;
  std::vector<RecordedPath> folders_;
  std::vector<FileRecord> files_;
  std::vector<RecordedPath> shortcuts_;
  std::vector<std::string> registryKeys_;
  std::vector<std::string> removed_;    // folders this run removed, in PathKey form
  std::vector<std::string> scheduled_;  // what goes at the next restart, in PathKey form
  std::vector<std::string> kept_;  // what stays as an answer kept it, and its folders, PathKey form
  // The records of what stays that is the product's own (not by design), in record order.
  std::vector<std::string> leftFolders_;
  std::vector<std::string> leftFiles_;
  std::vector<std::string> leftShortcuts_;
  std::vector<std::string> leftKeys_;
  std::string entryKey_;       // [UnSetupRegistryKey] Key as recorded
  std::string setupFolder_;    // [SetupFolder] Folder as recorded
  bool entryValid_ = false;    // the entry names one key right below the Uninstall branch
  bool entryForeign_ = false;  // and that key is another product's
  ProductEntry product_;       // this product's entry, the one that names the record
};

}  // namespace orv
