// A simulated Windows for host builds and tests. Drive letters map onto host folders under a
// root the test chooses; the file system behaves as Windows does where the program can tell:
// names match without regard to case, "\" separates (and "/" too), an existing folder gives
// error 183, only empty folders are removed, a read-only file is neither deleted nor overwritten
// (nor is a hidden or system one overwritten), a path with a final "\" names no file, paths past
// the classic length limits name nothing. Faults can be injected per operation and path. The
// clock is virtual: sleep advances it at once.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"
#include "common/sim/SimRegistry.h"

namespace orv {

class Control;

// Raised when the scripted user is asked for something the test did not script (an input while
// nothing is left to do, an unanswered question, a click on a hidden or disabled control). It
// is not a std::exception, so the program's error box never swallows it.
struct SimScriptError {
  std::string message;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
};

// What a run can change on the simulated Windows, to compare before and after: every folder and
// file (Windows paths, as the program named them) and every registry key and value.
struct SimSnapshot {
  std::set<std::string> folders;
  std::map<std::string, std::string> files;  // path: bytes
  std::set<std::string> registryKeys;        // "HKEY_CURRENT_USER\Software\..."
  std::map<std::pair<std::string, std::string>, RegistryValue> registryValues;  // (key, name)
};

class SimPlatform final : public Platform {
 public:
  // Drive C: maps onto root/C, which is created.
  explicit SimPlatform(std::filesystem::path root);
  ~SimPlatform() override;

  // --- Set-up for tests --------------------------------------------------------------------
  void mapDrive(char letter, std::filesystem::path hostFolder);
  // A network share \\server\share; shares that are not mapped do not exist.
  void mapShare(std::string_view server, std::string_view share, std::filesystem::path hostFolder);
  void setWindowsFolder(std::string path) { windowsFolder_ = std::move(path); }
  void setSystemFolder(std::string path) { systemFolder_ = std::move(path); }
  void setTempFolder(std::string path) { tempFolder_ = std::move(path); }
  void setProgramFilePath(std::string path) { programFilePath_ = std::move(path); }
  void setCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }
  // Which Windows the program runs on: 64-bit Windows with a 64-bit program (as set up), with a
  // 32-bit program (which, without asking for the other view, sees the 32-bit view of the
  // registry and finds <Windows>\SysWOW64 at <Windows>\System32, the 64-bit system folder at
  // <Windows>\Sysnative), or 32-bit Windows (one view).
  void setMachine(bool windows64, bool program64) {
    windows64_ = windows64;
    program64_ = program64 && windows64;
  }
  // Creates the folders a Windows has before any program runs: the Windows, system and temporary
  // folders, the program file's folder and the user's four shell folders.
  Status createSystemFolders();

  enum class Operation {
    kCopyFile,
    kDeleteFile,
    kSetAttributes,
    kReadFile,
    kWriteFile,
    kReplaceFile,
    kRenameFile,
    kExpandFile,
    kFileSize,
    kCreateFolder,
    kRemoveFolder,
    kDeleteAtRestart,
    kSetCurrentFolder,
    kCreateRegistryKey,
    kWriteRegistryValue,
    kDeleteRegistryKey,
  };
  // Special folders by CSIDL; the user's four start under C:\Users\User, those of all users
  // under C:\Users\Public and C:\ProgramData (the folders themselves are not made).
  void setSpecialFolder(int folderId, std::optional<std::string> path);
  // The next shell link objects cannot be made (with this COM result), or lack an interface.
  void failShellLinkObject(std::uint32_t result) { shellLinkFailure_ = result; }
  void failShellLinkInterface() { shellLinkInterfaceMissing_ = true; }
  // The system's text for an error code (none unless set).
  void setSystemMessage(std::uint32_t code, std::string text) {
    systemMessages_[code] = std::move(text);
  }
  // The answer of the next restart dialogs (0 unless set, as under Wine).
  void setRestartAnswer(int answer) { restartAnswer_ = answer; }
  int restartDialogs() const { return restartDialogs_; }
  struct StartedProgram {
    std::string program;
    std::string parameters;
  };
  // The shell's result for the programs started from now on (42, a success, unless set).
  void setProgramStartResult(std::intptr_t result) { programStartResult_ = result; }
  const std::vector<StartedProgram>& startedPrograms() const { return startedPrograms_; }
  struct LinkContent {
    std::string target;
    std::string workingFolder;
  };
  // What a link file the simulated shell saved points at; nullopt when it is no such file.
  std::optional<LinkContent> readShellLink(std::string_view path) const;

