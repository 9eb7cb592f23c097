#include "check/DryRun.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

#include "app/ProgramStart.h"
#include "app/RunLog.h"
#include "app/Unattended.h"
#include "check/Json.h"
#include "common/TextEncoding.h"
#include "common/TextUtils.h"
#include "common/sim/HostPath.h"
#include "common/sim/SimPlatform.h"
#include "common/sim/SimRoot.h"
#include "setup/Completion.h"
#include "setup/CopyPhase.h"

namespace fs = std::filesystem;

namespace orv {

namespace {

constexpr const char* kProgramFolder = "C:\\SETUP";
constexpr const char* kProgramFile = "C:\\SETUP\\SETUP.EXE";
constexpr const char* kUninstallerFile = "C:\\WINDOWS\\UNORSET.EXE";
constexpr const char* kProgramFilesFolder = "C:\\Program Files";
// Times the dry run tries to leave a program that waits for input after its run.
constexpr int kLeaveAttempts = 3;

// --- The report: parts of named facts and sections of rows, printed as text or as JSON --------

struct Field {
  std::string Name;
  std::string Value;
  bool Number = false;
};
using Row = std::vector<Field>;

struct Section {
  std::string Name;
  std::vector<Row> Rows;
};

struct Part {
  std::string Title;  // the text heading
  std::string Key;    // the JSON member
  std::vector<Field> Facts;
  std::vector<Section> Sections;
};

// A value of several lines (CR, LF or CR LF) as indented lines.
void PrintLines(std::ostream& out, std::string_view text, std::string_view indent) {
  std::string line;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') {
      line += text[i];
      continue;
    }
    if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (i < text.size() || !line.empty()) out << indent << line << '\n';
    line.clear();
  }
}

void PrintText(std::ostream& out, const std::vector<Part>& parts) {
  for (const Part& part : parts) {
    out << part.Title << '\n';
    for (const Field& fact : part.Facts)
      out << "  " << fact.Name << ": " << fact.Value << '\n';
    for (const Section& section : part.Sections) {
      out << "  " << section.Name << ":" << (section.Rows.empty() ? " none" : "") << '\n';
      for (const Row& row : section.Rows) {
        out << "    " << row.front().Value << '\n';
        for (std::size_t i = 1; i < row.size(); ++i) {
          if (row[i].Value.find_first_of("\r\n") == std::string::npos) {
            out << "      " << row[i].Name << ": " << row[i].Value << '\n';
          } else {
            out << "      " << row[i].Name << ":\n";
            PrintLines(out, row[i].Value, "        ");
          }
        }
      }
    }
  }
}

std::string JsonField(const Field& field) {
  return JsonQuoted(field.Name) + ":" + (field.Number ? field.Value : JsonQuoted(field.Value));
}

void PrintJson(std::ostream& out, const std::vector<Part>& parts, int exitCode) {
  out << "{";
  for (const Part& part : parts) {
    out << JsonQuoted(part.Key) << ":{";
    const char* separator = "";
    for (const Field& fact : part.Facts) {
      out << separator << JsonField(fact);
      separator = ",";
    }
    for (const Section& section : part.Sections) {
      out << separator << JsonQuoted(section.Name) << ":[";
      for (std::size_t r = 0; r < section.Rows.size(); ++r) {
        out << (r > 0 ? "," : "") << "{";
        for (std::size_t f = 0; f < section.Rows[r].size(); ++f)
          out << (f > 0 ? "," : "") << JsonField(section.Rows[r][f]);
        out << "}";
      }
      out << "]";
      separator = ",";
    }
    out << "},";
  }
  out << "\"exitCode\":" << exitCode << "}\n";
}

// --- Reading the machine -----------------------------------------------------------------------

std::string TypeName(RegistryType type) {
  switch (type) {
    case RegistryType::kString:
      return "REG_SZ";
    case RegistryType::kExpandString:
      return "REG_EXPAND_SZ";
    case RegistryType::kDword:
      break;
  }
  return "REG_DWORD";
}

std::string Data(const RegistryValue& value) {
  if (value.type != RegistryType::kDword) return value.text;
  char number[32];
  std::snprintf(number, sizeof number, "0x%08x (%u)", value.number, value.number);
  return number;
}

std::string ValueName(const std::string& name) {
  return name.empty() ? "(default)" : name;
}

