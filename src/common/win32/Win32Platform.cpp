#include "common/win32/Win32Platform.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/Utf.h"
#include "common/win32/Handles.h"
#include "common/win32/SystemText.h"
#include "common/win32/WideText.h"

namespace orv {

namespace win32 {

std::wstring Wide(std::string_view text) {
  const std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view text) {
  return Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::wstring WideDisplayText(std::string_view text) {
  const std::wstring source = Wide(text);
  std::wstring display;
  for (std::size_t i = 0; i < source.size(); ++i) {
    display.push_back(source[i]);
    if (source[i] == L'\r' && (i + 1 >= source.size() || source[i + 1] != L'\n')) {
      display.push_back(L'\n');
    }
  }
  return display;
}

}  // namespace win32

namespace {

using win32::Narrow;
using win32::Wide;

Status LastError() {
  return Status(static_cast<WinError>(::GetLastError()));
}

Status Result(BOOL succeeded) {
  return succeeded ? Status::ok() : LastError();
}

// Writes bytes through an opened file, in chunks the call takes, and flushes them.
Status WriteAll(const win32::FileHandle& file, std::string_view bytes) {
  if (!file.valid()) return LastError();
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr)) return LastError();
    done += written;
  }
  return Result(::FlushFileBuffers(file.get()));
}

// Calls a Win32 query that fills a buffer and returns the length it needs when the buffer is too
// small; the empty text when it fails.
template <typename Query>
std::string QueryText(const Query& query) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = query(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    buffer.assign(static_cast<std::size_t>(length) + 1, L'\0');
  }
  return {};
}

// A directory search for exactly this file (wildcards would match other names).
std::optional<WIN32_FIND_DATAW> FindFile(std::string_view path) {
  if (path.substr(path.find_last_of("\\/") + 1).find_first_of("*?") != std::string_view::npos) {
    return std::nullopt;
  }
  WIN32_FIND_DATAW data{};
  const win32::FindHandle find(::FindFirstFileW(Wide(path).c_str(), &data));
  if (!find.valid() || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return data;
}

class Win32InstanceLock final : public InstanceLock {
 public:
  explicit Win32InstanceLock(win32::KernelHandle mutex) : mutex_(std::move(mutex)) {}

 private:
  win32::KernelHandle mutex_;
};

}  // namespace

bool Win32Platform::fileExists(std::string_view path) const {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Platform::folderExists(std::string_view path) const {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Status Win32Platform::copyFile(std::string_view from, std::string_view to, bool failIfExists) {
  return Result(::CopyFileW(Wide(from).c_str(), Wide(to).c_str(), failIfExists));
}

Status Win32Platform::deleteFile(std::string_view path) {
  return Result(::DeleteFileW(Wide(path).c_str()));
}

std::optional<std::uint32_t> Win32Platform::fileAttributes(std::string_view path) const {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

Status Win32Platform::setFileAttributes(std::string_view path, std::uint32_t attributes) {
  return Result(::SetFileAttributesW(Wide(path).c_str(), attributes));
}

std::optional<std::int64_t> Win32Platform::fileAge(std::string_view path) const {
  const auto found = FindFile(path);
  if (!found) return std::nullopt;
  const auto ticks = (static_cast<std::uint64_t>(found->ftLastWriteTime.dwHighDateTime) << 32) |
                     found->ftLastWriteTime.dwLowDateTime;
  constexpr std::uint64_t kTicksPerTwoSeconds = 20'000'000;  // FILETIME counts 100 ns
  return static_cast<std::int64_t>(ticks / kTicksPerTwoSeconds);
}

std::optional<std::uint64_t> Win32Platform::fileSize(std::string_view path) const {
  const auto found = FindFile(path);
  if (!found) return std::nullopt;
  return (static_cast<std::uint64_t>(found->nFileSizeHigh) << 32) | found->nFileSizeLow;
}

std::optional<std::string> Win32Platform::readFile(std::string_view path,
                                                   std::uint64_t maxBytes) const {
  const win32::FileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file shrank while being read
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

Status Win32Platform::writeFile(std::string_view path, std::string_view bytes) {
  const win32::FileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return WriteAll(file, bytes);
}

Status Win32Platform::appendFile(std::string_view path, std::string_view bytes) {
  const win32::FileHandle file(::CreateFileW(Wide(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return WriteAll(file, bytes);
}

Status Win32Platform::replaceFile(std::string_view from, std::string_view to) {
  return Result(::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

Status Win32Platform::renameFile(std::string_view from, std::string_view to) {
  return Result(::MoveFileW(Wide(from).c_str(), Wide(to).c_str()));
}

std::optional<std::string> Win32Platform::readFileHead(std::string_view path,
                                                       std::size_t count) const {
  const win32::FileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes(count, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(count), &read, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(read);
  return bytes;
}

Status Win32Platform::expandFile(std::string_view source, std::string_view target) {
  return win32::ExpandWithLz(Wide(source), Wide(target));
}

Status Win32Platform::createFolder(std::string_view path) {
  return Result(::CreateDirectoryW(Wide(path).c_str(), nullptr));
}

Status Win32Platform::removeFolder(std::string_view path) {
  return Result(::RemoveDirectoryW(Wide(path).c_str()));
}

Status Win32Platform::deleteAtRestart(std::string_view path) {
  return Result(::MoveFileExW(Wide(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

Status Win32Platform::setCurrentFolder(std::string_view path) {
  return Result(::SetCurrentDirectoryW(Wide(path).c_str()));
}

std::string Win32Platform::currentFolder() const {
  return QueryText(
      [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); });
}

std::optional<std::string> Win32Platform::longPathName(std::string_view path) const {
  const std::wstring wide = Wide(path);
  std::string longName = QueryText([&wide](wchar_t* buffer, DWORD size) {
    return ::GetLongPathNameW(wide.c_str(), buffer, size);
  });
  if (longName.empty()) return std::nullopt;
  return longName;
}

std::string Win32Platform::windowsFolder() const {
  return QueryText(
      [](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); });
}

std::string Win32Platform::systemFolder() const {
  return QueryText([](wchar_t* buffer, DWORD size) { return ::GetSystemDirectoryW(buffer, size); });
}

std::string Win32Platform::tempFolder() const {
  return QueryText([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
}

std::string Win32Platform::programFilePath() const {
  std::wstring buffer(MAX_PATH, L'\0');
  while (buffer.size() <= 32768) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

std::string Win32Platform::commandLine() const {
  return Narrow(::GetCommandLineW());
}

std::unique_ptr<InstanceLock> Win32Platform::claimNamedMutex(std::string_view name) {
  const std::wstring wideName = Wide(name);
  if (win32::KernelHandle(::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, wideName.c_str())).valid()) {
    return nullptr;
  }
  win32::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, wideName.c_str()));
  if (!mutex.valid() || ::GetLastError() == ERROR_ALREADY_EXISTS) return nullptr;
  return std::make_unique<Win32InstanceLock>(std::move(mutex));
}

std::string Win32Platform::upperCase(std::string_view text) const {
  return win32::UpperCase(text);
}

std::optional<std::string> Win32Platform::toShiftJis(std::string_view text) const {
  return win32::ToShiftJis(text);
}

std::string Win32Platform::fromShiftJis(std::string_view bytes) const {
  return win32::FromShiftJis(bytes);
}

void Win32Platform::sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

LocalTime Win32Platform::localTime() const {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void Win32Platform::beep() {
  ::MessageBeep(0);
}

}  // namespace orv
