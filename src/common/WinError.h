// Windows error codes the program distinguishes, and the result type of platform operations.
#pragma once

#include <cstdint>

namespace orv {

using WinError = std::uint32_t;

inline constexpr WinError kErrorSuccess = 0;
inline constexpr WinError kErrorFileNotFound = 2;
inline constexpr WinError kErrorPathNotFound = 3;
inline constexpr WinError kErrorAccessDenied = 5;
inline constexpr WinError kErrorNotEnoughMemory = 8;
inline constexpr WinError kErrorWriteFault = 29;
inline constexpr WinError kErrorSharingViolation = 32;
inline constexpr WinError kErrorFileExists = 80;
inline constexpr WinError kErrorInvalidParameter = 87;
inline constexpr WinError kErrorDiskFull = 112;
inline constexpr WinError kErrorInvalidName = 123;
inline constexpr WinError kErrorDirNotEmpty = 145;
inline constexpr WinError kErrorBadPathname = 161;
inline constexpr WinError kErrorAlreadyExists = 183;
inline constexpr WinError kErrorFilenameExcedRange = 206;
inline constexpr WinError kErrorDirectory = 267;

// Success, or the Windows error code of a failed operation.
class [[nodiscard]] Status {
 public:
  constexpr Status() = default;
  constexpr explicit Status(WinError error) : error_(error) {}
  static constexpr Status ok() { return Status(); }

  constexpr bool succeeded() const { return error_ == kErrorSuccess; }
  constexpr explicit operator bool() const { return succeeded(); }
  constexpr WinError error() const { return error_; }
  friend constexpr bool operator==(Status, Status) = default;

 private:
  WinError error_ = kErrorSuccess;
};

}  // namespace orv