// The answer that agrees (or declines) in a box of these buttons.
int Answer(std::uint32_t flags, bool yes) {
  if ((flags & 0x0F) == kMbOkCancel) return yes ? kIdOk : kIdCancel;
  return yes ? kIdYes : kIdNo;
}

// What one run changed: the later snapshot's entries that are new or different.
struct Changes {
  std::vector<std::string> Folders;
  std::vector<std::pair<std::string, std::string>> Files;  // path, bytes
  std::vector<std::string> RegistryKeys;
  std::vector<std::pair<std::pair<std::string, std::string>, RegistryValue>> RegistryValues;
};

struct RunOutcome {
  bool Completed = false;
  int ExitCode = 0;  // an unattended start's
  std::vector<std::string> Notes;
  std::vector<Row> Messages;
  std::vector<Row> Failures;
  std::string SetupFolder;
  std::string RecordPath;
  OptionSnapshot Options;
};

class DryRun {
 public:
  DryRun(const DryRunOptions& options, const fs::path& root) : options_(options), sim_(root) {
    (void)sim_.createSystemFolders();
    // Every Windows has it; a run that made it would seem to leave it behind.
    (void)sim_.createFolderPath(kProgramFilesFolder);
    sim_.answerQuestionsWith([this](const ShownMessage& shown) { return answer(shown); });
  }

  // Lays disk 1 into the program folder; false (with the reason in out) when it cannot run.
  bool prepare(std::ostream& out) {
    for (const fs::path& disk : options_.Disks) {
      if (!fs::is_directory(disk)) {
        out << "orvcheck: no disk folder " << Utf8(disk) << '\n';
        return false;
      }
    }
    if (options_.Disks.empty()) {
      out << "orvcheck: no disk folder given\n";
      return false;
    }
    insertDisk(1);
    if (!sim_.fileExists(std::string(kProgramFolder) + "\\" + kSetupInfoFileName)) {
      out << "orvcheck: no " << kSetupInfoFileName << " in " << Utf8(options_.Disks[0]) << '\n';
      return false;
    }
    return true;
  }

  RunOutcome install() {
    sim_.setProgramFilePath(kProgramFile);
    if (options_.Unattended) {
      // A set copied into one folder: each later disk's files over the earlier ones'.
      for (std::size_t disk = 2; disk <= options_.Disks.size(); ++disk)
        copyDisk(static_cast<int>(disk));
      return runUnattended(std::string(kProgramFile) + " /S" +
                           (options_.Folder ? " /D=" + *options_.Folder : ""));
    }
    sim_.setCommandLine(kProgramFile);
    return run([this](ProgramStart& start, RunOutcome& outcome) {
      TfrmMain& main = start.frmMain;
      if (main.btnContinue.showing() && main.btnContinue.enabled())
        main.deliverClick(main.btnContinue);
      if (options_.Folder) {
        if (main.txtFolder.enabled()) {
          main.txtFolder.userChangedText(*options_.Folder);
        } else {
          outcome.Notes.push_back("the disk does not let the setup folder be changed");
        }
      }
      const std::pair<Control*, bool> boxes[] = {{&main.chkOverWrite, options_.Boxes.OverWrite},
                                                 {&main.chkSCutDesktop, options_.Boxes.Desktop},
                                                 {&main.chkSCutStartMenu, options_.Boxes.StartMenu},
                                                 {&main.chkSCutStartUp, options_.Boxes.StartUp},
                                                 {&main.chkSCutSendTo, options_.Boxes.SendTo}};
      for (const auto& [box, checked] : boxes) {
        if (!checked && box->enabled()) box->userChangedCheck(false);
      }
      press(main, main.btnSetup, outcome);
    });
  }

  RunOutcome uninstall(const std::string& record) {
    sim_.setProgramFilePath(kUninstallerFile);
    if (options_.Unattended)
      return runUnattended(std::string(kUninstallerFile) + " \"" + record + "\" /S");
    sim_.setCommandLine(std::string(kUninstallerFile) + " \"" + record + "\"");
    return run([this](ProgramStart& start, RunOutcome& outcome) {
      press(start.frmMain, start.frmMain.btnUnSetup, outcome);
    });
  }

  SimSnapshot snapshot() const { return sim_.snapshot(); }
  SimPlatform& sim() { return sim_; }

