// The failure list at the end of a run: offered in a question, shown in the main window's memo
// until the user presses Continue.
#pragma once

#include <string_view>

namespace orv {

class Control;
class FailureList;
class TfrmMain;

namespace failure_text {
inline constexpr const char* kSomeFailed = "一部の処理に失敗しました．";
inline constexpr const char* kWarningCaption = "警告";
}  // namespace failure_text

// Pause between two looks at the Continue button while the list is shown, in milliseconds.
inline constexpr unsigned kFailureDisplayPoll = 200;

// Nothing when the list is empty. Otherwise asks question; on Yes shows the list in the readme
// frame under caption, hides startButton and waits, processing messages, until the user has
// pressed Continue (or the application is asked to quit); then the start button shows again and
// the frame hides.
void OfferFailureList(TfrmMain& main, const FailureList& failures, std::string_view question,
                      std::string_view caption, Control& startButton);

}  // namespace orv
