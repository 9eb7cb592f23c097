// The end-to-end driver: starts the real SETUP.EXE under Wine, reads its controls from the real
// windows, presses buttons, answers message boxes, takes screenshots, checks files, following a
// scenario file line by line. Every wait is bounded; the first failed step ends the scenario with
// exit code 1 and says which line failed and what was seen.
//
//   orv_driver.exe <scenario file> <SETUP.EXE> <screenshot folder>
//
// Scenario lines ("#" starts a comment; texts in double quotes with \r, \n, \" and \\):
//   start ["arguments"]              start SETUP.EXE with these arguments
//   second-start                     start another copy; it must end with code 0, no window
//   run "arguments" <code>           start SETUP.EXE with these arguments and wait for it to end
//                                    with that exit code, no window of it ever shown
//   run-recorded "key" "value" <code>
//                                    run the command in that value of HKLM\<key> (native view)
//                                    as "run" does
//   holds "path" "text"              a UTF-8 file (a log) holds the text (%VARIABLES% expanded)
//   text <form>.<control> "text"      the control's text becomes this (%VARIABLES% expanded)
//   caption <form> "text"            the form's caption becomes this
//   application "text"               the application's (task bar) title is this
//   visible|enabled|checked <form>.<control> yes|no
//   click <form>.<control>           press a button (or check box)
//   box "caption" "text"             a message box with this caption and text appears
//   answer yes|no|ok|cancel          press that button of the message box (or dialog)
//   dialog "text"                    a dialog shows this text in one of its controls
//   nobox                            no message box is up
//   exit <code>                      the program ends with this exit code
//   dpi <N>                          the display has N DPI; the layout steps below scale the
//                                    program's design units (pixels at 96 DPI) by N/96
//   client <form> <width> <height>   the form's client area is that design size, scaled
//   place <form>.<control> <left> <top> <width> <height>
//                                    the control's rectangle in its parent's client area is that
//                                    design rectangle, scaled, each edge within one pixel ("*"
//                                    leaves an edge unchecked)
//   fits <form>.<control> "face" <height>
//                                    the control's text, measured in that font (the height in
//                                    design pixels, scaled), fits in the control beside what the
//                                    control draws around it
//   shot <name>                      screenshot of the screen to <folder>\<name>.bmp
//   write "path" "text"              write a Shift-JIS text file (for prepared records)
//   replace "path" "old" "new"       in a Shift-JIS text file, the first "old" becomes "new"
//                                    (%VARIABLES% expanded): a record edited, as another user could
//   exists "path" yes|no             a file exists, or not
//   mkdir "path"                     make a folder (and its parents)
//   copy "from" "to"                 copy a file (a disk's file appears)
//   delete "path"                    delete a file (a disk is taken out)
//   same "path" "path"               the two files hold the same bytes
//   key <keys>                       type keys into the program: "alt+e", "tab", "shift+tab"
//   focus <form>.<control>           the control has the keyboard focus
//   close-window <form>              ask the form to close (as Alt+F4 or the close box do)
//   close-application                choose Close on the program's task-bar button
//   quit                             post a quit message to the program's thread
//   set-readonly "path"              give a file the read-only attribute (as on a CD-ROM)
//   readonly "path" yes|no           a file has the read-only attribute, or not
//   hold "path"                      keep a file open, sharing only reading, as a running
//                                    program does, until the driver ends
//   registry "ROOT\\key" "name" "TYPE:data"   a registry value in the native view (ROOT: HKCU,
//                                    HKLM, HKCR; TYPE: REG_SZ, REG_EXPAND_SZ, or REG_DWORD with 0x
//                                    and 8 hex digits), or "none"
//   record "path" "template"        a file holds exactly the template's text (UTF-8, LF, with
//                                    %VARIABLES%) as CR LF lines in Shift-JIS
//   window "text"                    a visible window of any program has a title holding text
//   set-registry "ROOT\\key" "name" "REG_SZ:data"
//                                    write a string value in the native view (making the key), as
//                                    another product or an administrator's policy would
//   shortcut "path" "target"         make a shell link to target, as another product would
//   snapshot "name"                  remember the machine: every file and folder on C: and every
//                                    registry key under HKCU\Software and HKLM\Software, natively
//                                    (Wine's own and the temporary folders left out)
//   unchanged-since "name" "a|b|..." the machine is as the snapshot was, but for these lines
//                                    (paths or "HKCU\...", "HKLM\..." keys, in any case) more
//                                    or less
//   start-recorded "key"             start the UninstallString of HKLM\<key> (native view) as
//                                    Add/Remove Programs would
//   export "path" "name"             copy a file out to <screenshot folder>\..\files\name, for
//                                    checks on the host after the run
// Lines for the host are passed over: "lnk ..." (see run-scenario.sh).
//   resource "text"                  SETUP.EXE's manifest holds this text
//   version "name" "value"           SETUP.EXE's version resource holds this string
//   run-from-swap                    SETUP.EXE runs from the swap file off removable media
// Paths and registry keys may hold environment variables (%TEMP%) and the places that differ by
// architecture: %PROGRAM_SYSTEM% is the program's system folder as the machine holds it
// (syswow64 for the i686 build), %PROGRAM_SOFTWARE% its HKEY_LOCAL_MACHINE\SOFTWARE in the native
// view (SOFTWARE\Wow6432Node for the i686 build).
#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/Handles.h"
#include "e2e/ProgramWindows.h"

