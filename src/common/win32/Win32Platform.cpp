#include "common/win32/Win32Platform.h"

#include <windows.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "common/Szdd.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "common/win32/Handles.h"
#include "common/win32/SystemLibrary.h"
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

// Writes bytes through an opened file, in chunks the call takes.
Status WriteBytes(HANDLE file, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return LastError();
    if (written == 0) return Status(kErrorWriteFault);
    done += written;
  }
  return Status::ok();
}

// Writes bytes through an opened file and flushes them.
Status WriteAll(const win32::FileHandle& file, std::string_view bytes) {
  if (!file.valid()) return LastError();
  if (const Status status = WriteBytes(file.get(), bytes); !status) return status;
  return Result(::FlushFileBuffers(file.get()));
}

// Reads through a handle that shuts out writers and deleters (shared for reading only).
class Win32HeldFile final : public HeldFile {
 public:
  Win32HeldFile(win32::FileHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
  std::uint64_t size() const override { return size_; }
  bool read(std::uint64_t offset, std::span<char> into) const override {
    std::size_t done = 0;
    while (done < into.size()) {
      OVERLAPPED at{};
      const std::uint64_t from = offset + done;
      at.Offset = static_cast<DWORD>(from);
      at.OffsetHigh = static_cast<DWORD>(from >> 32);
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(into.size() - done, 1 << 20));
      DWORD read = 0;
      if (!::ReadFile(file_.get(), into.data() + done, chunk, &read, &at) || read == 0) {
        return false;
      }
      done += read;
    }
    return true;
  }

 private:
  win32::FileHandle file_;
  std::uint64_t size_;
};

class Win32FileWriter final : public FileWriter {
 public:
  Win32FileWriter(win32::FileHandle file, std::wstring path)
      : file_(std::move(file)), path_(std::move(path)) {}
  ~Win32FileWriter() override {
    if (!file_.valid()) return;
    file_.reset();
    ::DeleteFileW(path_.c_str());
  }
  Status write(std::string_view bytes) override { return WriteBytes(file_.get(), bytes); }
  Status finish(std::uint64_t lastWriteTime) override {
    const FILETIME time{static_cast<DWORD>(lastWriteTime), static_cast<DWORD>(lastWriteTime >> 32)};
    if (!::SetFileTime(file_.get(), nullptr, nullptr, &time)) return LastError();
    if (!::CloseHandle(file_.release())) return LastError();
    return Status::ok();
  }

 private:
  win32::FileHandle file_;
  std::wstring path_;
};

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