 private:
  // One start of the program: the user does act once the window waits, questions are answered
  // as the options say, a failure list is closed, and a program still open at the end is left.
  template <typename Act>
  RunOutcome run(const Act& act) {
    sim_.startAfresh();
    answers_.clear();
    leaving_ = false;
    ProgramStart start(sim_);
    RunOutcome outcome;
    sim_.whileWorking([&start] {
      if (start.frmMain.btnCloseErrorLog.showing())
        start.frmMain.deliverClick(start.frmMain.btnCloseErrorLog);
      return false;
    });
    sim_.userDoes([&] { act(start, outcome); });
    for (int attempt = 0; attempt < kLeaveAttempts; ++attempt)
      sim_.userDoes([&] { leave(start.frmMain, outcome); });
    try {
      start.frmBack.show(ShowMode::kMaximized);
    } catch (const SimScriptError&) {
      outcome.Notes.push_back("the program did not end when the dry run left it");
    }
    for (const std::string& note : diskNotes_)
      outcome.Notes.push_back(note);
    diskNotes_.clear();
    std::size_t next = 0;
    for (const ShownMessage& shown : sim_.shownMessages()) {
      Row row = {{"caption", shown.caption}, {"text", shown.text}};
      if ((shown.flags & 0x0F) != kMbOk && next < answers_.size())
        row.push_back({"answer", AnswerText(answers_[next++])});
      outcome.Completed = outcome.Completed || shown.caption == completion_text::kCompleteCaption;
      outcome.Messages.push_back(std::move(row));
    }
    outcome.Completed = outcome.Completed && !leaving_;
    collect(start.runState, outcome);
    sim_.startAfresh();  // the scripted user's leftovers refer to this start's forms
    return outcome;
  }

  // One unattended start of the program with this command line.
  RunOutcome runUnattended(const std::string& commandLine) {
    sim_.startAfresh();
    sim_.setCommandLine(commandLine);
    UnattendedPlatform quiet(sim_, nullptr);
    RunOutcome outcome;
    {
      ProgramStart start(quiet);
      outcome.ExitCode = RunUnattended(start, ReadProgramArguments(commandLine), nullptr);
      outcome.Completed =
          start.runState.End == RunEnd::kCompleted || start.runState.End == RunEnd::kRestartNeeded;
      collect(start.runState, outcome);
    }
    for (const UnattendedPlatform::Answered& box : quiet.answered()) {
      Row row = {{"caption", box.Caption}, {"text", box.Text}};
      if ((box.Flags & 0x0F) != kMbOk) row.push_back({"answer", AnswerText(box.Answer)});
      outcome.Messages.push_back(std::move(row));
    }
    return outcome;
  }

  static void collect(const RunState& state, RunOutcome& outcome) {
    for (const std::string& line : SplitLines(state.Failures.FailureText)) {
      if (!line.empty()) outcome.Failures.push_back({{"failure", line}});
    }
    outcome.SetupFolder = state.SetupFolderPath;
    outcome.RecordPath = state.UninstallInfoPath;
    outcome.Options = state.Options;
  }

  void press(TfrmMain& main, const Control& button, RunOutcome& outcome) {
    if (button.showing() && button.enabled()) {
      main.deliverClick(button);
    } else {
      outcome.Notes.push_back("the run could not be started");
    }
  }

  // Abort where a run still offers it, else Exit; the questions this asks are answered Yes.
  void leave(TfrmMain& main, RunOutcome& outcome) {
    if (!leaving_) outcome.Notes.push_back("the program still waited for the user after its run");
    leaving_ = true;
    for (Control* button : {&main.btnAbort, &main.btnEnd}) {
      if (button->showing() && button->enabled()) {
        main.deliverClick(*button);
        return;
      }
    }
  }

  int answer(const ShownMessage& shown) {
    const int answer = shown.caption == copy_text::kDiskCaption
                           ? changeDisk(shown.text)
                           : Answer(shown.flags, leaving_ || options_.AnswerYes);
    answers_.push_back(answer);
    return answer;
  }