  // The next `times` calls of operation on path (either path of a copy or replace) fail with
  // error; times < 0 means every call. A shell link's save is a kWriteFile.
  void injectFault(Operation operation, std::string_view path, WinError error, int times = -1);
  // The call of a fallible operation with this number (counted from 1 over every operation that
  // can report a failure, in the order the program makes them) fails with error: a sweep over
  // whole runs fails each call in turn.
  void failCall(std::size_t number, WinError error) {
    failCallNumber_ = number;
    failCallError_ = error;
  }
  std::size_t fallibleCalls() const { return fallibleCalls_; }
  // The same for a registry operation on a key (as the program names it, root and path).
  void injectRegistryFault(Operation operation, RegistryRoot root, std::string_view path,
                           WinError error, int times = -1);
  // The size a directory search reports for a file, in place of its real one (a file of many
  // gigabytes without writing them).
  void reportSize(std::string_view path, std::uint64_t size);
  // The registry as REGEDIT4 text, for failure messages.
  std::string registryText() const;
  // Every folder, file and registry entry of the machine (mapped drives and shares).
  SimSnapshot snapshot() const;
  // Times the shell was told that file associations changed.
  int associationNotices() const { return associationNotices_; }

  // --- The scripted user ----------------------------------------------------------------------
  // The next thing the user does when the program waits for input.
  void userDoes(std::function<void()> action);
  // A click as a user makes it: only on a showing, enabled control.
  void userClicks(const Control& control);
  void userTypes(Control& control, std::string text);
  // Answers of the next question boxes, in order. Boxes with only an OK button need none.
  // meanwhile runs while the box is up, before the answer (the user changes a disk, say).
  void userAnswers(int button, std::function<void()> meanwhile = {});
  // Who answers the questions no scripted answer is left for (nobody unless set: an unexpected
  // question then fails the test).
  void answerQuestionsWith(std::function<int(const ShownMessage&)> answerer) {
    answerer_ = std::move(answerer);
  }
  void answerEveryQuestion(int button) {
    answerQuestionsWith([button](const ShownMessage&) { return button; });
  }
  // The next folder browser's outcome: a folder, or nullopt for Cancel.
  void userChoosesFolder(std::optional<std::string> folder);
  // Runs at every processing of pending messages (while a handler works); a hook that returns
  // true is removed.
  void whileWorking(std::function<bool()> hook);
  // A new start of the program on this machine: the scripted user's leftovers, the messages shown
  // and the forms closed so far, and any quit are forgotten.
  void startAfresh();
  // The user chooses Close on the application's task-bar button.
  void closeApplication();
  // A quit message arrives (another program, or the program's windows destroyed): the next
  // message processing reports it.
  void postQuit() { quitPending_ = true; }
  // The Windows session ends: the program is told at once.
  void endSession();
  const std::vector<ShownMessage>& shownMessages() const { return shownMessages_; }
  // What the next start of Windows deletes, in order, as the paths were given.
  const std::vector<std::string>& pendingDeletions() const { return pendingDeletions_; }
  // Forms whose windows were closed, in order.
  const std::vector<std::string>& closedForms() const { return closedForms_; }
  // How many forms were given a view (a window).
  int viewsCreated() const { return viewsCreated_; }
  void formClosed(const std::string& name) { closedForms_.push_back(name); }
  const Size& screenSize() const { return screenSize_; }
  void setScreenSize(Size size) { screenSize_ = size; }

  // A junction: the folder link leads to target (an existing folder); Windows follows it in every
  // path that passes through it.
  Status makeFolderLink(std::string_view link, std::string_view target);
  // A second name for an existing file (a hard link): both names are the same file.
  Status makeHardLink(std::string_view link, std::string_view target);
  // The short (8.3) name of an existing file or folder, which paths may then use for it.
  Status setShortName(std::string_view path, std::string_view shortName);

  // The host path a Windows path resolves to (for tests to inspect or prepare files).
  std::filesystem::path hostPath(std::string_view path) const;

  // --- Platform ----------------------------------------------------------------------------
  bool fileExists(std::string_view path) const override;
  Status copyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  Status deleteFile(std::string_view path) override;
  std::optional<std::uint32_t> fileAttributes(std::string_view path) const override;
  Status setFileAttributes(std::string_view path, std::uint32_t attributes) override;
  std::optional<std::int64_t> fileAge(std::string_view path) const override;
  std::optional<std::uint64_t> fileSize(std::string_view path) const override;
  std::optional<std::string> readFile(std::string_view path, std::uint64_t maxBytes) const override;
  Status writeFile(std::string_view path, std::string_view bytes) override;
  Status appendFile(std::string_view path, std::string_view bytes) override;
  Status createNewFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::uint32_t> linkCount(std::string_view path) const override;
  Status deleteExactly(std::string_view path) override;
  Status replaceFile(std::string_view from, std::string_view to) override;
  Status renameFile(std::string_view from, std::string_view to) override;
  std::optional<std::string> readFileHead(std::string_view path, std::size_t count) const override;
  Status expandFile(std::string_view source, std::string_view target) override;
  std::unique_ptr<HeldFile> holdFile(std::string_view path) const override;
  NewFile createFileWriter(std::string_view path, bool failIfExists) override;