// What the directory tells of exactly this file (wildcards would match other names), asked of
// the file itself: a directory search reads the whole folder on Wine, a cost per file of a disk.
// Only where the file cannot be asked (Windows refuses it for some files in use) is it searched.
std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileInformation(std::string_view path) {
  if (path.substr(path.find_last_of("\\/") + 1).find_first_of("*?") != std::string_view::npos) {
    return std::nullopt;
  }
  const std::wstring wide = Wide(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    WIN32_FIND_DATAW found{};
    const win32::FindHandle find(::FindFirstFileW(wide.c_str(), &found));
    if (!find.valid()) return std::nullopt;
    data = {found.dwFileAttributes, found.ftCreationTime, found.ftLastAccessTime,
            found.ftLastWriteTime,  found.nFileSizeHigh,  found.nFileSizeLow};
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::nullopt;
  return data;
}

// The information by handle Windows Vista added (the headers give it only to programs that
// require Vista): a file's attributes and its deletion.
struct BasicInformation {
  LARGE_INTEGER CreationTime;
  LARGE_INTEGER LastAccessTime;
  LARGE_INTEGER LastWriteTime;
  LARGE_INTEGER ChangeTime;
  DWORD FileAttributes;
};
struct DispositionInformation {
  BOOLEAN DeleteFile;
};
constexpr int kBasicInformation = 0;        // FileBasicInfo
constexpr int kDispositionInformation = 4;  // FileDispositionInfo
using SetInformation = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
using FinalPathName = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

// An entry itself, not what a junction or symbolic link there leads to; a folder too.
win32::FileHandle OpenEntry(const std::wstring& path, DWORD access) {
  return win32::FileHandle(::CreateFileW(
      path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Whether the opened entry is the one at path: Windows gives the path it was opened through with
// every link on the way followed; where Windows cannot tell (XP), it is taken to be.
bool StillAt(const win32::FileHandle& entry, std::wstring path) {
  static const auto finalPathName =
      win32::KernelFunction<FinalPathName>("GetFinalPathNameByHandleW");
  if (finalPathName == nullptr) return true;
  std::wstring found(32768, L'\0');
  const DWORD length =
      finalPathName(entry.get(), found.data(), static_cast<DWORD>(found.size()), 0);
  if (length == 0 || length >= found.size()) return false;
  found.resize(length);
  if (found.starts_with(L"\\\\?\\UNC\\")) {
    found.replace(0, 8, L"\\\\");
  } else if (found.starts_with(L"\\\\?\\")) {
    found.erase(0, 4);
  }
  while (path.size() > 3 && path.ends_with(L'\\'))
    path.pop_back();
  // Names compare as the file system compares them: letter by letter, in upper case.
  return win32::UpperCase(Narrow(found)) == win32::UpperCase(Narrow(path));
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

std::optional<std::vector<std::string>> Win32Platform::folderEntries(std::string_view path) const {
  WIN32_FIND_DATAW data{};
  const win32::FindHandle find(
      ::FindFirstFileW((Wide(StripSeparator(path, "B")) + L"\\*").c_str(), &data));
  if (!find.valid()) return std::nullopt;
  std::vector<std::string> names;
  do {
    const std::wstring_view name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (::FindNextFileW(find.get(), &data));
  return names;
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
  const auto found = FileInformation(path);
  if (!found) return std::nullopt;
  const auto ticks = (static_cast<std::uint64_t>(found->ftLastWriteTime.dwHighDateTime) << 32) |
                     found->ftLastWriteTime.dwLowDateTime;
  constexpr std::uint64_t kTicksPerTwoSeconds = 20'000'000;  // FILETIME counts 100 ns
  return static_cast<std::int64_t>(ticks / kTicksPerTwoSeconds);
}

std::optional<std::uint64_t> Win32Platform::fileSize(std::string_view path) const {
  const auto found = FileInformation(path);
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
  const std::wstring wide = Wide(path);
  const win32::FileHandle file(
      ::CreateFileW(wide.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &information)) {
    return LastError();
  }
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
      information.nNumberOfLinks != 1 || !StillAt(file, wide)) {
    return Status(kErrorAccessDenied);
  }
  return WriteAll(file, bytes);
}

Status Win32Platform::createNewFile(std::string_view path, std::string_view bytes) {
  const win32::FileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  return WriteAll(file, bytes);
}

std::optional<std::uint32_t> Win32Platform::linkCount(std::string_view path) const {
  const win32::FileHandle entry = OpenEntry(Wide(path), FILE_READ_ATTRIBUTES);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!entry.valid() || !::GetFileInformationByHandle(entry.get(), &information)) {
    return std::nullopt;
  }
  return information.nNumberOfLinks;
}

Status Win32Platform::deleteExactly(std::string_view path) {
  const std::wstring wide = Wide(path);
  const win32::FileHandle entry =
      OpenEntry(wide, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!entry.valid() || !::GetFileInformationByHandle(entry.get(), &information)) {
    return LastError();
  }
  const DWORD attributes = information.dwFileAttributes;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !StillAt(entry, wide)) {
    return Status(kErrorAccessDenied);
  }
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
  static const auto setInformation =
      win32::KernelFunction<SetInformation>("SetFileInformationByHandle");
  if (setInformation == nullptr) {
    // Windows XP deletes by name only; the entry stays open, so it is the one deleted.
    if (writable != attributes) ::SetFileAttributesW(wide.c_str(), writable);
    return Result(folder ? ::RemoveDirectoryW(wide.c_str()) : ::DeleteFileW(wide.c_str()));
  }
  BasicInformation basic{};  // times of zero stay as they are
  if (writable != attributes) {
    basic.FileAttributes = writable == 0 ? FILE_ATTRIBUTE_NORMAL : writable;
    if (!setInformation(entry.get(), kBasicInformation, &basic, sizeof basic)) return LastError();
  }
  DispositionInformation disposition{TRUE};
  const Status deleted = Result(
      setInformation(entry.get(), kDispositionInformation, &disposition, sizeof disposition));
  if (!deleted && writable != attributes) {
    // What stays keeps its read-only attribute.
    basic.FileAttributes = attributes;
    setInformation(entry.get(), kBasicInformation, &basic, sizeof basic);
  }
  return deleted;
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

// The LZ functions' expansion, done here: they expand a byte at a call and write a thousand bytes
// at a time, which under Wine took a third of an unattended install. The same files come out: SZDD
// data of method A expands whole (whatever length the header gives), SZDD of another method is
// refused, and any other file is copied; the target takes the source's time.
Status Win32Platform::expandFile(std::string_view source, std::string_view target) {
  const win32::FileHandle input(::CreateFileW(Wide(source).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                              nullptr));
  if (!input.valid()) return LastError();
  FILETIME written{};
  ::GetFileTime(input.get(), nullptr, nullptr, &written);
  constexpr DWORD kPiece = 1 << 16;
  std::string piece(kPiece, '\0');
  bool readFailed = false;
  const auto next = [&]() -> std::string_view {
    DWORD read = 0;
    if (!::ReadFile(input.get(), piece.data(), kPiece, &read, nullptr)) readFailed = true;
    return std::string_view(piece.data(), readFailed ? 0 : read);
  };
  std::string_view first = next();
  const LzKind kind = ClassifyLzFile(first);
  if (kind == LzKind::kUnknownMethod) return Status(kErrorInvalidParameter);

  const win32::FileHandle output(::CreateFileW(Wide(target).c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output.valid()) return LastError();
  const auto put = [&](std::string_view bytes) {
    return WriteBytes(output.get(), bytes).succeeded();
  };
  // The piece read for the header goes on first, past the header of an SZDD file.
  if (kind == LzKind::kCompressed) first.remove_prefix(kSzddHeaderSize);
  const auto rest = [&] { return first.empty() ? next() : std::exchange(first, {}); };
  bool done = true;
  if (kind == LzKind::kCompressed) {
    done = ExpandSzddData(rest, std::numeric_limits<std::uint64_t>::max(), put);
  } else {
    for (std::string_view bytes = rest(); done && !bytes.empty(); bytes = rest())
      done = put(bytes);
  }
  if (!done || readFailed) return Status(kErrorWriteFault);
  ::SetFileTime(output.get(), nullptr, nullptr, &written);
  return Status::ok();
}

std::unique_ptr<HeldFile> Win32Platform::holdFile(std::string_view path) const {
  win32::FileHandle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size)) return nullptr;
  return std::make_unique<Win32HeldFile>(std::move(file),
                                         static_cast<std::uint64_t>(size.QuadPart));
}

NewFile Win32Platform::createFileWriter(std::string_view path, bool failIfExists) {
  std::wstring wide = Wide(path);
  win32::FileHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr,
                                       failIfExists ? CREATE_NEW : CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {nullptr, LastError()};
  return {std::make_unique<Win32FileWriter>(std::move(file), std::move(wide)), Status::ok()};
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

bool Win32Platform::windows64() const {
  if (program64()) return true;
  // A 32-bit program on 64-bit Windows runs under WOW64 (XP's first releases lack the query, and
  // were 32-bit only).
  static const bool wow64 = [] {
    const auto isWow64 = win32::KernelFunction<BOOL(WINAPI*)(HANDLE, PBOOL)>("IsWow64Process");
    BOOL result = FALSE;
    return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &result) && result;
  }();
  return wow64;
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
