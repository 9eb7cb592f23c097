// The simulated LZ expansion, on libmspack: SZDD files expand as the Windows LZ functions
// expand them, SZDD of another method than A is refused as they refuse it, anything else is
// copied unchanged.
#include <fstream>

#include "common/Szdd.h"
#include "common/sim/SimPlatform.h"
#include "common/sim/SzddDecompressor.h"

namespace fs = std::filesystem;

namespace orv {

Status SimPlatform::expandFile(std::string_view source, std::string_view target) {
  Resolved to;
  if (const Status status = begin(Operation::kExpandFile, target, to); !status) return status;
  if (to.endsInSeparator) return Status(kErrorInvalidName);
  const auto from = resolveFile(source);
  std::error_code error;
  if (!from || !fs::is_regular_file(from->host, error)) return Status(kErrorFileNotFound);
  if (fs::is_directory(to.host, error) || isProtected(to.host)) return Status(kErrorAccessDenied);
  if (held(to.host)) return Status(kErrorSharingViolation);
  const auto head = readFileHead(source, kSzddHeaderSize);
  const LzKind kind = head ? ClassifyLzFile(*head) : LzKind::kPlain;
  if (kind == LzKind::kUnknownMethod) return Status(kErrorInvalidParameter);
  if (kind == LzKind::kCompressed) {
    if (!SzddDecompressor().expand(from->host, to.host)) return Status(kErrorWriteFault);
  } else if (!fs::copy_file(from->host, to.host, fs::copy_options::overwrite_existing, error)) {
    return Status(kErrorWriteFault);
  }
  attributes_.erase(to.host);
  fs::last_write_time(to.host, fs::last_write_time(from->host, error), error);
  return Status::ok();
}

std::optional<std::string> SimPlatform::readFileHead(std::string_view path,
                                                     std::size_t count) const {
  const auto target = resolveFile(path);
  std::error_code error;
  if (takeFault(Operation::kReadFile, target) || !target ||
      !fs::is_regular_file(target->host, error)) {
    return std::nullopt;
  }
  std::ifstream in(target->host, std::ios::binary);
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

}  // namespace orv