  // The disk the question asks for goes into the program folder; Cancel when it was not given,
  // or when it is in already and still lacks the file (the copy phase would ask forever).
  int changeDisk(std::string_view question) {
    int number = 0;
    std::from_chars(question.data(), question.data() + question.size(), number);
    const std::string disk = "disk " + std::to_string(number);
    if (number < 1 || static_cast<std::size_t>(number) > options_.Disks.size()) {
      diskNotes_.push_back(disk + " was asked for but not given: the question was cancelled");
      return kIdCancel;
    }
    if (number == diskInserted_) {
      diskNotes_.push_back(disk + " lacks the file it was asked for: the question was cancelled");
      return kIdCancel;
    }
    insertDisk(number);
    return kIdOk;
  }

  // The program folder holds a copy of the disk, never the author's folder itself.
  void insertDisk(int number) {
    const fs::path folder = sim_.hostPath(kProgramFolder);
    for (const auto& entry : fs::directory_iterator(folder))
      fs::remove_all(entry.path());
    copyDisk(number);
    diskInserted_ = number;
  }

  void copyDisk(int number) {
    CopyHostTree(options_.Disks[static_cast<std::size_t>(number - 1)],
                 sim_.hostPath(kProgramFolder));
  }

  const DryRunOptions& options_;
  SimPlatform sim_;
  std::vector<int> answers_;  // the answers given, in the order of the questions
  std::vector<std::string> diskNotes_;
  int diskInserted_ = 0;
  bool leaving_ = false;
};

// --- From snapshots to the report ----------------------------------------------------------

class Reporter {
 public:
  explicit Reporter(SimPlatform& sim) : sim_(sim) {}

  // What after holds that before did not, or held otherwise; the disk in the program folder is
  // left out.
  Changes changes(const SimSnapshot& before, const SimSnapshot& after) const {
    Changes changes;
    for (const std::string& folder : after.folders) {
      if (!before.folders.contains(folder) && !onDisk(folder)) changes.Folders.push_back(folder);
    }
    for (const auto& [path, bytes] : after.files) {
      const auto earlier = before.files.find(path);
      if ((earlier == before.files.end() || earlier->second != bytes) && !onDisk(path))
        changes.Files.emplace_back(path, bytes);
    }
    for (const std::string& key : after.registryKeys) {
      if (!before.registryKeys.contains(key)) changes.RegistryKeys.push_back(key);
    }
    for (const auto& [where, value] : after.registryValues) {
      const auto earlier = before.registryValues.find(where);
      if (earlier == before.registryValues.end() || !(earlier->second == value))
        changes.RegistryValues.emplace_back(where, value);
    }
    return changes;
  }

  // Folders, files, shortcuts, registry values and associations the install made.
  std::vector<Section> installed(const Changes& changes) const {
    Section folders{"folders", {}}, files{"files", {}}, shortcuts{"shortcuts", {}};
    Section registry{"registry", {}}, associations{"associations", {}};
    for (const std::string& folder : changes.Folders)
      folders.Rows.push_back({{"path", folder}});
    for (const auto& [path, bytes] : changes.Files) {
      if (const auto link = sim_.readShellLink(path)) {
        shortcuts.Rows.push_back(
            {{"link", path}, {"target", link->target}, {"working folder", link->workingFolder}});
      } else {
        files.Rows.push_back({{"path", path}, {"size", std::to_string(bytes.size()), true}});
      }
    }
    for (const auto& [where, value] : changes.RegistryValues) {
      Section& section = isAssociation(where.first) ? associations : registry;
      section.Rows.push_back({{"key", where.first},
                              {"name", ValueName(where.second)},
                              {"type", TypeName(value.type)},
                              {"data", Data(value)}});
    }
    return {folders, files, shortcuts, registry, associations};
  }

  // What the uninstall left: new keys whole, and values only where their key was there before.
  std::vector<Section> leftBehind(const Changes& changes) const {
    Section folders{"folders", {}}, files{"files", {}}, keys{"registry keys", {}};
    Section values{"registry values", {}};
    for (const std::string& folder : changes.Folders)
      folders.Rows.push_back({{"path", folder}});
    for (const auto& [path, bytes] : changes.Files) {
      if (sim_.upperCase(path) != kUninstallerFile) files.Rows.push_back({{"path", path}});
    }
    for (const std::string& key : changes.RegistryKeys)
      keys.Rows.push_back({{"key", key}});
    for (const auto& [where, value] : changes.RegistryValues) {
      if (std::ranges::find(changes.RegistryKeys, where.first) == changes.RegistryKeys.end())
        values.Rows.push_back({{"key", where.first}, {"name", ValueName(where.second)}});
    }
    return {folders, files, keys, values};
  }