  bool folderExists(std::string_view path) const override;
  std::optional<std::vector<std::string>> folderEntries(std::string_view path) const override;
  Status createFolder(std::string_view path) override;
  Status removeFolder(std::string_view path) override;
  Status deleteAtRestart(std::string_view path) override;
  Status setCurrentFolder(std::string_view path) override;
  std::string currentFolder() const override { return currentFolder_; }
  std::optional<std::string> longPathName(std::string_view path) const override;

  std::string windowsFolder() const override { return windowsFolder_; }
  std::string systemFolder() const override { return systemFolder_; }
  std::string tempFolder() const override { return tempFolder_; }
  std::string programFilePath() const override { return programFilePath_; }
  std::string commandLine() const override { return commandLine_; }
  std::unique_ptr<InstanceLock> claimNamedMutex(std::string_view name) override;
  bool windows64() const override { return windows64_; }
  bool program64() const override { return program64_; }

  std::optional<std::string> specialFolder(int folderId) const override;
  ShellLinkObject createShellLink() override;
  std::optional<std::string> shellLinkTarget(std::string_view path) const override;
  std::string systemMessage(std::uint32_t code) const override;
  int restartDialog(const Form&) override {
    ++restartDialogs_;
    return restartAnswer_;
  }
  std::intptr_t openProgram(const Form&, std::string_view program,
                            std::string_view parameters) override {
    startedPrograms_.push_back({std::string(program), std::string(parameters)});
    return sweepHit() ? 2 : programStartResult_;
  }

  Status createRegistryKey(RegistryHive hive, std::string_view path) override;
  Status writeRegistryValue(RegistryHive hive, std::string_view path, std::string_view name,
                            const RegistryValue& value) override;
  std::optional<RegistryValue> readRegistryValue(RegistryHive hive, std::string_view path,
                                                 std::string_view name) const override;
  bool registryKeyExists(RegistryHive hive, std::string_view path) const override;
  Status deleteRegistryKey(RegistryHive hive, std::string_view path) override;
  Status deleteRegistryValue(RegistryHive hive, std::string_view path,
                             std::string_view name) override;
  bool registryKeyEmpty(RegistryHive hive, std::string_view path) const override;
  void notifyAssociationsChanged() override { ++associationNotices_; }

  std::string upperCase(std::string_view text) const override;
  std::optional<std::string> toShiftJis(std::string_view text) const override;
  std::string fromShiftJis(std::string_view bytes) const override;

  void sleep(std::uint32_t milliseconds) override { clock_ += milliseconds; }

  void setApplicationTitle(std::string_view title) override { applicationTitle_ = title; }
  void setApplicationHandlers(ApplicationHandlers handlers) override {
    applicationHandlers_ = std::move(handlers);
  }
  const std::string& applicationTitle() const { return applicationTitle_; }
  std::unique_ptr<FormView> createView(Form& form) override;
  bool waitForInput() override;
  bool processMessages() override;
  void runMessageLoop() override {}
  int messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override;
  std::optional<std::string> browseForFolder(const Form& owner, std::string_view title,
                                             std::uint32_t flags) override;
  // Every character is half the font's height wide (a full-width one as wide as high).
  Size measureText(const Font& font, std::string_view text) const override;
  // The time all sleeps have waited on the virtual clock.
  std::uint64_t elapsedMilliseconds() const { return clock_; }
  // The local time, as set (the virtual clock does not move it).
  LocalTime localTime() const override { return localTime_; }
  void setLocalTime(LocalTime time) { localTime_ = time; }
  void beep() override { ++beeps_; }
  int beeps() const { return beeps_; }

 private:
  struct Resolved {
    std::filesystem::path host;    // where the path lives on the host
    std::string key;               // the absolute Windows path in upper case
    std::size_t length = 0;        // UTF-16 units of the absolute path, as Windows limits it
    bool endsInSeparator = false;  // names a folder only: a file is never named with a final "\"
    std::string longForm;          // the absolute path with the names as they are on the disk
    bool invalidName = false;      // a name holds a character no file or folder name may hold
    std::filesystem::path base;    // the host folder of the path's drive or share
  };
  struct Fault {
    Operation operation;
    std::string key;
    WinError error;
    int times;
  };
  // The host's text mappings (defined, with the destructor, where the host's are used).
  class Locale;
  static std::shared_ptr<Locale> MakeLocale();

