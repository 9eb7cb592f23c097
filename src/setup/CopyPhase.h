// The copy phase: the [CopyFile] files from the program folder to their destinations, expanding
// compressed ones, asking for the next disk where an entry says so, with the overwrite rule,
// the progress and the records for uninstall.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class SetupRun;
class TfrmMain;

namespace copy_text {
inline constexpr const char* kCopying = "ファイルをコピーしています．．．\rCopying -> ";
inline constexpr const char* kInsertDisk = "枚目のディスクに交換してください．";
inline constexpr const char* kDiskCaption = "ディスク交換";
inline constexpr const char* kFatalCaption = "致命的エラー";
inline constexpr const char* kFileExists = "このファイルは既に存在します．";
inline constexpr const char* kOverwriteQuestion = "上書きしてもよろしいですか？";
inline constexpr const char* kOverwriteCaption = "上書き確認";
}  // namespace copy_text

// At the start of a [CopyFile] value: ask for the next disk before this file.
inline constexpr std::string_view kDiskChangePrefix = "(Dch)";

// The share of copied bytes in percent, rounded down, within 0 to 100 for any sizes; 100 when
// there is nothing to copy.
int CopyPercentage(std::uint64_t copied, std::uint64_t total);

// "45%(3/10)"
std::string ProgressText(int percentage, std::size_t entry, std::size_t count);

// False when the run ended in the phase (disk change cancelled, or the user aborted).
bool RunCopyPhase(SetupRun& run, TfrmMain& main);

}  // namespace orv
