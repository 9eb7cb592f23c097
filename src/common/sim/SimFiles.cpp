// Files read and written in pieces on the simulated Windows: a held file shuts out writers and
// deleters as a handle shared for reading only does; a file written in pieces is made as
// CopyFile makes its destination and deleted when it is dropped unfinished.
#include <chrono>
#include <fstream>

#include "common/sim/SimPlatform.h"

namespace fs = std::filesystem;

namespace orv {

namespace {

class SimHeldFile final : public HeldFile {
 public:
  SimHeldFile(std::map<fs::path, int>& held, fs::path host, std::uint64_t size)
      : held_(held), host_(std::move(host)), in_(host_, std::ios::binary), size_(size) {
    ++held_[host_];
  }
  ~SimHeldFile() override {
    if (--held_[host_] == 0) held_.erase(host_);
  }
  std::uint64_t size() const override { return size_; }
  bool read(std::uint64_t offset, std::span<char> into) const override {
    if (offset > size_ || into.size() > size_ - offset) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(into.data(), static_cast<std::streamsize>(into.size()));
    return in_.gcount() == static_cast<std::streamsize>(into.size());
  }

 private:
  std::map<fs::path, int>& held_;
  fs::path host_;
  mutable std::ifstream in_;
  std::uint64_t size_;
};

class SimFileWriter final : public FileWriter {
 public:
  explicit SimFileWriter(fs::path host)
      : host_(std::move(host)), out_(host_, std::ios::binary | std::ios::trunc) {}
  ~SimFileWriter() override {
    if (finished_) return;
    out_.close();
    std::error_code error;
    fs::remove(host_, error);
  }
  Status write(std::string_view bytes) override {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out_ ? Status::ok() : Status(kErrorWriteFault);
  }
  Status finish(std::uint64_t lastWriteTime) override {
    out_.close();
    if (!out_) return Status(kErrorWriteFault);
    // FILETIME counts 100 ns from 1601.
    using namespace std::chrono;
    constexpr std::int64_t kTicks1601To1970 = 116'444'736'000'000'000;
    const sys_time<nanoseconds> written{
        nanoseconds((static_cast<std::int64_t>(lastWriteTime) - kTicks1601To1970) * 100)};
    std::error_code error;
    fs::last_write_time(host_, file_clock::from_sys(written), error);
    if (error) return Status(kErrorWriteFault);
    finished_ = true;
    return Status::ok();
  }

 private:
  fs::path host_;
  std::ofstream out_;
  bool finished_ = false;
};

}  // namespace

std::unique_ptr<HeldFile> SimPlatform::holdFile(std::string_view path) const {
  const auto target = resolveFile(path);
  std::error_code error;
  if (takeFault(Operation::kReadFile, target) || !target ||
      !fs::is_regular_file(target->host, error)) {
    return nullptr;
  }
  const auto size = fs::file_size(target->host, error);
  if (error) return nullptr;
  return std::make_unique<SimHeldFile>(held_, target->host, size);
}

NewFile SimPlatform::createFileWriter(std::string_view path, bool failIfExists) {
  Resolved target;
  if (const Status status = begin(Operation::kWriteFile, path, target); !status) {
    return {nullptr, status};
  }
  if (target.endsInSeparator) return {nullptr, Status(kErrorInvalidName)};
  std::error_code error;
  if (fs::is_directory(target.host, error)) return {nullptr, Status(kErrorAccessDenied)};
  if (fs::exists(target.host, error)) {
    if (failIfExists) return {nullptr, Status(kErrorFileExists)};
    if (isProtected(target.host)) return {nullptr, Status(kErrorAccessDenied)};
  }
  if (held(target.host)) return {nullptr, Status(kErrorSharingViolation)};
  attributes_.erase(target.host);
  auto writer = std::make_unique<SimFileWriter>(target.host);
  if (!fs::exists(target.host, error)) return {nullptr, Status(kErrorWriteFault)};
  return {std::move(writer), Status::ok()};
}

}  // namespace orv