  // The key the registry holds for a key seen in a view: in the 32-bit view of 64-bit Windows,
  // HKEY_LOCAL_MACHINE\SOFTWARE\<key> is SOFTWARE\Wow6432Node\<key>, and the class keys of COM
  // lie below a Wow6432Node of the classes.
  std::string viewedKey(RegistryHive hive, std::string_view path) const;
  // The fault key of a registry path.
  std::string registryFaultKey(RegistryRoot root, std::string_view path) const;
  std::optional<WinError> takeRegistryFault(Operation operation, RegistryRoot root,
                                            std::string_view path) const;
  // Tells the program of the quit, once.
  void quitArrived();

  // Nullopt when the drive is not mapped, or when the absolute path is longer than Windows takes
  // (the program is not long-path aware).
  std::optional<Resolved> resolve(std::string_view path) const;
  // The file a path names: nullopt when it names none (an unmapped or too long path, or one that
  // ends in a separator, which Windows refuses for files).
  std::optional<Resolved> resolveFile(std::string_view path) const;
  std::optional<WinError> takeFault(Operation operation, const std::optional<Resolved>& path) const;
  // Counts a fallible call; true when it is the one to fail.
  bool sweepHit() const;
  // Error of an operation whose target's folder is missing, or kErrorSuccess.
  static WinError missingParentError(const std::optional<Resolved>& path);
  // Resolves the target of a one-path operation; an injected fault, an unmapped drive or a
  // missing folder on the way fails it.
  Status begin(Operation operation, std::string_view path, Resolved& target) const;
  // The attributes of from now belong to to (as a copy or a move carries them).
  void carryAttributes(const std::filesystem::path& from, const std::filesystem::path& to);
  enum class Write { kCreateAlways, kAppend, kCreateNew };
  Status putBytes(std::string_view path, std::string_view bytes, Write mode);
  // Whether the entry itself, or a folder on its way, is a link.
  static bool LinkOnTheWay(const Resolved& target);
  std::uint32_t storedAttributes(const std::filesystem::path& host) const;
  bool isProtected(const std::filesystem::path& host) const;

  std::shared_ptr<Locale> locale_;  // shared: its deleter is made where it is complete
  std::map<char, std::filesystem::path> drives_;
  std::map<std::string, std::filesystem::path> shares_;  // by "\\SERVER\SHARE"
  std::string currentFolder_ = "C:\\";
  std::string windowsFolder_ = "C:\\WINDOWS";
  std::string systemFolder_ = "C:\\WINDOWS\\SYSTEM32";
  std::string tempFolder_ = "C:\\WINDOWS\\TEMP\\";
  std::string programFilePath_ = "C:\\SETUP\\SETUP.EXE";
  std::string commandLine_ = "C:\\SETUP\\SETUP.EXE";
  bool windows64_ = true;
  bool program64_ = true;
  std::uint64_t clock_ = 0;
  int beeps_ = 0;
  LocalTime localTime_{2026, 12, 8, 9, 30, 0, 0};
  // Attribute bits set on files (by host path); files without an entry are plain archive files.
  std::map<std::filesystem::path, std::uint32_t> attributes_;
  // Files held open for reading (holdFile), with how often: nothing writes or removes them.
  mutable std::map<std::filesystem::path, int> held_;
  bool held(const std::filesystem::path& host) const { return held_.contains(host); }
  mutable std::vector<Fault> faults_;
  mutable std::size_t fallibleCalls_ = 0;
  std::size_t failCallNumber_ = 0;
  WinError failCallError_ = kErrorSuccess;
  std::deque<std::function<void()>> userActions_;
  std::deque<std::pair<int, std::function<void()>>> answers_;
  std::function<int(const ShownMessage&)> answerer_;
  std::deque<std::optional<std::string>> folderChoices_;
  std::vector<std::function<bool()>> workHooks_;
  std::vector<ShownMessage> shownMessages_;
  std::vector<std::string> pendingDeletions_;
  std::vector<std::string> closedForms_;
  int viewsCreated_ = 0;
  Size screenSize_{1024, 768};
  std::map<std::string, std::uint64_t> reportedSizes_;  // by key
  std::map<std::string, std::string> shortNames_;       // folder key + short name: the long name
  std::unique_ptr<SimRegistry> registry_;
  int associationNotices_ = 0;
  std::map<int, std::string> specialFolders_;
  std::optional<std::uint32_t> shellLinkFailure_;
  bool shellLinkInterfaceMissing_ = false;
  std::map<std::uint32_t, std::string> systemMessages_;
  int restartAnswer_ = 0;
  int restartDialogs_ = 0;
  std::intptr_t programStartResult_ = 42;
  std::vector<StartedProgram> startedPrograms_;
  std::string applicationTitle_;
  ApplicationHandlers applicationHandlers_;
  bool quitPending_ = false;
  bool quitArrived_ = false;
  std::shared_ptr<std::set<std::string>> mutexNames_ = std::make_shared<std::set<std::string>>();
};

}  // namespace orv
