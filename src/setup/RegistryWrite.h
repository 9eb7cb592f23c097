// Writing the registry for the setup run: the integer text of DWORD values, and the key and value
// writes whose failure ends the run with the error box.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/Platform.h"
#include "common/RegistryNames.h"
#include "common/SetupError.h"

namespace orv {

namespace registry_text {
inline constexpr const char* kKeyFailedHead = "ｷｰ ";
inline constexpr const char* kKeyFailedTail = " の作成に失敗しました";
inline constexpr const char* kValueFailedHead = "'";
inline constexpr const char* kValueFailedTail = "' の設定に失敗しました";
}  // namespace registry_text

// The integer text of "(Int)" and "(Dwd)": blanks, then an optional sign and decimal digits in the
// signed 32-bit range, or "$" and hexadecimal digits within 32 bits (the bit pattern). Anything
// else, the empty text included, is 0.
std::uint32_t ParseRegistryInteger(std::string_view text);

// The run's error for a key that cannot be created: "ｷｰ <path> の作成に失敗しました".
SetupError KeyFailure(std::string_view path);

// Create the key (all access), or write one value (creating its key); on failure they return the
// run's error, KeyFailure or "'<name>' の設定に失敗しました".
[[nodiscard]] Raised CreateKeyOrRaise(Platform& platform, RegistryRoot root, std::string_view path);
[[nodiscard]] Raised WriteValueOrRaise(Platform& platform, RegistryRoot root, std::string_view path,
                                       std::string_view name, const RegistryValue& value);

// Keys and values of one root written in turn, as far as the first that fails: that failure is
// the run's error, and nothing after it is created, written or deleted.
class RegistryWriter {
 public:
  RegistryWriter(Platform& platform, RegistryRoot root) : platform_(platform), root_(root) {}

  void create(std::string_view path);
  void write(std::string_view path, std::string_view name, const RegistryValue& value);
  void erase(std::string_view path, std::string_view name);
  const Raised& raised() const { return raised_; }

 private:
  Platform& platform_;
  RegistryRoot root_;
  Raised raised_;
};

}  // namespace orv
