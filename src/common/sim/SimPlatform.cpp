#include "common/sim/SimPlatform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fstream>
#include <system_error>

#include "common/ResolvedPath.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "common/Wow64.h"
#include "common/sim/HostPath.h"

namespace fs = std::filesystem;

namespace orv {

namespace {

constexpr std::uint32_t kStorableAttributes =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kArchive;
// The longest absolute paths Windows takes from a program that is not long-path aware, in UTF-16
// units: MAX_PATH less the terminating zero, and for a new folder room for an 8.3 name besides.
constexpr std::size_t kMaxPathLength = 259;
constexpr std::size_t kMaxFolderPathLength = 247;
constexpr std::size_t kMaxNameLength = 255;

class SimInstanceLock final : public InstanceLock {
 public:
  SimInstanceLock(std::shared_ptr<std::set<std::string>> names, std::string name)
      : names_(std::move(names)), name_(std::move(name)) {}
  ~SimInstanceLock() override { names_->erase(name_); }
  SimInstanceLock(const SimInstanceLock&) = delete;
  SimInstanceLock& operator=(const SimInstanceLock&) = delete;

 private:
  std::shared_ptr<std::set<std::string>> names_;
  std::string name_;
};

// Windows ignores trailing dots and blanks of a name.
std::string_view WindowsName(std::string_view component) {
  if (component == "." || component == "..") return component;
  const auto last = component.find_last_not_of(". ");
  return last == std::string_view::npos ? std::string_view() : component.substr(0, last + 1);
}

bool IsDriveSpec(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

char DriveLetter(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

bool IsFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

}  // namespace

SimPlatform::~SimPlatform() = default;

SimPlatform::SimPlatform(fs::path root)
    : locale_(MakeLocale()), registry_(std::make_unique<SimRegistry>([this](std::string_view name) {
        return upperCase(name);
      })) {
  mapDrive('C', root / "C");
  const std::string roaming = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\";
  const std::string common = "C:\\ProgramData\\Microsoft\\Windows\\";
  specialFolders_ = {{csidl::kProfile, "C:\\Users\\User"},
                     {csidl::kDesktop, "C:\\Users\\User\\Desktop"},
                     {csidl::kPrograms, roaming + "Start Menu\\Programs"},
                     {csidl::kStartup, roaming + "Start Menu\\Programs\\Startup"},
                     {csidl::kSendTo, roaming + "SendTo"},
                     {csidl::kCommonDesktop, "C:\\Users\\Public\\Desktop"},
                     {csidl::kCommonPrograms, common + "Start Menu\\Programs"},
                     {csidl::kCommonStartup, common + "Start Menu\\Programs\\Startup"}};
}

void SimPlatform::mapDrive(char letter, fs::path hostFolder) {
  fs::create_directories(hostFolder);
  drives_[DriveLetter(letter)] = std::move(hostFolder);
}

void SimPlatform::mapShare(std::string_view server, std::string_view share, fs::path hostFolder) {
  fs::create_directories(hostFolder);
  shares_["\\\\" + upperCase(server) + "\\" + upperCase(share)] = std::move(hostFolder);
}

void SimPlatform::injectFault(Operation operation, std::string_view path, WinError error,
                              int times) {
  if (const auto resolved = resolve(path))
    faults_.push_back({operation, resolved->key, error, times});
}

std::optional<SimPlatform::Resolved> SimPlatform::resolve(std::string_view path) const {
  if (path.empty()) return std::nullopt;  // Windows names nothing with an empty path
  std::string full(path);
  // "\\?\" gives the rest to the file system as written; "\\.\" is read as any other path. Both
  // name files only through a drive ("\\?\C:\") or a share ("\\?\UNC\server\share").
  const bool literal = full.starts_with("\\\\?\\");
  for (char& c : full) {
    if (c == '/' && !literal) c = '\\';
  }
  const bool device = literal || full.starts_with("\\\\.\\") || full.starts_with("\\\\?\\");
  if (device) {
    full.erase(0, 4);
    if (full.size() >= 4 && upperCase(full.substr(0, 4)) == "UNC\\") {
      full.replace(0, 4, "\\\\");
    } else if (!IsDriveSpec(full) || full.size() < 3 || full[2] != '\\') {
      return std::nullopt;  // a device or a volume, not a file
    }
  }
  const bool unc = full.starts_with("\\\\");
  if (!unc && !IsDriveSpec(full)) {
    full = full.starts_with("\\") ? currentFolder_.substr(0, 2) + full
                                  : AddSeparator(currentFolder_, "B") + full;
  } else if (!unc && (full.size() == 2 || full[2] != '\\')) {
    // "C:name" is relative to the current folder when that is on drive C:.
    const bool sameDrive = DriveLetter(currentFolder_[0]) == DriveLetter(full[0]);
    full =
        (sameDrive ? AddSeparator(currentFolder_, "B") : full.substr(0, 2) + "\\") + full.substr(2);
  }

  fs::path host;
  std::string key;
  std::size_t pos = 0;
  if (unc) {
    const auto server = full.find('\\', 2);
    const auto share = server == std::string::npos ? server : full.find('\\', server + 1);
    key = upperCase(full.substr(0, share));
    const auto mapped = shares_.find(key);
    if (mapped == shares_.end()) return std::nullopt;
    host = mapped->second;
    pos = share == std::string::npos ? full.size() : share;
  } else {
    const auto drive = drives_.find(DriveLetter(full[0]));
    if (drive == drives_.end()) return std::nullopt;
    host = drive->second;
    key = std::string(1, DriveLetter(full[0])) + ":";
    pos = 2;
  }

  const fs::path base = host;
  const bool endsInSeparator = full.size() > pos && full.back() == '\\';
  std::string absolute = full.substr(0, pos);
  std::vector<std::string> components;
  bool invalidName = false;
  const std::size_t rootEnd = pos;
  while (pos < full.size()) {
    const auto next = std::min(full.find('\\', pos), full.size());
    const std::string_view written = std::string_view(full).substr(pos, next - pos);
    const std::string_view component = literal ? written : WindowsName(written);
    const bool atRoot = pos == rootEnd;
    pos = next + 1;
    if (literal &&
        (component == "." || component == ".." || component.find('/') != std::string_view::npos ||
         (component.empty() && !atRoot))) {
      return std::nullopt;  // taken as a name, which no file can have
    }
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      // Above the drive of a "\\.\" path lies the device namespace, which holds no files.
      if (components.empty() && device) return std::nullopt;
      if (!components.empty()) components.pop_back();
      continue;
    }
    // Windows takes no name longer than 255 UTF-16 units.
    if (Utf8ToUtf16(component).size() > kMaxNameLength) return std::nullopt;
    invalidName = invalidName || ForbiddenName(component);
    components.emplace_back(component);
  }
  for (const std::string& component : components)
    absolute += "\\" + component;
  const std::size_t length = Utf8ToUtf16(absolute).size();
  if (length > kMaxPathLength && !literal) return std::nullopt;

  // A 32-bit program on 64-bit Windows finds <Windows>\SysWOW64 at <Windows>\System32, and the
  // 64-bit system folder at <Windows>\Sysnative; the names it uses stay as it wrote them.
  std::size_t redirected = components.size();
  std::string redirectedTo;
  if (windows64_ && !program64_ && !unc) {
    const std::string windows = upperCase(windowsFolder_);
    std::string prefix = key;
    for (std::size_t i = 0; i + 1 < components.size() && prefix != windows; ++i) {
      prefix += "\\" + upperCase(components[i]);
      if (prefix != windows) continue;
      const std::string next = upperCase(components[i + 1]);
      std::string below;
      for (std::size_t j = i + 2; j < components.size(); ++j)
        below += "\\" + upperCase(components[j]);
      if (next == "SYSNATIVE" || (next == "SYSTEM32" && RedirectedBelowSystem32(below))) {
        redirected = i + 1;
        redirectedTo = next == "SYSTEM32" ? "SysWOW64" : "System32";
      }
    }
  }

  host = base;
  std::string longForm = full.substr(0, rootEnd);
  bool parentExists = true;
  for (std::size_t index = 0; index < components.size(); ++index) {
    const std::string& written = components[index];
    const std::string& component = index == redirected ? redirectedTo : written;
    std::string actual = component;
    if (parentExists && IsFolder(host)) {
      const std::string wanted = upperCase(component);
      std::error_code error;
      bool found = false;
      for (const auto& entry : fs::directory_iterator(host, error)) {
        const std::string name = Utf8(entry.path().filename());
        if (name == component || upperCase(name) == wanted) {
          actual = name;
          found = true;
          break;
        }
      }
      if (const auto alias = shortNames_.find(key + "\\" + wanted);
          !found && alias != shortNames_.end()) {
        actual = alias->second;
      }
    }
    // A name no file can have never reaches the host, whose file system may take it otherwise (a
    // drive, a device): "?" is a name the simulation never makes.
    host /= HostPath(ForbiddenName(actual) ? std::string("?") : actual);
    // A name Windows takes may still be too long for the host, which then has no such file.
    std::error_code error;
    parentExists = fs::exists(host, error);
    const std::string& named = index == redirected ? written : actual;
    key += "\\" + upperCase(named);
    longForm += "\\" + named;
  }
  if (components.empty()) key += "\\";
  return Resolved{host,     key,         length, endsInSeparator && !components.empty(),
                  longForm, invalidName, base};
}

std::optional<SimPlatform::Resolved> SimPlatform::resolveFile(std::string_view path) const {
  auto resolved = resolve(path);
  if (resolved && resolved->endsInSeparator) return std::nullopt;
  return resolved;
}

std::optional<std::string> SimPlatform::longPathName(std::string_view path) const {
  const auto resolved = resolve(path);
  std::error_code error;
  if (!resolved || !fs::exists(resolved->host, error)) return std::nullopt;
  return resolved->longForm + (resolved->endsInSeparator ? "\\" : "");
}

Status SimPlatform::makeFolderLink(std::string_view link, std::string_view target) {
  const auto from = resolve(link);
  const auto to = resolve(target);
  if (!from || !to || !IsFolder(to->host) || !IsFolder(from->host.parent_path())) {
    return Status(kErrorPathNotFound);
  }
  std::error_code error;
  fs::create_directory_symlink(to->host, from->host, error);
  return error ? Status(kErrorAlreadyExists) : Status::ok();
}

Status SimPlatform::makeHardLink(std::string_view link, std::string_view target) {
  const auto from = resolveFile(link);
  const auto to = resolveFile(target);
  if (!from || !to || !IsFile(to->host)) return Status(kErrorFileNotFound);
  std::error_code error;
  fs::create_hard_link(to->host, from->host, error);
  return error ? Status(kErrorAlreadyExists) : Status::ok();
}

Status SimPlatform::setShortName(std::string_view path, std::string_view shortName) {
  const auto resolved = resolve(path);
  std::error_code error;
  if (!resolved || !fs::exists(resolved->host, error)) return Status(kErrorFileNotFound);
  const std::string folder = resolved->key.substr(0, resolved->key.rfind('\\'));
  shortNames_[folder + "\\" + upperCase(shortName)] = Utf8(resolved->host.filename());
  return Status::ok();
}

fs::path SimPlatform::hostPath(std::string_view path) const {
  const auto resolved = resolve(path);
  return resolved ? resolved->host : fs::path();
}

bool SimPlatform::sweepHit() const {
  return ++fallibleCalls_ == failCallNumber_;
}

std::optional<WinError> SimPlatform::takeFault(Operation operation,
                                               const std::optional<Resolved>& path) const {
  if (sweepHit()) return failCallError_;
  if (!path) return std::nullopt;
  for (auto it = faults_.begin(); it != faults_.end(); ++it) {
    if (it->operation != operation || it->key != path->key) continue;
    const WinError error = it->error;
    if (it->times > 0 && --it->times == 0) faults_.erase(it);
    return error;
  }
  return std::nullopt;
}

WinError SimPlatform::missingParentError(const std::optional<Resolved>& path) {
  if (!path || !IsFolder(path->host.parent_path())) return kErrorPathNotFound;
  return kErrorSuccess;
}

Status SimPlatform::begin(Operation operation, std::string_view path, Resolved& target) const {
  const auto resolved = resolve(path);
  if (const auto fault = takeFault(operation, resolved)) return Status(*fault);
  if (resolved && resolved->invalidName) return Status(kErrorInvalidName);
  if (const WinError error = missingParentError(resolved)) return Status(error);
  target = *resolved;
  return Status::ok();
}

void SimPlatform::carryAttributes(const fs::path& from, const fs::path& to) {
  attributes_.erase(to);
  if (const auto found = attributes_.find(from); found != attributes_.end()) {
    attributes_[to] = found->second;
  }
}

std::uint32_t SimPlatform::storedAttributes(const fs::path& host) const {
  const auto found = attributes_.find(host);
  return found == attributes_.end() ? attr::kArchive : found->second;
}

bool SimPlatform::isProtected(const fs::path& host) const {
  constexpr std::uint32_t kRefused = attr::kReadOnly | attr::kHidden | attr::kSystem;
  return IsFile(host) && (storedAttributes(host) & kRefused) != 0;
}

bool SimPlatform::fileExists(std::string_view path) const {
  const auto resolved = resolveFile(path);
  return resolved && IsFile(resolved->host);
}

bool SimPlatform::folderExists(std::string_view path) const {
  const auto resolved = resolve(path);
  return resolved && IsFolder(resolved->host);
}

std::optional<std::vector<std::string>> SimPlatform::folderEntries(std::string_view path) const {
  const auto resolved = resolve(path);
  if (!resolved || !IsFolder(resolved->host)) return std::nullopt;
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(resolved->host, error))
    names.push_back(Utf8(entry.path().filename()));
  if (error) return std::nullopt;
  return names;
}

Status SimPlatform::copyFile(std::string_view from, std::string_view to, bool failIfExists) {
  const auto source = resolve(from);
  const auto target = resolve(to);
  if (const auto fault = takeFault(Operation::kCopyFile, source)) return Status(*fault);
  if (const auto fault = takeFault(Operation::kCopyFile, target)) return Status(*fault);
  if ((source && source->endsInSeparator) ||
      (target && (target->endsInSeparator || target->invalidName))) {
    return Status(kErrorInvalidName);
  }
  if (!source || !IsFile(source->host)) {
    if (source && IsFolder(source->host)) return Status(kErrorAccessDenied);
    return Status(missingParentError(source) != kErrorSuccess ? kErrorPathNotFound
                                                              : kErrorFileNotFound);
  }
  if (const WinError error = missingParentError(target)) return Status(error);
  if (IsFolder(target->host)) return Status(kErrorAccessDenied);
  if (IsFile(target->host)) {
    if (failIfExists) return Status(kErrorFileExists);
    if (isProtected(target->host)) return Status(kErrorAccessDenied);
  }
  if (source->host == target->host || held(target->host)) return Status(kErrorSharingViolation);
  std::error_code error;
  fs::copy_file(source->host, target->host, fs::copy_options::overwrite_existing, error);
  if (error) return Status(kErrorWriteFault);
  // Windows copies the last-write time and the attributes with the content.
  fs::last_write_time(target->host, fs::last_write_time(source->host, error), error);
  carryAttributes(source->host, target->host);
  return Status::ok();
}

Status SimPlatform::deleteFile(std::string_view path) {
  Resolved target;
  if (const Status status = begin(Operation::kDeleteFile, path, target); !status) return status;
  if (target.endsInSeparator) return Status(kErrorInvalidName);
  if (IsFolder(target.host)) return Status(kErrorAccessDenied);
  if (!IsFile(target.host)) return Status(kErrorFileNotFound);
  if ((storedAttributes(target.host) & attr::kReadOnly) != 0) return Status(kErrorAccessDenied);
  if (held(target.host)) return Status(kErrorSharingViolation);
  std::error_code error;
  if (!fs::remove(target.host, error)) return Status(kErrorAccessDenied);
  attributes_.erase(target.host);
  return Status::ok();
}

Status SimPlatform::deleteAtRestart(std::string_view path) {
  Resolved target;
  if (const Status status = begin(Operation::kDeleteAtRestart, path, target); !status) {
    return status;
  }
  if (!IsFile(target.host) && !IsFolder(target.host)) return Status(kErrorFileNotFound);
  pendingDeletions_.emplace_back(path);
  return Status::ok();
}

std::optional<std::uint32_t> SimPlatform::fileAttributes(std::string_view path) const {
  const auto target = resolve(path);
  if (!target) return std::nullopt;
  if (IsHostLink(target->host)) return attr::kDirectory | attr::kReparsePoint;
  if (IsFolder(target->host)) return attr::kDirectory;
  if (!IsFile(target->host) || target->endsInSeparator) return std::nullopt;
  const std::uint32_t stored = storedAttributes(target->host);
  return stored == 0 ? attr::kNormal : stored;
}

Status SimPlatform::setFileAttributes(std::string_view path, std::uint32_t attributes) {
  Resolved target;
  if (const Status status = begin(Operation::kSetAttributes, path, target); !status) return status;
  if (IsFolder(target.host)) return Status::ok();
  if (target.endsInSeparator) return Status(kErrorInvalidName);
  if (!IsFile(target.host)) return Status(kErrorFileNotFound);
  attributes_[target.host] = attributes & kStorableAttributes;
  return Status::ok();
}

std::optional<std::int64_t> SimPlatform::fileAge(std::string_view path) const {
  const auto target = resolveFile(path);
  if (!target || !IsFile(target->host)) return std::nullopt;
  std::error_code error;
  const auto written = fs::last_write_time(target->host, error);
  if (error) return std::nullopt;
  // Two-second steps since 1601, as FILETIME counts, rounded down for times before 1970 too.
  using namespace std::chrono;
  constexpr std::int64_t kSeconds1601To1970 = 11'644'473'600;
  const auto seconds = floor<std::chrono::seconds>(file_clock::to_sys(written));
  const std::int64_t since1601 = seconds.time_since_epoch().count() + kSeconds1601To1970;
  return since1601 >= 0 ? since1601 / 2 : (since1601 - 1) / 2;
}

std::optional<std::uint64_t> SimPlatform::fileSize(std::string_view path) const {
  const auto target = resolveFile(path);
  if (takeFault(Operation::kFileSize, target) || !target || !IsFile(target->host)) {
    return std::nullopt;
  }
  if (const auto reported = reportedSizes_.find(target->key); reported != reportedSizes_.end()) {
    return reported->second;
  }
  std::error_code error;
  const auto size = fs::file_size(target->host, error);
  return error ? std::nullopt : std::optional<std::uint64_t>(size);
}

void SimPlatform::reportSize(std::string_view path, std::uint64_t size) {
  if (const auto resolved = resolve(path)) reportedSizes_[resolved->key] = size;
}

std::optional<std::string> SimPlatform::readFile(std::string_view path,
                                                 std::uint64_t maxBytes) const {
  const auto target = resolve(path);
  if (takeFault(Operation::kReadFile, target)) return std::nullopt;
  const auto size = fileSize(path);
  if (!size || *size > maxBytes) return std::nullopt;
  std::ifstream in(target->host, std::ios::binary);
  std::string bytes(*size, '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return std::nullopt;
  return bytes;
}

Status SimPlatform::writeFile(std::string_view path, std::string_view bytes) {
  return putBytes(path, bytes, Write::kCreateAlways);
}

Status SimPlatform::appendFile(std::string_view path, std::string_view bytes) {
  return putBytes(path, bytes, Write::kAppend);
}

Status SimPlatform::createNewFile(std::string_view path, std::string_view bytes) {
  return putBytes(path, bytes, Write::kCreateNew);
}

// A file made anew (its attributes go, as Windows' CREATE_ALWAYS clears them), added to, or made
// only where nothing is.
Status SimPlatform::putBytes(std::string_view path, std::string_view bytes, Write mode) {
  Resolved target;
  if (const Status status = begin(Operation::kWriteFile, path, target); !status) return status;
  if (target.endsInSeparator) return Status(kErrorInvalidName);
  std::error_code error;
  if (mode == Write::kCreateNew && (fs::exists(target.host, error) || IsHostLink(target.host))) {
    return Status(kErrorFileExists);
  }
  if (IsFolder(target.host) || isProtected(target.host)) return Status(kErrorAccessDenied);
  if (held(target.host)) return Status(kErrorSharingViolation);
  const bool append = mode == Write::kAppend;
  // Added to as the entry itself: never through a link, nor to a file with another name.
  if (append && (LinkOnTheWay(target) ||
                 (IsFile(target.host) && fs::hard_link_count(target.host, error) != 1))) {
    return Status(kErrorAccessDenied);
  }
  std::ofstream out(target.host, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
    return Status(kErrorWriteFault);
  }
  if (!append) attributes_.erase(target.host);
  return Status::ok();
}

bool SimPlatform::LinkOnTheWay(const Resolved& target) {
  for (fs::path on = target.host; on != target.base && on.has_relative_path();
       on = on.parent_path()) {
    if (IsHostLink(on)) return true;
  }
  return false;
}

std::optional<std::uint32_t> SimPlatform::linkCount(std::string_view path) const {
  const auto target = resolve(path);
  std::error_code error;
  if (!target || !fs::exists(target->host, error)) return std::nullopt;
  if (IsFolder(target->host)) return 1;
  const auto links = fs::hard_link_count(target->host, error);
  return error ? std::nullopt : std::optional<std::uint32_t>(static_cast<std::uint32_t>(links));
}

Status SimPlatform::deleteExactly(std::string_view path) {
  Resolved target;
  if (const Status status = begin(Operation::kDeleteFile, path, target); !status) return status;
  if (target.endsInSeparator && !IsFolder(target.host)) return Status(kErrorInvalidName);
  // Opened as the entry itself, a link there is refused; opened through a link on the way, the
  // entry is another one than the path names.
  if (LinkOnTheWay(target)) return Status(kErrorAccessDenied);
  std::error_code error;
  if (IsFolder(target.host)) {
    if (!fs::is_empty(target.host, error)) return Status(kErrorDirNotEmpty);
  } else if (!IsFile(target.host)) {
    return Status(kErrorFileNotFound);
  }
  if (held(target.host)) return Status(kErrorSharingViolation);
  if (!fs::remove(target.host, error)) return Status(kErrorAccessDenied);
  attributes_.erase(target.host);
  return Status::ok();
}

Status SimPlatform::replaceFile(std::string_view from, std::string_view to) {
  const auto source = resolve(from);
  const auto target = resolve(to);
  if (const auto fault = takeFault(Operation::kReplaceFile, source)) return Status(*fault);
  if (const auto fault = takeFault(Operation::kReplaceFile, target)) return Status(*fault);
  if ((source && source->endsInSeparator) ||
      (target && (target->endsInSeparator || target->invalidName))) {
    return Status(kErrorInvalidName);
  }
  if (!source || !IsFile(source->host)) return Status(kErrorFileNotFound);
  if (const WinError error = missingParentError(target)) return Status(error);
  if (held(source->host) || held(target->host)) return Status(kErrorSharingViolation);
  if (IsFolder(target->host) ||
      (IsFile(target->host) && (storedAttributes(target->host) & attr::kReadOnly))) {
    return Status(kErrorAccessDenied);
  }
  std::error_code error;
  fs::rename(source->host, target->host, error);
  if (error) return Status(kErrorAccessDenied);
  carryAttributes(source->host, target->host);
  attributes_.erase(source->host);
  return Status::ok();
}

Status SimPlatform::renameFile(std::string_view from, std::string_view to) {
  const auto source = resolve(from);
  Resolved target;
  if (const auto fault = takeFault(Operation::kRenameFile, source)) return Status(*fault);
  if (const Status status = begin(Operation::kRenameFile, to, target); !status) return status;
  if ((source && source->endsInSeparator) || target.endsInSeparator) {
    return Status(kErrorInvalidName);
  }
  if (!source || !IsFile(source->host))
    return Status(missingParentError(source) ? kErrorPathNotFound : kErrorFileNotFound);
  if (held(source->host)) return Status(kErrorSharingViolation);
  std::error_code error;
  if (fs::exists(target.host, error) && source->host != target.host) {
    return Status(kErrorAlreadyExists);
  }
  fs::rename(source->host, target.host, error);
  if (error) return Status(kErrorAccessDenied);
  carryAttributes(source->host, target.host);
  if (source->host != target.host) attributes_.erase(source->host);
  return Status::ok();
}

Status SimPlatform::createFolder(std::string_view path) {
  const auto target = resolve(path);
  if (const auto fault = takeFault(Operation::kCreateFolder, target)) return Status(*fault);
  if (target && target->invalidName) return Status(kErrorInvalidName);
  if (target && target->length > kMaxFolderPathLength) return Status(kErrorFilenameExcedRange);
  if (target && (IsFolder(target->host) || IsFile(target->host)))
    return Status(kErrorAlreadyExists);
  if (const WinError error = missingParentError(target)) return Status(error);
  std::error_code error;
  if (!fs::create_directory(target->host, error)) return Status(kErrorAccessDenied);
  return Status::ok();
}

Status SimPlatform::removeFolder(std::string_view path) {
  Resolved target;
  if (const Status status = begin(Operation::kRemoveFolder, path, target); !status) return status;
  if (IsFile(target.host)) return Status(kErrorDirectory);
  if (!IsFolder(target.host)) return Status(kErrorFileNotFound);
  std::error_code error;
  // A link goes itself, whatever the folder it leads to holds.
  if (!IsHostLink(target.host) && !fs::is_empty(target.host, error))
    return Status(kErrorDirNotEmpty);
  if (!fs::remove(target.host, error)) return Status(kErrorAccessDenied);
  return Status::ok();
}

Status SimPlatform::setCurrentFolder(std::string_view path) {
  Resolved target;
  if (const Status status = begin(Operation::kSetCurrentFolder, path, target); !status)
    return status;
  if (!IsFolder(target.host))
    return Status(IsFile(target.host) ? kErrorDirectory : kErrorFileNotFound);
  // Keep the folder as written, made absolute, like GetCurrentDirectory reports it.
  std::string absolute;
  if (target.key.starts_with("\\\\")) {
    absolute = target.key;
  } else {
    absolute = target.key.substr(0, 2);
    fs::path relative = target.host.lexically_relative(drives_.at(target.key[0]));
    for (const auto& part : relative) {
      if (part != ".") absolute += "\\" + Utf8(part);
    }
  }
  currentFolder_ = absolute.size() == 2 ? absolute + "\\" : absolute;
  return Status::ok();
}

std::unique_ptr<InstanceLock> SimPlatform::claimNamedMutex(std::string_view name) {
  if (!mutexNames_->insert(std::string(name)).second) return nullptr;
  return std::make_unique<SimInstanceLock>(mutexNames_, std::string(name));
}

// --- The platform's registry operations -------------------------------------------------------

std::string SimPlatform::viewedKey(RegistryHive hive, std::string_view path) const {
  if (SeenView(*this, hive.view) != RegistryView::k32 || !windows64_) return std::string(path);
  return KeyOf32BitView(*this, hive.root, path);
}

std::string SimPlatform::registryFaultKey(RegistryRoot root, std::string_view path) const {
  return "REGISTRY:" + std::to_string(static_cast<int>(root)) + ":" + upperCase(path);
}

void SimPlatform::injectRegistryFault(Operation operation, RegistryRoot root, std::string_view path,
                                      WinError error, int times) {
  faults_.push_back({operation, registryFaultKey(root, path), error, times});
}

std::optional<WinError> SimPlatform::takeRegistryFault(Operation operation, RegistryRoot root,
                                                       std::string_view path) const {
  return takeFault(operation, Resolved{{}, registryFaultKey(root, path), 0, false, {}, false, {}});
}

std::string SimPlatform::registryText() const {
  return registry_->text();
}

SimSnapshot SimPlatform::snapshot() const {
  SimSnapshot snapshot;
  const auto walk = [&snapshot](const std::string& windowsRoot, const fs::path& hostRoot) {
    for (const auto& entry : fs::recursive_directory_iterator(hostRoot)) {
      std::string path = windowsRoot;
      for (const auto& component : entry.path().lexically_relative(hostRoot))
        path += "\\" + Utf8(component);
      if (entry.is_directory()) {
        snapshot.folders.insert(path);
      } else {
        std::ifstream in(entry.path(), std::ios::binary);
        snapshot.files[path].assign(std::istreambuf_iterator<char>(in), {});
      }
    }
  };
  for (const auto& [letter, host] : drives_)
    walk(std::string(1, letter) + ":", host);
  for (const auto& [share, host] : shares_)
    walk(share, host);
  registry_->collect(snapshot.registryKeys, snapshot.registryValues);
  return snapshot;
}

Status SimPlatform::createSystemFolders() {
  for (const std::string& folder :
       {windowsFolder_, systemFolder_, tempFolder_, std::string(FolderPart(programFilePath_))}) {
    if (const Status status = createFolderPath(folder); !status) return status;
  }
  for (const auto& [id, folder] : specialFolders_) {
    if (const Status status = createFolderPath(folder); !status) return status;
  }
  return Status::ok();
}

Status SimPlatform::createRegistryKey(RegistryHive hive, std::string_view path) {
  if (path.empty()) return Status(kErrorInvalidParameter);
  if (const auto fault = takeRegistryFault(Operation::kCreateRegistryKey, hive.root, path)) {
    return Status(*fault);
  }
  return registry_->createKey(hive.root, viewedKey(hive, path));
}

Status SimPlatform::writeRegistryValue(RegistryHive hive, std::string_view path,
                                       std::string_view name, const RegistryValue& value) {
  if (path.empty()) return Status(kErrorInvalidParameter);
  if (const auto fault = takeRegistryFault(Operation::kWriteRegistryValue, hive.root, path)) {
    return Status(*fault);
  }
  return registry_->writeValue(hive.root, viewedKey(hive, path), name, value);
}

std::optional<RegistryValue> SimPlatform::readRegistryValue(RegistryHive hive,
                                                            std::string_view path,
                                                            std::string_view name) const {
  return registry_->readValue(hive.root, viewedKey(hive, path), name);
}

bool SimPlatform::registryKeyExists(RegistryHive hive, std::string_view path) const {
  return registry_->keyExists(hive.root, viewedKey(hive, path));
}

Status SimPlatform::deleteRegistryKey(RegistryHive hive, std::string_view path) {
  if (path.empty()) return Status(kErrorInvalidParameter);
  if (const auto fault = takeRegistryFault(Operation::kDeleteRegistryKey, hive.root, path)) {
    return Status(*fault);
  }
  return registry_->deleteKey(hive.root, viewedKey(hive, path));
}

Status SimPlatform::deleteRegistryValue(RegistryHive hive, std::string_view path,
                                        std::string_view name) {
  if (const auto fault = takeRegistryFault(Operation::kDeleteRegistryKey, hive.root, path)) {
    return Status(*fault);
  }
  return registry_->deleteValue(hive.root, viewedKey(hive, path), name);
}

bool SimPlatform::registryKeyEmpty(RegistryHive hive, std::string_view path) const {
  return registry_->keyEmpty(hive.root, viewedKey(hive, path));
}

}  // namespace orv