  // The record as the uninstall reads it, in UTF-8.
  Section record(const std::string& path) const {
    Section section{"record", {}};
    if (const auto bytes = sim_.readFile(path, 1 << 20)) {
      const FileEncoding encoding = DetectEncoding(*bytes);
      section.Rows.push_back(
          {{"path", path},
           {"text", DecodeText(sim_, encoding,
                               std::string_view(*bytes).substr(ByteOrderMark(encoding).size()))}});
    }
    return section;
  }

 private:
  bool onDisk(const std::string& path) const {
    const std::string upper = sim_.upperCase(path);
    return upper == kProgramFolder || upper.starts_with(std::string(kProgramFolder) + "\\");
  }
  bool isAssociation(const std::string& key) const {
    return sim_.upperCase(key).find("\\SOFTWARE\\CLASSES\\") != std::string::npos;
  }

  SimPlatform& sim_;
};

std::vector<Section> RunSections(const RunOutcome& outcome) {
  std::vector<Section> sections;
  Section notes{"notes", {}};
  for (const std::string& note : outcome.Notes)
    notes.Rows.push_back({{"note", note}});
  sections.push_back(std::move(notes));
  sections.push_back({"failures", outcome.Failures});
  sections.push_back({"messages", outcome.Messages});
  return sections;
}

int DryRunIn(const fs::path& root, const DryRunOptions& options, std::ostream& out) {
  DryRun dryRun(options, root);
  if (!dryRun.prepare(out)) return 2;
  const Reporter reporter(dryRun.sim());

  const SimSnapshot before = dryRun.snapshot();
  const RunOutcome setup = dryRun.install();
  const SimSnapshot installed = dryRun.snapshot();
  Part setupPart{"setup",
                 "setup",
                 {{"answers", options.Unattended  ? "unattended"
                              : options.AnswerYes ? "Yes"
                                                  : "No"},
                  {"folder", setup.SetupFolder},
                  {"options", OptionsText(setup.Options)},
                  {"result", setup.Completed ? "completed" : "ended early"}},
                 reporter.installed(reporter.changes(before, installed))};
  const Section record = reporter.record(setup.RecordPath);
  setupPart.Sections.push_back(record);
  for (Section& section : RunSections(setup))
    setupPart.Sections.push_back(std::move(section));

  if (options.Unattended) setupPart.Facts.push_back({"exit code", std::to_string(setup.ExitCode)});
  RunOutcome uninstall;
  if (!record.Rows.empty()) {
    uninstall = dryRun.uninstall(setup.RecordPath);
  } else {
    uninstall.Notes.push_back("no uninstall record was written: the uninstall could not run");
  }
  Part uninstallPart{"uninstall",
                     "uninstall",
                     {{"result", uninstall.Completed ? "completed" : "ended early"}},
                     RunSections(uninstall)};
  if (options.Unattended) {
    uninstallPart.Facts.push_back({"exit code", std::to_string(uninstall.ExitCode)});
  }

  Part leftPart{"left behind after uninstall",
                "leftBehind",
                {},
                reporter.leftBehind(reporter.changes(before, dryRun.snapshot()))};
  if (dryRun.sim().fileExists(kUninstallerFile)) {
    leftPart.Facts.push_back(
        {"uninstaller", std::string(kUninstallerFile) + " stays for every product it uninstalls"});
  }
  bool clean = setup.Completed && uninstall.Completed && setup.Failures.empty() &&
               uninstall.Failures.empty();
  for (const Section& section : leftPart.Sections)
    clean = clean && section.Rows.empty();

  const std::vector<Part> parts = {setupPart, uninstallPart, leftPart};
  const int exitCode = clean ? 0 : 1;
  if (options.Json) {
    PrintJson(out, parts, exitCode);
  } else {
    PrintText(out, parts);
  }
  return exitCode;
}

}  // namespace

int RunDryRun(const DryRunOptions& options, std::ostream& out) {
  try {
    const SimRoot root;
    return DryRunIn(root.path(), options, out);
  } catch (const fs::filesystem_error& error) {
    // A disk that cannot be read, or no room for the simulated Windows.
    out << "orvcheck: " << error.what() << '\n';
    return 2;
  }
}

}  // namespace orv
