#include "common/TextUtils.h"

#include "common/Platform.h"

namespace orv {

namespace {

constexpr char kSeparator = '\\';

bool SelectsTop(std::string_view side) {
  return !side.empty() && side.front() == 'T';
}
bool SelectsBottom(std::string_view side) {
  return !side.empty() && side.front() == 'B';
}

}  // namespace

std::string AddSeparator(std::string_view text, std::string_view side) {
  if (SelectsTop(side) && (text.empty() || text.front() != kSeparator)) {
    return kSeparator + std::string(text);
  }
  if (SelectsBottom(side) && (text.empty() || text.back() != kSeparator)) {
    return std::string(text) + kSeparator;
  }
  return std::string(text);
}

std::string StripSeparator(std::string_view text, std::string_view side) {
  if (SelectsTop(side) && !text.empty() && text.front() == kSeparator) {
    text.remove_prefix(1);
  } else if (SelectsBottom(side) && !text.empty() && text.back() == kSeparator) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

std::string FileNamePart(std::string_view path) {
  const auto last = path.find_last_of("\\:");
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string ParentFolder(std::string_view path) {
  const auto end = path.find_last_of("\\:");
  if (end == std::string_view::npos) return {};
  // Keep the separator of a root ("C:\", "\\"), drop any other.
  if (path[end] == '\\' && end > 0 && path[end - 1] != '\\' && path[end - 1] != ':') {
    return std::string(path.substr(0, end));
  }
  return std::string(path.substr(0, end + 1));
}

std::string MapString(const Platform& platform, std::string_view text, std::uint32_t flags) {
  if ((flags & kMapUpperCase) == 0 || text.empty()) return std::string(text);
  return platform.upperCase(text);
}

std::string ReplaceToken(std::string_view text, std::string_view token,
                         std::string_view replacement) {
  std::string result(text);
  if (token.empty()) return result;
  const std::string joined = AddSeparator(replacement, "B");
  for (auto pos = result.find(token); pos != std::string::npos;
       pos = result.find(token, pos + joined.size())) {
    result = result.substr(0, pos) + joined +
             StripSeparator(std::string_view(result).substr(pos + token.size()), "T");
  }
  return result;
}

}  // namespace orv
