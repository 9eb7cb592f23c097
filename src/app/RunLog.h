// The log a start writes when the command line asks for one (/LOG=file): UTF-8 lines, each with
// the local time, from the program's version and command line through every status text,
// question and answer, the failures, to the outcome and the exit code. Each entry is added to the
// file as it comes, so what a start did is there even when the process is ended.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/ForwardingPlatform.h"

namespace orv {

struct RunState;

// A message box's answer as a person reads it: "OK", "Cancel", "Yes", "No".
std::string AnswerText(int answer);

class RunLog {
 public:
  // path is taken relative to the current folder now: the uninstall later changes it. Nothing is
  // written yet: a start that another copy keeps from running adds to that copy's log.
  RunLog(Platform& platform, std::string_view path);

  // Starts the file afresh: this start runs.
  void Begin();
  // Adds an entry at the end of the file; a text of several lines is indented below its time.
  // Nothing is written through a link or over what is not a plain file: the uninstaller runs
  // with administrator rights, and the folder may be one that others can change.
  void Write(std::string_view text);
  // False once the file could not be written.
  bool written() const { return written_; }
  const std::string& path() const { return path_; }

  // The run's end: its failures and how it ended.
  void WriteOutcome(const RunState& state, int exitCode);

 private:
  bool mayWrite() const;

  Platform& platform_;
  std::string path_;
  bool written_ = true;
};

// The platform as it was, with every question and its answer, every message and every status
// text (the message area's) written to the log.
class LoggedPlatform : public ForwardingPlatform {
 public:
  LoggedPlatform(Platform& inner, RunLog& log) : ForwardingPlatform(inner), log_(log) {}

  int messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override;
  int restartDialog(const Form& owner) override;
  std::optional<std::string> browseForFolder(const Form& owner, std::string_view title,
                                             std::uint32_t flags) override;
  std::unique_ptr<FormView> createView(Form& form) override;

 private:
  RunLog& log_;
};

}  // namespace orv
