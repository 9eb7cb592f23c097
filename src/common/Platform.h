// The operations the program takes from Windows. Engine and shell code reach the operating system
// only through this interface: the win32 implementation makes the real calls, the sim
// implementation simulates Windows for host builds and tests.
//
// Every text is UTF-8; paths are Windows paths with "\" separators. Operations that can fail
// return a Status carrying the Windows error code, so callers can tell "already exists" (183)
// from real failures exactly as the Win32 calls report them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/View.h"
#include "common/WinError.h"

namespace orv {

// Message box flags and answers (the Win32 values).
inline constexpr std::uint32_t kMbOk = 0x00;
inline constexpr std::uint32_t kMbOkCancel = 0x01;
inline constexpr std::uint32_t kMbYesNo = 0x04;
inline constexpr std::uint32_t kMbIconStop = 0x10;
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
inline constexpr std::uint32_t kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Folder browser flag: only file-system folders can be chosen.
inline constexpr std::uint32_t kBifReturnOnlyFsDirs = 0x0001;

// Windows file attribute bits the program looks at.
namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x01;
inline constexpr std::uint32_t kHidden = 0x02;
inline constexpr std::uint32_t kSystem = 0x04;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kDevice = 0x40;
inline constexpr std::uint32_t kNormal = 0x80;
// A junction, a mount point or a symbolic link: opening the path leads somewhere else.
inline constexpr std::uint32_t kReparsePoint = 0x400;
}  // namespace attr

// Holds a claimed single-instance name; the name is free again when this is destroyed.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

// What the program answers when its application window (the task-bar button) is told something
// from outside.
struct ApplicationHandlers {
  // The user chose Close on the task-bar button (or another program asked the window to close).
  std::function<void()> closeRequested;
  // The application is asked to quit: a quit message, or the end of the Windows session, after
  // which the process may be ended as soon as this returns. Called once, before message
  // processing reports the quit.
  std::function<void()> quitting;
};

// A shell link (.lnk) being made: its target and working folder are set, then it is saved.
class ShellLink {
 public:
  virtual ~ShellLink() = default;
  virtual void setTarget(std::string_view path) = 0;
  virtual void setWorkingFolder(std::string_view path) = 0;
  // Writes the link file (replacing one that is there).
  virtual Status save(std::string_view linkPath) = 0;
};

// A file held open for reading: while it is held no one can write, rename or delete it, so what
// was read (and checked) once is what is read again.
class HeldFile {
 public:
  virtual ~HeldFile() = default;
  virtual std::uint64_t size() const = 0;
  // Fills into from offset on; false when not all of it can be read.
  virtual bool read(std::uint64_t offset, std::span<char> into) const = 0;
};

// A file being written in pieces. Dropped before it is finished, the file is deleted.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  virtual Status write(std::string_view bytes) = 0;
  // Gives the file its last-write time (a FILETIME count of 100 ns since 1601) and closes it.
  virtual Status finish(std::uint64_t lastWriteTime) = 0;
};

// A file made for writing, or why it could not be.
struct NewFile {
  std::unique_ptr<FileWriter> writer;
  Status status;
};

// The shell's link object, or why there is none.
struct ShellLinkObject {
  std::unique_ptr<ShellLink> link;
  std::uint32_t creationError = 0;  // the COM result when the object could not be created
  bool interfaceMissing = false;    // the object lacks the link or the file interface
};

// Shell special folders (CSIDL values) the program places shortcuts in.
namespace csidl {
inline constexpr int kDesktop = 0;
inline constexpr int kPrograms = 2;
inline constexpr int kStartup = 7;
inline constexpr int kSendTo = 9;
// The same folders of all users.
inline constexpr int kCommonPrograms = 0x17;
inline constexpr int kCommonStartup = 0x18;
inline constexpr int kCommonDesktop = 0x19;
// The user's profile folder, which holds the user's shell folders.
inline constexpr int kProfile = 0x28;
}  // namespace csidl

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// The registry views of 64-bit Windows: its own 64-bit view, and the 32-bit view that 32-bit
// programs see (HKEY_LOCAL_MACHINE\SOFTWARE lies below Wow6432Node there, and so do some keys of
// the classes). kProgram is the view the program sees without asking for one. 32-bit Windows has
// one view, whichever is asked for.
enum class RegistryView { kProgram, k64, k32 };

