#include "common/TextUtils.h"

#include <algorithm>

#include "common/Platform.h"
#include "common/Utf.h"

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

std::string FolderPart(std::string_view path) {
  return std::string(path.substr(0, path.size() - FileNamePart(path).size()));
}

std::string NormalisePath(std::string_view path) {
  std::string start;
  std::size_t pos = 0;
  if (path.size() >= 2 && path[1] == ':') {
    pos = 2;
  } else if (path.starts_with("\\\\")) {
    const auto server = path.find('\\', 2);
    const auto share = server == std::string_view::npos ? server : path.find('\\', server + 1);
    pos = share == std::string_view::npos ? path.size() : share;
  }
  start = path.substr(0, pos);
  const bool rooted = pos < path.size() && path[pos] == kSeparator;
  std::vector<std::string_view> parts;
  while (pos < path.size()) {
    const auto end = std::min(path.find(kSeparator, pos), path.size());
    const std::string_view part = path.substr(pos, end - pos);
    pos = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result = start;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || rooted) result += kSeparator;
    result += parts[i];
  }
  if (!path.empty() && path.back() == kSeparator &&
      (result.empty() || result.back() != kSeparator)) {
    result += kSeparator;
  }
  return result;
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

std::vector<std::string> KeyNames(std::string_view path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    if (end > start) names.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  return lines;
}

std::optional<std::string_view> LeadingToken(std::string_view text, std::size_t length) {
  const std::string_view token = FirstCharacters(text, length);
  const bool full = length > 0 && token.size() > FirstCharacters(text, length - 1).size();
  if (text.starts_with('(') || (full && token.ends_with(')'))) return token;
  return std::nullopt;
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
