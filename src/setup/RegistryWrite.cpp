#include "setup/RegistryWrite.h"

#include <array>
#include <limits>
#include <utility>

namespace orv {

namespace {

int DigitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// The digits as a number no larger than limit; nullopt for no digits, another character or a
// number past the limit.
std::optional<std::uint64_t> Digits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    value = value * base + static_cast<std::uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::uint32_t ParseRegistryInteger(std::string_view text) {
  while (text.starts_with(' '))
    text.remove_prefix(1);
  if (text.starts_with('$')) {
    return static_cast<std::uint32_t>(
        Digits(text.substr(1), 16, std::numeric_limits<std::uint32_t>::max()).value_or(0));
  }
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  constexpr std::uint64_t kMaximum = std::numeric_limits<std::int32_t>::max();
  const auto magnitude = Digits(text, 10, negative ? kMaximum + 1 : kMaximum);
  if (!magnitude) return 0;
  return negative ? static_cast<std::uint32_t>(0 - *magnitude)
                  : static_cast<std::uint32_t>(*magnitude);
}

SetupError KeyFailure(std::string_view path) {
  return {registry_text::kKeyFailedHead + std::string(path) + registry_text::kKeyFailedTail};
}

Raised CreateKeyOrRaise(Platform& platform, RegistryRoot root, std::string_view path) {
  if (platform.createRegistryKey(root, path)) return std::nullopt;
  return KeyFailure(path);
}

Raised WriteValueOrRaise(Platform& platform, RegistryRoot root, std::string_view path,
                         std::string_view name, const RegistryValue& value) {
  if (platform.writeRegistryValue(root, path, name, value)) return std::nullopt;
  return SetupError{registry_text::kValueFailedHead + std::string(name) +
                    registry_text::kValueFailedTail};
}

void RegistryWriter::create(std::string_view path) {
  if (!raised_) raised_ = CreateKeyOrRaise(platform_, root_, path);
}

void RegistryWriter::write(std::string_view path, std::string_view name,
                           const RegistryValue& value) {
  if (!raised_) raised_ = WriteValueOrRaise(platform_, root_, path, name, value);
}

void RegistryWriter::erase(std::string_view path, std::string_view name) {
  if (!raised_) (void)platform_.deleteRegistryValue(root_, path, name);
}

}  // namespace orv