// A root key as seen in a view; a root alone is seen in the program's view.
struct RegistryHive {
  constexpr RegistryHive(RegistryRoot rootKey, RegistryView seenIn = RegistryView::kProgram)
      : root(rootKey), view(seenIn) {}
  RegistryRoot root;
  RegistryView view;
};

// The registry value types the program writes.
enum class RegistryType : std::uint32_t { kString = 1, kExpandString = 2, kDword = 4 };

struct RegistryValue {
  RegistryType type = RegistryType::kString;
  std::string text;          // kString, kExpandString
  std::uint32_t number = 0;  // kDword
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// A local date and time, as the system clock tells it.
struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Files -------------------------------------------------------------------------------
  // True for an existing file (not a folder).
  virtual bool fileExists(std::string_view path) const = 0;
  virtual Status copyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
  virtual Status deleteFile(std::string_view path) = 0;
  // Attribute bits, or nullopt when nothing is at the path.
  virtual std::optional<std::uint32_t> fileAttributes(std::string_view path) const = 0;
  virtual Status setFileAttributes(std::string_view path, std::uint32_t attributes) = 0;
  // Takes the read-only attribute off a file and keeps the others; a folder, a missing file or
  // a file that is not read-only is left as it is. Best effort: the caller's next step reports.
  void clearReadOnly(std::string_view path);
  // Last-write time in two-second steps (a count since 1601), found by a directory search: a later
  // file has a larger age, for any date. Nullopt only when the file is missing.
  virtual std::optional<std::int64_t> fileAge(std::string_view path) const = 0;
  // Size in bytes, found by a directory search; nullopt when the file is missing.
  virtual std::optional<std::uint64_t> fileSize(std::string_view path) const = 0;
  // The whole content of a file, or nullopt when it is missing, unreadable or larger than
  // maxBytes (text files read whole are bounded so hostile input cannot exhaust memory).
  virtual std::optional<std::string> readFile(std::string_view path,
                                              std::uint64_t maxBytes) const = 0;
  // Creates or truncates the file and writes bytes; a read-only file is refused.
  virtual Status writeFile(std::string_view path, std::string_view bytes) = 0;
  // Adds bytes at the end of the file, creating it when missing; a read-only file is refused. The
  // file is opened as the entry itself: a link at its place, a path that no longer leads where it
  // names (a link on the way, where Windows can tell) and a file with a second name are refused
  // (kErrorAccessDenied), so a log another user may prepare is never added to elsewhere.
  virtual Status appendFile(std::string_view path, std::string_view bytes) = 0;
  // Creates a new file with bytes; anything already at path refuses it (kErrorFileExists), so
  // nothing is ever written through a file or link another user left there.
  virtual Status createNewFile(std::string_view path, std::string_view bytes) = 0;
  // How many names (hard links) the file at path has; nullopt when nothing is there.
  virtual std::optional<std::uint32_t> linkCount(std::string_view path) const = 0;
  // Deletes the file, or the empty folder, at path through a handle opened on that very entry: a
  // junction or symbolic link at its place is refused (kErrorAccessDenied), never followed, and so
  // is a path that no longer leads where it did (a folder on the way made a link since), where
  // Windows can tell. So what was checked is what goes. A read-only file goes too.
  virtual Status deleteExactly(std::string_view path) = 0;
  // Moves a file over another in one step (the destination is replaced if it exists).
  virtual Status replaceFile(std::string_view from, std::string_view to) = 0;
  // Renames a file; fails when a file of the new name exists.
  virtual Status renameFile(std::string_view from, std::string_view to) = 0;
  // Up to count bytes from the start of a file; nullopt when it cannot be read.
  virtual std::optional<std::string> readFileHead(std::string_view path,
                                                  std::size_t count) const = 0;
  // Expands an LZ-compressed (SZDD) file into a new file, streaming; a file that is not
  // compressed is copied unchanged. The target takes the source's last-write time.
  virtual Status expandFile(std::string_view source, std::string_view target) = 0;

