// The end of a setup run: the uninstaller copied into the Windows folder, the uninstall entry that
// Add/Remove Programs lists, and the completion: the message, the restart dialog or the program
// the script starts.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/SetupError.h"

namespace orv {

class TfrmMain;
struct Globals;

namespace completion_text {
inline constexpr const char* kCopyingUninstaller =
    "アンセットアップ（アンインストール）プログラムをコピーしています．．．";
inline constexpr const char* kWritingRecord = "アンセットアップ情報を作成しています．．．";
inline constexpr const char* kRecordFailedHead = "アンセットアップ情報 ";
inline constexpr const char* kRecordFailedTail = " の作成に失敗しました";
inline constexpr const char* kComplete = "セットアップが完了しました．";
inline constexpr const char* kCompleteMessage =
    "セットアップが完了しました．\r\rプログラムのアンセットアップ（アンインストール）は，\r「アプリ"
    "ケーションの追加と削除」から行ってください．";
inline constexpr const char* kCompleteCaption = "完了";
inline constexpr const char* kRestartNote = "Windowsを再起動すると，セットアップが完了します．";
inline constexpr const char* kInformationCaption = "情報";
inline constexpr const char* kStartFailed =
    "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\rプログラム"
    "提供者へご報告ください．";
inline constexpr const char* kRebootRequest = "WINDOWS_REBOOT";
}  // namespace completion_text

// The optional [Title] keys of the script that describe the product in its uninstall entry, and
// the value of the entry each one becomes.
struct ProductValue {
  const char* ScriptKey;
  const char* EntryValue;
};
inline constexpr std::array<ProductValue, 3> kProductValues = {
    {{"Version", "DisplayVersion"}, {"Publisher", "Publisher"}, {"Url", "URLInfoAbout"}}};

// Copies SETUP.EXE from the program folder over UNORSET.EXE when it is strictly newer (a missing
// UNORSET.EXE is older than any), leaving the copy read-only. A copy that fails is reported as
// "<SetupFile> "; a missing SETUP.EXE copies nothing, and is reported only when there is no
// UNORSET.EXE either.
void CopyUninstaller(TfrmMain& main);

// The name of the uninstall entry: the first of [Title] UnSetupKey, the uninstall title and the
// program's own title that names one key right below the Uninstall branch and whose whole path
// the record keeps (see UsableEntryName).
std::string UninstallKeyName(TfrmMain& main);
// The same from the two texts.
std::string UninstallEntryName(std::string_view unSetupKey, std::string_view unSetupTitle);
// The folder of the installation the product's entry (the one this script registers) names,
// when it exists: its InstallLocation, or the folder of the record its command names; the
// program's own registry view first. An upgrade installs there, so one entry keeps naming one
// installation.
std::optional<std::string> InstalledFolder(TfrmMain& main);

// Whether name can be the entry's: not empty, no "\" (which would put the entry on the branch
// itself or below another key, where Add/Remove Programs does not look), and short enough for
// [UnSetupRegistryKey] Key to be read back whole.
bool UsableEntryName(std::string_view name);

// Puts the run's last entries into the record lists (CompleteRecordLists), reporting what they
// cannot keep.
void CompleteUninstallRecord(TfrmMain& main);

// Writes UNSETUP.INI in one piece, replacing an earlier one at once. The digest of the bytes
// written (Sha256Hex), or nullopt when it could not be written or the earlier one could not be
// replaced.
std::optional<std::string> WriteUninstallRecord(TfrmMain& main);

// The Add/Remove Programs entry under HKEY_LOCAL_MACHINE: the name, the command line that starts
// UNORSET.EXE on the record, the record's digest (which only administrators can change there, so
// the uninstaller can tell the record it wrote from one changed since), its icon, and no Modify
// or Repair. Returns the first registry error; the values after it are not written.
[[nodiscard]] Raised RegisterUninstall(TfrmMain& main, std::string_view recordDigest);

// The completion message and then, as [ExecuteFile] File says, the restart dialog (with a note
// when Windows is not restarted now) or a program started with its parameters.
void ShowCompletion(TfrmMain& main);

}  // namespace orv
