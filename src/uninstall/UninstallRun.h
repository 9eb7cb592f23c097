// The uninstall run: the Uninstall button's handler. It removes what UNSETUP.INI records, in a
// fixed order: files, shortcuts, folders, registry keys, the uninstall entry, the setup folder,
// the temporary copy of the record. The record lives in the product's folder and the run has
// administrator rights, so whatever it says, no root key, no key one level below a root, no key
// at or above the Uninstall branch, no other product's entry and no system folder is removed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"

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
}  // namespace uninstall_text

// The uninstall flags of a file record: delete a shared library too, ask first, leave the file.
inline constexpr std::string_view kForceFlag = ",/F";
inline constexpr std::string_view kConfirmFlag = ",/C";
inline constexpr std::string_view kLeaveFlag = ",/L";

// A [DeleteFile] record: the path before its first comma (normalised) and the flag, the three
// characters from that comma.
struct FileRecord {
  std::string Path;
  std::string Flag;
};

class UninstallRun {
 public:
  explicit UninstallRun(TfrmMain& main) : main_(main) {}

  // Runs to the end; only a failure to make the temporary folder current stops it early (an
  // error the top-level handler shows, after which Exit is left to leave by).
  void Execute();

 private:
  void Run();
  void ReadRecord();
  void DeleteFiles();
  void DeleteShortcuts();
  void RemoveFolders();
  void DeleteRegistryKeys();
  void DeleteUninstallEntry();
  void RemoveSetupFolder();
  void Finish();

  // A recorded value cut at the read limit names some other path: it is reported, never used.
  bool Whole(std::string_view value, std::string_view tag);
  // A folder below one of the shell's folders that hold shortcuts (a program group): only such a
  // folder goes with its last shortcut. When the shell does not give its folders, none does.
  bool IsShortcutGroup(std::string_view folder) const;
  // Folders no record may remove: the system's, the shell's, drive and share roots.
  bool ProtectedFolder(std::string_view folder) const;
  // The uninstall command names the UNSETUP.INI the command line gave.
  bool NamesThisRecord(std::string_view command) const;
  std::string Upper(std::string_view text) const;

  TfrmMain& main_;
  std::vector<std::string> folders_;
  std::vector<FileRecord> files_;
  std::vector<std::string> shortcuts_;
  std::vector<std::string> registryKeys_;
  std::vector<std::string> removed_;  // folders this run removed, upper case, no final "\"
  std::string entryKey_;              // [UnSetupRegistryKey] Key as recorded
  std::string setupFolder_;           // [SetupFolder] Folder as recorded
  bool entryValid_ = false;           // the entry names one key right below the Uninstall branch
  bool entryForeign_ = false;         // and that key is another product's
  std::string productEntry_;          // this product's entry, as UninstallEntryOf gives it
};

}  // namespace orv
