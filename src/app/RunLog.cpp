#include "app/RunLog.h"

#include <algorithm>

#include "common/Form.h"
#include "common/ResolvedPath.h"
#include "common/TextUtils.h"
#include "record/RecordTrust.h"
#include "setup/RunState.h"

namespace orv {

namespace {

std::string Digits(int number, std::size_t width) {
  std::string text = std::to_string(number);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

std::string TimeText(const LocalTime& t) {
  return Digits(t.year, 4) + "-" + Digits(t.month, 2) + "-" + Digits(t.day, 2) + " " +
         Digits(t.hour, 2) + ":" + Digits(t.minute, 2) + ":" + Digits(t.second, 2) + "." +
         Digits(t.millisecond, 3);
}

}  // namespace

std::string AnswerText(int answer) {
  switch (answer) {
    case kIdOk:
      return "OK";
    case kIdCancel:
      return "Cancel";
    case kIdYes:
      return "Yes";
    case kIdNo:
      return "No";
    default:
      return std::to_string(answer);
  }
}

namespace {

const char* EndText(RunEnd end) {
  switch (end) {
    case RunEnd::kNotStarted:
      return "no run started";
    case RunEnd::kWorking:
      return "the run was ended by an error or from outside";
    case RunEnd::kStopped:
      return "the run stopped before installing anything";
    case RunEnd::kDiskMissing:
      return "the run ended: a disk was missing";
    case RunEnd::kCompleted:
      return "the run completed";
    case RunEnd::kRestartNeeded:
      return "the run completed; a restart of Windows completes it";
  }
  return "";
}

// The message area's text is what the program tells of its work.
class LoggedView : public FormView {
 public:
  LoggedView(std::unique_ptr<FormView> inner, RunLog& log) : inner_(std::move(inner)), log_(log) {}

  void changed(const Control* control, Property property) override {
    if (control != nullptr && property == Property::kCaption && control->name() == "lblMessage" &&
        !control->caption().empty()) {
      log_.Write("status: " + control->caption());
    }
    inner_->changed(control, property);
  }
  void show(ShowMode mode) override { inner_->show(mode); }
  void hide() override { inner_->hide(); }
  void close() override { inner_->close(); }
  void repaint(const Control& control) override { inner_->repaint(control); }

 private:
  std::unique_ptr<FormView> inner_;
  RunLog& log_;
};

}  // namespace

RunLog::RunLog(Platform& platform, std::string_view path)
    : platform_(platform),
      path_(ResolvePath(path, platform.currentFolder()).value_or(std::string(path))) {}

bool RunLog::mayWrite() const {
  return MayWriteFileAt(platform_, path_);
}

void RunLog::Begin() {
  // Started afresh without writing through what is there: it goes first, as itself.
  if (!mayWrite()) {
    written_ = false;
    return;
  }
  const Status cleared = platform_.deleteExactly(path_);
  written_ = (cleared || cleared.error() == kErrorFileNotFound) &&
             platform_.appendFile(path_, "").succeeded();
}

void RunLog::Write(std::string_view text) {
  const std::string time = TimeText(platform_.localTime());
  const std::string indent(time.size() + 2, ' ');
  std::string entry = time + "  ";
  // Message texts break lines with CR, CR LF or LF.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      entry += "\r\n" + indent;
    } else {
      entry += text[i];
    }
  }
  written_ = mayWrite() && platform_.appendFile(path_, entry + "\r\n").succeeded() && written_;
}

void RunLog::WriteOutcome(const RunState& state, int exitCode) {
  const std::vector<std::string> kept = SplitLines(state.Kept.FailureText);
  for (const std::string& line : SplitLines(state.Failures.FailureText)) {
    if (!line.empty() && std::ranges::find(kept, line) == kept.end()) Write("failure: " + line);
  }
  for (const std::string& line : kept) {
    if (!line.empty()) Write("stays, as an answer keeps it: " + line);
  }
  if (state.SetupFolderNotMade) Write("the setup folder could not be made");
  Write(std::string(EndText(state.End)) + "; " +
        std::to_string(state.Failures.FailureCount - state.KeptFailures) + " failures; exit code " +
        std::to_string(exitCode));
}

int LoggedPlatform::messageBox(std::string_view text, std::string_view caption,
                               std::uint32_t flags) {
  const bool question = (flags & 0x0F) != kMbOk;
  const std::string shown = "[" + std::string(caption) + "] " + std::string(text);
  log_.Write((question ? "question: " : "message: ") + shown);
  const int answer = ForwardingPlatform::messageBox(text, caption, flags);
  if (question) log_.Write("answer: " + AnswerText(answer));
  return answer;
}

int LoggedPlatform::restartDialog(const Form& owner) {
  log_.Write("question: restart Windows now?");
  const int answer = ForwardingPlatform::restartDialog(owner);
  log_.Write("answer: " + (answer == 0 ? std::string("(not told)") : AnswerText(answer)));
  return answer;
}

std::optional<std::string> LoggedPlatform::browseForFolder(const Form& owner,
                                                           std::string_view title,
                                                           std::uint32_t flags) {
  auto chosen = ForwardingPlatform::browseForFolder(owner, title, flags);
  log_.Write("folder chosen: " + chosen.value_or("(cancelled)"));
  return chosen;
}

std::unique_ptr<FormView> LoggedPlatform::createView(Form& form) {
  return std::make_unique<LoggedView>(ForwardingPlatform::createView(form), log_);
}

}  // namespace orv