  // The file opened for reading and held so (see HeldFile); nullptr when it cannot be.
  virtual std::unique_ptr<HeldFile> holdFile(std::string_view path) const = 0;
  // A new file to write in pieces, made as copyFile makes its destination: with failIfExists an
  // existing file refuses it (kErrorFileExists); a read-only, hidden or system one is refused
  // (kErrorAccessDenied), and so is a folder.
  virtual NewFile createFileWriter(std::string_view path, bool failIfExists) = 0;
  // Whether the program file carries every disk of its set: no disk is ever asked for.
  virtual bool carriesAllDisks() const { return false; }

  // --- Folders -----------------------------------------------------------------------------
  virtual bool folderExists(std::string_view path) const = 0;
  // The names of what a folder holds (files and folders); nullopt when it cannot be listed.
  virtual std::optional<std::vector<std::string>> folderEntries(std::string_view path) const = 0;
  // Creates one level; an existing folder (or file) of that name gives kErrorAlreadyExists.
  virtual Status createFolder(std::string_view path) = 0;
  // Removes an empty folder only.
  virtual Status removeFolder(std::string_view path) = 0;
  // Has Windows delete an existing file, or a folder then empty, when it next starts, in the order
  // asked (administrators only): what is in use now goes then.
  virtual Status deleteAtRestart(std::string_view path) = 0;
  virtual Status setCurrentFolder(std::string_view path) = 0;
  // The process's current folder, a full path.
  virtual std::string currentFolder() const = 0;
  // The path with each short (8.3) name replaced by the long name; nullopt when nothing is there.
  virtual std::optional<std::string> longPathName(std::string_view path) const = 0;
  // Creates every missing folder of a path, parents first. An empty path is refused with
  // kErrorInvalidName; a path that names an existing file gives kErrorAlreadyExists.
  Status createFolderPath(std::string_view path);

  // --- System folders and the process ------------------------------------------------------
  // Each returns the empty text when the query fails.
  virtual std::string windowsFolder() const = 0;
  virtual std::string systemFolder() const = 0;
  // Ends in "\".
  virtual std::string tempFolder() const = 0;
  virtual std::string programFilePath() const = 0;
  // The process's whole command line, program name first, as Windows passes it.
  virtual std::string commandLine() const = 0;
  // Claims a named mutex; nullptr when another holder already has the name.
  virtual std::unique_ptr<InstanceLock> claimNamedMutex(std::string_view name) = 0;
  // Whether Windows is 64-bit: it keeps two views of its registry and of its system folder.
  virtual bool windows64() const = 0;
  // Whether the program is a 64-bit one; a 32-bit program on 64-bit Windows sees the 32-bit
  // views unless it asks for the other.
  virtual bool program64() const = 0;
  // Has the program name files and registry keys from now on as a 64-bit program does (to
  // install a 64-bit application); false on 32-bit Windows, which has no 64-bit view. A 64-bit
  // program names them so already.
  virtual bool enterNativeView() { return windows64() && program64(); }

  // --- Shell -------------------------------------------------------------------------------
  // The file-system path of a special folder of the user who runs the program; nullopt when the
  // shell does not know the identifier or the folder has no path.
  virtual std::optional<std::string> specialFolder(int folderId) const = 0;
  virtual ShellLinkObject createShellLink() = 0;
  // The path a shell link file (.lnk) points at; nullopt when path is no shell link, or points at
  // no file-system path.
  virtual std::optional<std::string> shellLinkTarget(std::string_view path) const = 0;
  // The shell's restart dialog over owner, offering to restart Windows: the button pressed, or 0
  // where the dialog does not say (Wine) or Windows lacks it.
  virtual int restartDialog(const Form& owner) = 0;
  // Starts a program through the shell's "open" over owner, with parameters (none when empty)
  // and no working folder; the shell's result, above 32 when the program started.
  virtual std::intptr_t openProgram(const Form& owner, std::string_view program,
                                    std::string_view parameters) = 0;
  // The system's text for an error code (a Windows error or a COM result), without a final line
  // break; empty when the system has none.
  virtual std::string systemMessage(std::uint32_t code) const = 0;