namespace {

using orv::e2e::VisibleWindows;
using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(15);
// An unattended run does a whole installation.
constexpr auto kRunTimeout = std::chrono::seconds(60);
constexpr auto kPoll = std::chrono::milliseconds(10);

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(
                        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
                    L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        static_cast<int>(wide.size()));
  return wide;
}

// The text in Shift-JIS (code page 932), as the program's files hold it.
std::string ShiftJis(const std::wstring& wide) {
  std::string bytes(
      static_cast<std::size_t>(::WideCharToMultiByte(
          932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr)),
      '\0');
  ::WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
  return bytes;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  std::string narrow(
      static_cast<std::size_t>(::WideCharToMultiByte(
          CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr)),
      '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        static_cast<int>(narrow.size()), nullptr, nullptr);
  return narrow;
}

// The folder of SETUP.EXE, which paths name as %DISK%.
std::wstring g_disk;

// Where the two builds differ, named once for every scenario: the driver is built for the
// program's architecture, and the machine keeps a 32-bit program's system folder and its
// HKEY_LOCAL_MACHINE\SOFTWARE keys apart from the native ones (as the snapshots and the registry
// checks see them).
struct ArchitectureVariable {
  std::wstring_view name;
  std::wstring_view value;
};
constexpr bool kNative = sizeof(void*) == 8;
constexpr ArchitectureVariable kArchitectureVariables[] = {
    {L"%PROGRAM_SYSTEM%", kNative ? L"C:\\windows\\system32" : L"C:\\windows\\syswow64"},
    {L"%PROGRAM_SOFTWARE%", kNative ? L"SOFTWARE" : L"SOFTWARE\\Wow6432Node"},
};

void Replace(std::wstring& text, std::wstring_view name, std::wstring_view value) {
  for (auto at = text.find(name); at != std::wstring::npos; at = text.find(name, at + value.size()))
    text.replace(at, name.size(), value);
}

// Paths may name environment folders, such as %TEMP%, the installation disk, %DISK%, and the
// places that differ by architecture.
std::wstring Expand(const std::string& path) {
  std::wstring wide = Wide(path);
  Replace(wide, L"%DISK%", g_disk);
  for (const auto& [name, value] : kArchitectureVariables)
    Replace(wide, name, value);
  std::wstring expanded(32768, L'\0');
  const DWORD length = ::ExpandEnvironmentStringsW(wide.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
  expanded.resize(length > 0 ? length - 1 : 0);
  return expanded;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

// The text of a window. Most windows keep their text where it can be read without asking the
// program (which does not answer while it pauses); an edit control keeps its own and is asked.
std::string WindowText(HWND window) {
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (::lstrcmpiW(className, L"Edit") != 0) {
    std::wstring text(32768, L'\0');
    text.resize(static_cast<std::size_t>(
        ::InternalGetWindowText(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
  }
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return "<no answer>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return Narrow(text);
}

struct TitleSearch {
  std::wstring text;
  bool found;
};

BOOL CALLBACK FindTitle(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TitleSearch*>(data);
  wchar_t title[512] = {};
  ::InternalGetWindowText(window, title, 512);
  search->found =
      ::IsWindowVisible(window) && std::wstring(title).find(search->text) != std::wstring::npos;
  return !search->found;
}

// A visible top-level window of any program whose title holds text.
bool AnyWindowTitled(const std::wstring& text) {
  TitleSearch search{text, false};
  ::EnumWindows(FindTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct TextSearch {
  std::string text;
  bool found;
};

BOOL CALLBACK FindText(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<TextSearch*>(data);
  search->found = WindowText(child) == search->text;
  return !search->found;
}

// Splits a scenario line into words; double-quoted words keep blanks and take escapes.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    std::string word;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          const char next = line[++i];
          word += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
        } else {
          word += line[i];
        }
      }
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

void SaveScreenshot(const std::wstring& path) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  std::vector<char> pixels(stride * height);
  ::GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
}

// While it lives, the thread sees the machine's own system folder, not the one Windows shows a
// 32-bit program in its place (nothing changes for a 64-bit driver).
class NativeFolders {
 public:
  NativeFolders() { ::Wow64DisableWow64FsRedirection(&old_); }
  ~NativeFolders() { ::Wow64RevertWow64FsRedirection(old_); }
  NativeFolders(const NativeFolders&) = delete;
  NativeFolders& operator=(const NativeFolders&) = delete;

 private:
  void* old_ = nullptr;
};

class Driver {
 public:
  Driver(std::wstring program, std::wstring shots)
      : program_(std::move(program)), shots_(std::move(shots)) {}
  ~Driver() {
    if (process_.hProcess != nullptr) {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(process_.hProcess, 99);
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
  }

  // Runs one scenario line; false with a reason in error_ when it fails.
  bool step(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    if (verb == "start") return start(w.size() > 1 ? w[1] : std::string());
    if (verb == "second-start") return secondStart();
    if (verb == "run") {
      return runWindowless(L"\"" + program_ + L"\" " + Expand(w.at(1)), w.at(2), kRunTimeout);
    }
    if (verb == "run-recorded") return runRecorded(w.at(1), w.at(2), w.at(3));
    if (verb == "holds") return holds(w.at(1), w.at(2));
    if (verb == "text") return waitFor([&] { return text(w.at(1)); }, Narrow(Expand(w.at(2))));
    if (verb == "caption") return waitFor([&] { return WindowText(form(w.at(1))); }, w.at(2));
    if (verb == "application") {
      return waitFor(
          [&] {
            const auto windows = VisibleWindows(process_.dwProcessId, L"OrvApplication");
            return windows.empty() ? std::string("<none>") : WindowText(windows.front());
          },
          w.at(1));
    }
    if (verb == "visible")
      return waitFor([&] { return yesNo(::IsWindowVisible(control(w.at(1)))); }, w.at(2));
    if (verb == "enabled")
      return waitFor([&] { return yesNo(::IsWindowEnabled(control(w.at(1)))); }, w.at(2));
    if (verb == "checked") {
      return waitFor(
          [&] { return yesNo(::SendMessageW(control(w.at(1)), BM_GETCHECK, 0, 0) == BST_CHECKED); },
          w.at(2));
    }
    if (verb == "click") return click(w.at(1));
    if (verb == "box") return box(w.at(1), w.at(2));
    if (verb == "answer") return answer(w.at(1));
    if (verb == "dialog") {
      return waitFor([&] { return yesNo(dialogShows(w.at(1))); }, "yes") ||
             (error_ += " (no dialog shows \"" + w.at(1) + "\")", false);
    }
    if (verb == "nobox") return noBox();
    if (verb == "exit") return exit(std::stoi(w.at(1)));
    if (verb == "dpi") return dpi(std::stoi(w.at(1)));
    if (verb == "client") return client(w.at(1), w.at(2), w.at(3));
    if (verb == "place") return place(w.at(1), {w.at(2), w.at(3), w.at(4), w.at(5)});
    if (verb == "fits") return fits(w.at(1), w.at(2), std::stoi(w.at(3)));
    if (verb == "shot") {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let painting settle
      SaveScreenshot(shots_ + L"\\" + Wide(w.at(1)) + L".bmp");
      return true;
    }
    if (verb == "write") return write(w.at(1), w.at(2));
    if (verb == "replace") return replace(w.at(1), w.at(2), w.at(3));
    if (verb == "exists") {
      const DWORD attributes = ::GetFileAttributesW(Expand(w.at(1)).c_str());
      return check(yesNo(attributes != INVALID_FILE_ATTRIBUTES), w.at(2), "exists " + w.at(1));
    }
    if (verb == "mkdir") {
      std::error_code error;
      std::filesystem::create_directories(std::filesystem::path(Expand(w.at(1))), error);
      return check(error ? error.message() : "made", "made", "mkdir " + w.at(1));
    }
    if (verb == "copy") {
      const bool copied = ::CopyFileW(Expand(w.at(1)).c_str(), Expand(w.at(2)).c_str(), FALSE);
      return check(yesNo(copied), "yes", "copy " + w.at(1));
    }
    if (verb == "delete")
      return check(yesNo(::DeleteFileW(Expand(w.at(1)).c_str())), "yes", "delete " + w.at(1));
    if (verb == "same")
      return check(readAll(w.at(1)) == readAll(w.at(2)) ? "same" : "different", "same",
                   "compare " + w.at(1) + " with " + w.at(2));
    if (verb == "key") return keys(w.at(1));
    if (verb == "export") {
      const std::wstring folder = shots_ + L"\\..\\files";
      ::CreateDirectoryW(folder.c_str(), nullptr);
      const bool copied =
          ::CopyFileW(Expand(w.at(1)).c_str(), (folder + L"\\" + Wide(w.at(2))).c_str(), FALSE);
      return check(yesNo(copied), "yes", "export " + w.at(1));
    }
    if (verb == "lnk") return true;  // checked on the host
    if (verb == "record") {
      return check(readAll(w.at(1)) == expectedRecord(w.at(2)) ? "same" : "different", "same",
                   "record " + w.at(1) + " against " + w.at(2));
    }
    if (verb == "window") {
      return waitFor([&] { return yesNo(AnyWindowTitled(Wide(w.at(1)))); }, "yes") ||
             (error_ += " (no window titled with \"" + w.at(1) + "\")", false);
    }
    if (verb == "snapshot") {
      snapshots_[w.at(1)] = Snapshot();
      return true;
    }
    if (verb == "unchanged-since") return unchangedSince(w.at(1), w.at(2));
    if (verb == "start-recorded") return startRecorded(w.at(1));
    if (verb == "set-registry") return setRegistry(w.at(1), w.at(2), w.at(3));
    if (verb == "shortcut") return shortcut(w.at(1), w.at(2));
    if (verb == "registry") {
      return check(registryValue(w.at(1), w.at(2)), w.at(3), "registry " + w.at(1) + " " + w.at(2));
    }
    if (verb == "focus") {
      return waitFor([&] { return yesNo(focused() == control(w.at(1))); }, "yes");
    }
    if (verb == "close-window") {
      ::PostMessageW(form(w.at(1)), WM_CLOSE, 0, 0);
      return true;
    }
    if (verb == "close-application") {
      // What the task bar sends for its button's Close.
      const auto windows = VisibleWindows(process_.dwProcessId, L"OrvApplication");
      if (windows.empty()) {
        error_ = "no application window";
        return false;
      }
      ::PostMessageW(windows.front(), WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    }
    if (verb == "quit") {
      return check(yesNo(::PostThreadMessageW(process_.dwThreadId, WM_QUIT, 0, 0)), "yes",
                   "post the quit message");
    }
    if (verb == "hold") {
      held_.emplace_back(::CreateFileW(Expand(w.at(1)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
      return check(yesNo(held_.back().valid()), "yes", "hold " + w.at(1));
    }
    if (verb == "set-readonly") {
      return check(yesNo(::SetFileAttributesW(Expand(w.at(1)).c_str(), FILE_ATTRIBUTE_READONLY)),
                   "yes", "set-readonly " + w.at(1));
    }
    if (verb == "readonly") {
      const DWORD attributes = ::GetFileAttributesW(Expand(w.at(1)).c_str());
      return check(yesNo(attributes != INVALID_FILE_ATTRIBUTES &&
                         (attributes & FILE_ATTRIBUTE_READONLY) != 0),
                   w.at(2), "readonly " + w.at(1));
    }
    if (verb == "resource") return manifestHolds(w.at(1));
    if (verb == "run-from-swap") return runsFromSwap();
    if (verb == "version") return versionHolds(w.at(1), w.at(2));
    error_ = "unknown step " + verb;
    return false;
  }

  const std::string& error() const { return error_; }

 private:
  static std::string yesNo(bool value) { return value ? "yes" : "no"; }

  bool check(const std::string& seen, const std::string& wanted, const std::string& what) {
    if (seen == wanted) return true;
    error_ = what + ": saw \"" + Printable(seen) + "\", wanted \"" + Printable(wanted) + "\"";
    return false;
  }

  template <typename Read>
  bool waitFor(const Read& read, const std::string& wanted) {
    std::string seen;
    const auto deadline = Clock::now() + kTimeout;
    do {
      try {
        seen = read();
      } catch (const std::exception& e) {
        seen = std::string("<") + e.what() + ">";
      }
      if (seen == wanted) return true;
      std::this_thread::sleep_for(kPoll);
    } while (Clock::now() < deadline);
    return check(seen, wanted, "waited " + std::to_string(kTimeout.count()) + " s" + ended());
  }

  // What a wait that failed should also tell: that the program is no longer running.
  std::string ended() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess == nullptr || !::GetExitCodeProcess(process_.hProcess, &code) ||
        code == STILL_ACTIVE) {
      return "";
    }
    return " (the program had ended with exit code " + std::to_string(code) + ")";
  }

  bool start(const std::string& arguments) {
    std::wstring commandLine = L"\"" + program_ + L"\"";
    if (!arguments.empty()) commandLine += L" " + Wide(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process_)) {
      error_ = "CreateProcess failed: " + std::to_string(::GetLastError());
      return false;
    }
    ::WaitForInputIdle(process_.hProcess, 10000);
    return true;
  }

  bool secondStart() { return runWindowless(L"\"" + program_ + L"\"", "0", kTimeout); }

  // Runs a command line to its end, watching that the program never shows a window.
  bool runWindowless(std::wstring commandLine, const std::string& wantedCode,
                     std::chrono::seconds timeout) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION run{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &run)) {
      error_ = "CreateProcess failed: " + std::to_string(::GetLastError());
      return false;
    }
    bool sawWindow = false;
    const auto deadline = Clock::now() + timeout;
    while (::WaitForSingleObject(run.hProcess, 10) == WAIT_TIMEOUT && Clock::now() < deadline) {
      sawWindow = sawWindow || !VisibleWindows(run.dwProcessId, L"").empty();
    }
    DWORD code = 259;
    ::GetExitCodeProcess(run.hProcess, &code);
    if (code == STILL_ACTIVE) ::TerminateProcess(run.hProcess, 99);
    ::CloseHandle(run.hProcess);
    ::CloseHandle(run.hThread);
    if (sawWindow) {
      error_ = "the program showed a window: " + Narrow(commandLine);
      return false;
    }
    return check(std::to_string(code), wantedCode, "exit code of " + Narrow(commandLine));
  }

  bool runRecorded(const std::string& key, const std::string& value, const std::string& code) {
    const std::string command = registryValue("HKLM\\" + key, value);
    if (!command.starts_with("REG_SZ:")) {
      error_ = "no " + value + " under " + key + ": " + command;
      return false;
    }
    return runWindowless(Wide(command.substr(7)), code, kRunTimeout);
  }

  bool holds(const std::string& path, const std::string& text) {
    const std::string wanted = Narrow(Expand(text));
    if (readAll(path).find(wanted) != std::string::npos) return true;
    error_ = path + " does not hold \"" + Printable(wanted) + "\"";
    return false;
  }

  // "main" is the program's form that another form owns, "back" the one the application owns.
  HWND form(const std::string& name) {
    const HWND window = orv::e2e::FormWindow(process_.dwProcessId, name);
    if (window == nullptr) throw std::runtime_error("no " + name + " window");
    return window;
  }

  HWND control(const std::string& qualified) {
    const HWND window = orv::e2e::ControlWindow(process_.dwProcessId, qualified);
    if (window == nullptr) throw std::runtime_error("no window for " + qualified);
    return window;
  }

  std::string text(const std::string& qualified) { return WindowText(control(qualified)); }

  // Presses a button once it can be pressed (the window may still be coming up).
  bool click(const std::string& qualified) {
    HWND button = nullptr;
    const auto clickable = [&] {
      button = control(qualified);
      return yesNo(::IsWindowVisible(button) && ::IsWindowEnabled(button));
    };
    if (!waitFor(clickable, "yes")) {
      error_ += " (" + qualified + " cannot be clicked: hidden, disabled or missing)";
      return false;
    }
    // Posted, not sent: the handler may open a modal box.
    ::PostMessageW(button, BM_CLICK, 0, 0);
    return true;
  }

  HWND findBox() {
    const auto boxes = VisibleWindows(process_.dwProcessId, L"#32770");
    return boxes.empty() ? nullptr : boxes.front();
  }

  bool box(const std::string& caption, const std::string& text) {
    const auto read = [&] {
      const HWND box = findBox();
      if (box == nullptr) return std::string("<no box>");
      return WindowText(box) + "|" + WindowText(::GetDlgItem(box, 0xFFFF));
    };
    return waitFor(read, caption + "|" + text);
  }

  bool dialogShows(const std::string& text) {
    const HWND dialog = findBox();
    if (dialog == nullptr) return false;
    TextSearch search{text, false};
    ::EnumChildWindows(dialog, FindText, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  bool answer(const std::string& button) {
    const int id = button == "yes"  ? IDYES
                   : button == "no" ? IDNO
                   : button == "ok" ? IDOK
                                    : IDCANCEL;
    const HWND box = findBox();
    if (box == nullptr || ::GetDlgItem(box, id) == nullptr) {
      error_ = "no message box with a " + button + " button";
      return false;
    }
    ::PostMessageW(::GetDlgItem(box, id), BM_CLICK, 0, 0);
    const auto deadline = Clock::now() + kTimeout;
    while (::IsWindow(box) && ::IsWindowVisible(box) && Clock::now() < deadline)
      std::this_thread::sleep_for(kPoll);
    return true;
  }

  bool noBox() {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (findBox() == nullptr) return true;
    error_ = "a message box is up: " + Printable(WindowText(::GetDlgItem(findBox(), 0xFFFF)));
    return false;
  }

  bool exit(int wanted) {
    if (::WaitForSingleObject(process_.hProcess,
                              static_cast<DWORD>(std::chrono::milliseconds(kTimeout).count())) !=
        WAIT_OBJECT_0) {
      error_ = "the program did not end";
      return false;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return check(std::to_string(code), std::to_string(wanted), "exit code");
  }

  int scaled(int design) const { return (design * dpi_ + 48) / 96; }

  bool dpi(int wanted) {
    const HDC screen = ::GetDC(nullptr);
    const int seen = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    dpi_ = wanted;
    return check(std::to_string(seen), std::to_string(wanted), "the display's DPI");
  }

  // Design values within one pixel of the pixels seen, each "*" passed over.
  bool withinOnePixel(const std::vector<int>& seen, const std::vector<std::string>& design,
                      const std::string& what) {
    std::string wanted;
    std::string got;
    bool close = true;
    for (std::size_t i = 0; i < seen.size(); ++i) {
      const bool any = design[i] == "*";
      const int value = any ? seen[i] : scaled(std::stoi(design[i]));
      close = close && std::abs(seen[i] - value) <= 1;
      wanted += (i ? " " : "") + (any ? std::string("*") : std::to_string(value));
      got += (i ? " " : "") + std::to_string(seen[i]);
    }
    return close || check(got, wanted, what + " at " + std::to_string(dpi_) + " DPI");
  }

  bool client(const std::string& name, const std::string& width, const std::string& height) {
    RECT area;
    ::GetClientRect(form(name), &area);
    return withinOnePixel({area.right, area.bottom}, {width, height}, "client area of " + name);
  }

  // Edges are compared, not sizes: left, top, right, bottom.
  bool place(const std::string& qualified, const std::vector<std::string>& design) {
    const HWND window = control(qualified);
    RECT area;
    ::GetWindowRect(window, &area);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&area), 2);
    const auto edge = [&](int at, int size) {
      return design[at] == "*" || design[size] == "*"
                 ? std::string("*")
                 : std::to_string(std::stoi(design[at]) + std::stoi(design[size]));
    };
    return withinOnePixel({area.left, area.top, area.right, area.bottom},
                          {design[0], design[1], edge(0, 2), edge(1, 3)}, "place of " + qualified);
  }

  bool fits(const std::string& qualified, const std::string& face, int height) {
    const HWND window = control(qualified);
    LOGFONTW description{};
    description.lfHeight = -scaled(height);
    description.lfCharSet = SHIFTJIS_CHARSET;
    const std::wstring wideFace = Wide(face);
    wideFace.copy(description.lfFaceName, LF_FACESIZE - 1);
    const HFONT font = ::CreateFontIndirectW(&description);
    const HDC screen = ::GetDC(nullptr);
    const HGDIOBJ old = ::SelectObject(screen, font);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    const std::wstring kind = className;
    const LONG style = ::GetWindowLongW(window, GWL_STYLE);
    std::wstring text = Wide(WindowText(window));
    int room = 0;  // what the control draws beside its text
    UINT format = DT_CALCRECT;
    if (kind == L"OrvGroup") {
      text = L" " + text + L" ";
      room = 2 * scaled(8);
      format |= DT_NOPREFIX | DT_SINGLELINE;
    } else if (kind == L"OrvLabel") {
      // The program breaks a label's lines at a lone "\r", as DrawText does at "\r\n".
      for (std::size_t at = text.find(L'\r'); at != std::wstring::npos;
           at = text.find(L'\r', at + 1)) {
        if (at + 1 == text.size() || text[at + 1] != L'\n') text.insert(at + 1, 1, L'\n');
      }
      format |= DT_NOPREFIX;
    } else if (::lstrcmpiW(className, L"Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
      // Wine's check box: the box, 12 pixels at 96 DPI and one more, then half a digit's width.
      int digit = 0;
      ::GetCharWidth32W(screen, L'0', L'0', &digit);
      room = 12 * dpi_ / 96 + 1 + digit / 2;
    } else if (::lstrcmpiW(className, L"Button") == 0) {
      room = 2 * scaled(2);  // the button's edges
    }
    RECT extent{0, 0, 0, 0};
    ::DrawTextW(screen, text.c_str(), -1, &extent, format);
    ::SelectObject(screen, old);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(font);
    RECT area;
    ::GetClientRect(window, &area);
    const int width = extent.right + room;
    if (width <= area.right && extent.bottom <= area.bottom) return true;
    error_ = "the text of " + qualified + " takes " + std::to_string(width) + " x " +
             std::to_string(extent.bottom) + " pixels, the control has " +
             std::to_string(area.right) + " x " + std::to_string(area.bottom);
    return false;
  }

  bool write(const std::string& path, const std::string& utf8) {
    const std::string bytes = ShiftJis(Wide(utf8));
    std::ofstream out(std::filesystem::path(Expand(path)), std::ios::binary);
    out << bytes;
    if (!out) error_ = "cannot write " + path;
    return static_cast<bool>(out);
  }

  bool replace(const std::string& path, const std::string& old, const std::string& utf8) {
    const std::string bytes = readAll(path);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                              static_cast<int>(text.size()))));
    const std::wstring from = Wide(old);
    const auto at = text.find(from);
    if (at == std::wstring::npos) {
      error_ = "\"" + old + "\" is not in " + path;
      return false;
    }
    return write(path, Narrow(text.replace(at, from.size(), Expand(utf8))));
  }

  static std::string readAll(const std::string& path) {
    std::ifstream in(std::filesystem::path(Expand(path)), std::ios::binary);
    if (!in) return "<missing " + path + ">";
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Files and folders of C: and registry keys, one line each, the noisy places left out. Taken
  // as the machine holds them, not through a 32-bit program's redirections, so each file and
  // key shows once and where it really is.
  static std::set<std::string> Snapshot() {
    const NativeFolders native;
    std::set<std::string> lines;
    const std::wstring temp = Expand("%TEMP%");
    std::error_code error;
    const auto options = std::filesystem::directory_options::skip_permission_denied;
    for (auto it = std::filesystem::recursive_directory_iterator(L"C:\\", options, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      const std::wstring path = it->path().wstring();
      if (::lstrcmpiW(path.c_str(), temp.substr(0, temp.size() - 1).c_str()) == 0 ||
          ::lstrcmpiW(path.c_str(), L"C:\\windows\\temp") == 0) {
        it.disable_recursion_pending();
        continue;
      }
      lines.insert(Narrow(path));
    }
    AddKeys(HKEY_CURRENT_USER, L"HKCU", L"Software", lines);
    AddKeys(HKEY_LOCAL_MACHINE, L"HKLM", L"Software", lines);
    return lines;
  }

  static void AddKeys(HKEY root, const std::wstring& rootName, const std::wstring& path,
                      std::set<std::string>& lines) {
    if (::lstrcmpiW(path.c_str(), L"Software\\Wine") == 0) return;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
      return;
    lines.insert(Narrow(rootName + L"\\" + path));
    std::vector<std::wstring> subkeys;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
      DWORD length = 256;
      if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      subkeys.emplace_back(name, length);
    }
    ::RegCloseKey(key);
    for (const std::wstring& subkey : subkeys)
      AddKeys(root, rootName, path + L"\\" + subkey, lines);
  }

  bool unchangedSince(const std::string& name, const std::string& allowedList) {
    const auto before = snapshots_.find(name);
    if (before == snapshots_.end()) {
      error_ = "no snapshot " + name;
      return false;
    }
    // Paths and keys are compared as Windows names them, without regard to case.
    const auto upper = [](std::wstring text) {
      ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
      return text;
    };
    std::set<std::wstring> allowed;
    std::size_t start = 0;
    while (start <= allowedList.size()) {
      const auto end = std::min(allowedList.find('|', start), allowedList.size());
      allowed.insert(upper(Expand(allowedList.substr(start, end - start))));
      start = end + 1;
    }
    const auto isAllowed = [&](const std::string& line) {
      return allowed.count(upper(Wide(line))) > 0;
    };
    const std::set<std::string> now = Snapshot();
    std::string differences;
    for (const std::string& line : before->second) {
      if (!now.count(line) && !isAllowed(line)) differences += "\n  gone: " + line;
    }
    for (const std::string& line : now) {
      if (!before->second.count(line) && !isAllowed(line)) differences += "\n  new: " + line;
    }
    if (differences.empty()) return true;
    error_ = "the machine changed:" + differences;
    return false;
  }

  bool startRecorded(const std::string& key) {
    const std::string command = registryValue("HKLM\\" + key, "UninstallString");
    if (!command.starts_with("REG_SZ:")) {
      error_ = "no UninstallString under " + key + ": " + command;
      return false;
    }
    if (process_.hProcess != nullptr) {
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
      process_ = {};
    }
    std::wstring commandLine = Wide(command.substr(7));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_)) {
      error_ = "CreateProcess failed: " + std::to_string(::GetLastError());
      return false;
    }
    ::WaitForInputIdle(process_.hProcess, 10000);
    return true;
  }

  // The template's text with its variables expanded, as CR LF lines in Shift-JIS.
  static std::string expectedRecord(const std::string& templatePath) {
    std::string text;
    for (const char c : readAll(templatePath)) {
      if (c == '\n') text += '\r';
      text += c;
    }
    return ShiftJis(Expand(text));
  }

  // The root and the path below it of "HKLM\\...", "HKCR\\..." or "HKCU\\...".
  static std::pair<HKEY, std::wstring> RegistryPath(const std::string& qualifiedPath) {
    const std::string qualified = Narrow(Expand(qualifiedPath));
    const auto slash = qualified.find('\\');
    const std::string rootName = qualified.substr(0, slash);
    const HKEY root = rootName == "HKLM"   ? HKEY_LOCAL_MACHINE
                      : rootName == "HKCR" ? HKEY_CLASSES_ROOT
                                           : HKEY_CURRENT_USER;
    return {root, Wide(qualified.substr(slash + 1))};
  }

  bool setRegistry(const std::string& qualifiedPath, const std::string& name,
                   const std::string& typed) {
    const auto [root, path] = RegistryPath(qualifiedPath);
    const std::wstring text = Wide(typed.substr(typed.find(':') + 1));
    HKEY key = nullptr;
    const bool written =
        ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                          nullptr, &key, nullptr) == ERROR_SUCCESS &&
        ::RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    if (key != nullptr) ::RegCloseKey(key);
    return check(yesNo(written), "yes", "set-registry " + qualifiedPath);
  }

  bool shortcut(const std::string& path, const std::string& target) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IShellLinkW, reinterpret_cast<void**>(&link)));
    if (saved) {
      link->SetPath(Expand(target).c_str());
      saved = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Save(Expand(path).c_str(), TRUE));
    }
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    return check(yesNo(saved), "yes", "shortcut " + path);
  }

  // "TYPE:data" of a registry value in the native view, or "none".
  static std::string registryValue(const std::string& qualifiedPath, const std::string& name) {
    const auto [root, path] = RegistryPath(qualifiedPath);
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS) {
      return "none";
    }
    DWORD type = 0;
    std::vector<BYTE> data(65536, 0);
    DWORD size = static_cast<DWORD>(data.size() - sizeof(wchar_t));
    const LONG result =
        ::RegQueryValueExW(key, Wide(name).c_str(), nullptr, &type, data.data(), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "none";
    if (type == REG_DWORD) {
      char number[16];
      std::snprintf(number, sizeof number, "0x%08lx", *reinterpret_cast<DWORD*>(data.data()));
      return std::string("REG_DWORD:") + number;
    }
    const std::string text = Narrow(reinterpret_cast<const wchar_t*>(data.data()));
    if (type == REG_SZ) return "REG_SZ:" + text;
    if (type == REG_EXPAND_SZ) return "REG_EXPAND_SZ:" + text;
    if (type == REG_MULTI_SZ) return "REG_MULTI_SZ:" + text;  // the first string
    return "type " + std::to_string(type);
  }

  HWND focused() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
  }

  // Real keyboard input, as a user types it into the active window.
  bool keys(const std::string& combination) {
    std::vector<WORD> held;
    std::string rest = combination;
    for (const char* modifier : {"alt+", "shift+", "ctrl+"}) {
      if (rest.rfind(modifier, 0) == 0) {
        held.push_back(modifier[0] == 'a' ? VK_MENU : modifier[0] == 's' ? VK_SHIFT : VK_CONTROL);
        rest = rest.substr(std::string(modifier).size());
      }
    }
    WORD key = 0;
    if (rest == "tab")
      key = VK_TAB;
    else if (rest == "enter")
      key = VK_RETURN;
    else if (rest == "space")
      key = VK_SPACE;
    else if (rest.size() == 1)
      key = static_cast<WORD>(::toupper(static_cast<unsigned char>(rest[0])));
    if (key == 0) {
      error_ = "unknown key " + combination;
      return false;
    }
    held.push_back(key);
    std::vector<INPUT> inputs;
    for (const WORD k : held) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = k;
      inputs.push_back(input);
    }
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = *it;
      input.ki.dwFlags = KEYEVENTF_KEYUP;
      inputs.push_back(input);
    }
    ::SetForegroundWindow(form("main"));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return true;
  }

  bool manifestHolds(const std::string& text) {
    const HMODULE module = ::LoadLibraryExW(program_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HRSRC resource =
        module ? ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
    std::string manifest;
    if (resource != nullptr) {
      const auto* bytes =
          static_cast<const char*>(::LockResource(::LoadResource(module, resource)));
      manifest.assign(bytes, ::SizeofResource(module, resource));
    }
    if (module != nullptr) ::FreeLibrary(module);
    if (manifest.find(text) != std::string::npos) return true;
    error_ = "the manifest lacks " + text;
    return false;
  }

  bool runsFromSwap() {
    std::ifstream in(std::filesystem::path(program_), std::ios::binary);
    std::uint32_t pe = 0;
    std::uint16_t flags = 0;
    in.seekg(60);
    in.read(reinterpret_cast<char*>(&pe), sizeof pe);
    in.seekg(pe + 22);
    in.read(reinterpret_cast<char*>(&flags), sizeof flags);
    constexpr std::uint16_t kRunFromSwap =
        IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP;
    return check(yesNo((flags & kRunFromSwap) == kRunFromSwap), "yes", "run-from-swap flags");
  }

  bool versionHolds(const std::string& name, const std::string& value) {
    DWORD ignored = 0;
    std::vector<char> data(::GetFileVersionInfoSizeW(program_.c_str(), &ignored));
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring key = L"\\StringFileInfo\\041104b0\\" + Wide(name);
    if (data.empty() ||
        !::GetFileVersionInfoW(program_.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) ||
        !::VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) {
      error_ = "no version string " + name;
      return false;
    }
    return check(Narrow(std::wstring(text, length > 0 ? length - 1 : 0)), value, "version " + name);
  }

  std::wstring program_;
  std::wstring shots_;
  std::map<std::string, std::set<std::string>> snapshots_;
  PROCESS_INFORMATION process_{};
  std::string error_;
  std::vector<orv::win32::UniqueHandle<orv::win32::FileHandleTraits>> held_;
  int dpi_ = 96;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: orv_driver <scenario> <SETUP.EXE> <screenshot folder>\n");
    return 2;
  }
  std::ifstream scenario(argv[1]);
  if (!scenario) {
    std::fprintf(stderr, "cannot read the scenario\n");
    return 2;
  }
  // The program's windows and the display as they are, not as a program unaware of DPI sees them
  // (a function of Windows Vista, which the build's headers leave out).
  using SetAwareFunction = BOOL(WINAPI*)();
  if (const auto setAware = reinterpret_cast<SetAwareFunction>(reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware")))) {
    setAware();
  }
  const std::wstring program = argv[2];
  g_disk = program.substr(0, program.find_last_of(L'\\'));
  Driver driver(program, argv[3]);
  std::string line;
  int number = 0;
  int steps = 0;
  while (std::getline(scenario, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto words = Words(line);
    if (words.empty()) continue;
    ++steps;
    bool passed = false;
    try {
      passed = driver.step(words);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "line %d: %s: %s\n", number, line.c_str(), e.what());
      return 1;
    }
    if (!passed) {
      std::fprintf(stderr, "line %d: %s\n  %s\n", number, line.c_str(), driver.error().c_str());
      return 1;
    }
  }
  std::printf("scenario passed: %d steps\n", steps);
  return 0;
}
