// The file association phase: for each [Relate] entry the user is asked, and on Yes a file class
// "<ext>_auto_file" with an icon and an "open" command is registered under HKEY_CLASSES_ROOT.
// Nothing is recorded for uninstall.
#pragma once

#include <string>
#include <string_view>

namespace orv {

class SetupRun;
class TfrmMain;

namespace relate_text {
inline constexpr const char* kSetting = "関連付けを設定しています．．．";
inline constexpr const char* kQuestionHead = "拡張子 *.";
inline constexpr const char* kQuestionExtensionEnd = " を";
inline constexpr const char* kQuestionTail = "に関連付けします．よろしいですか？";
inline constexpr const char* kCaption = "関連付けの確認";
inline constexpr const char* kDefaultDescriptionTail = " File";
}  // namespace relate_text

struct FileType {
  std::string Extension;    // without a leading "."
  std::string Description;  // "<ext> File" when the Name gives none
};

// A [Relate] Name value: the extension up to the first comma (one leading "." dropped, so ".txt"
// and "txt" are the same), the description after it.
FileType SplitFileType(std::string_view name);

// False when the run ended in the phase (the user aborted). A key or value that cannot be written
// raises the run's error, which ends the run.
bool RunAssociationPhase(SetupRun& run, TfrmMain& main);

}  // namespace orv