  // Tells the shell that file associations changed.
  virtual void notifyAssociationsChanged() = 0;

  // --- Registry ----------------------------------------------------------------------------
  // Key paths are relative to the root, "\"-separated, without a leading "\", and read in the
  // hive's view. An empty path (the root itself) is refused with kErrorInvalidParameter by every
  // operation that changes the registry: no script or record may write into, or delete below, a
  // root key. Creates every missing key of path (all access asked for); an existing key is fine.
  virtual Status createRegistryKey(RegistryHive hive, std::string_view path) = 0;
  // Writes a value, creating the key when it is missing; name "" is the key's unnamed value.
  virtual Status writeRegistryValue(RegistryHive hive, std::string_view path, std::string_view name,
                                    const RegistryValue& value) = 0;
  // Nullopt when the key or the value is missing, or the value is of another type.
  virtual std::optional<RegistryValue> readRegistryValue(RegistryHive hive, std::string_view path,
                                                         std::string_view name) const = 0;
  virtual bool registryKeyExists(RegistryHive hive, std::string_view path) const = 0;
  // Deletes the key with all its subkeys and values; kErrorFileNotFound when it is missing.
  virtual Status deleteRegistryKey(RegistryHive hive, std::string_view path) = 0;
  // Deletes one value of a key (name "" is the unnamed value); kErrorFileNotFound when it is
  // missing.
  virtual Status deleteRegistryValue(RegistryHive hive, std::string_view path,
                                     std::string_view name) = 0;
  // True when the key exists and holds neither a value nor a subkey.
  virtual bool registryKeyEmpty(RegistryHive hive, std::string_view path) const = 0;

  // --- Text --------------------------------------------------------------------------------
  // Unicode simple upper-case mapping as the system locale does it.
  virtual std::string upperCase(std::string_view text) const = 0;
  // Shift-JIS (code page 932) bytes of a UTF-8 text; nullopt when a character has no Shift-JIS
  // form (nothing is replaced by a best-fit or default character).
  virtual std::optional<std::string> toShiftJis(std::string_view text) const = 0;
  // UTF-8 text of Shift-JIS bytes; invalid bytes become the default character U+30FB.
  virtual std::string fromShiftJis(std::string_view bytes) const = 0;

  // --- Time and sound -----------------------------------------------------------------------
  virtual void sleep(std::uint32_t milliseconds) = 0;
  virtual LocalTime localTime() const = 0;
  // The default beep.
  virtual void beep() = 0;

  // --- Windows and user input --------------------------------------------------------------
  // The application's title, shown on the task bar; the program's windows belong to it.
  virtual void setApplicationTitle(std::string_view title) = 0;
  virtual void setApplicationHandlers(ApplicationHandlers handlers) = 0;
  // The view that shows form (its windows are made when it is first shown).
  virtual std::unique_ptr<FormView> createView(Form& form) = 0;
  // Waits for the user's next input or window message and handles it; false when the
  // application is asked to quit.
  virtual bool waitForInput() = 0;
  // Handles the window messages that are pending, without waiting: input and painting go on
  // while a handler works. False once the application has been asked to quit.
  virtual bool processMessages() = 0;
  // Runs the application's message loop until the main form is closed.
  virtual void runMessageLoop() = 0;
  // A message box modal over all the program's windows; returns the button pressed (kIdOk...).
  virtual int messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) = 0;
  // The shell's folder browser over owner; nullopt when the user cancels.
  virtual std::optional<std::string> browseForFolder(const Form& owner, std::string_view title,
                                                     std::uint32_t flags) = 0;
  // The size text takes in font (lines broken at "\r").
  virtual Size measureText(const Font& font, std::string_view text) const = 0;
};

// The view a hive's view stands for, as Windows sees it: k64 or k32 (32-bit Windows has k32 only).
RegistryView SeenView(const Platform& platform, RegistryView view);
// The views Windows has, as SeenView names them, the program's own first.
std::vector<RegistryView> ViewsOwnFirst(const Platform& platform);

}  // namespace orv
