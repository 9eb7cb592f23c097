#include "common/IniDocument.h"

#include <algorithm>

#include "common/Platform.h"
#include "common/Utf.h"

namespace orv {

namespace {

// Windows trims spaces, tabs and vertical tabs around names and values.
constexpr std::string_view kBlanks = " \t\v";
constexpr std::string_view kNewLine = "\r\n";

std::string_view TrimLeft(std::string_view text, std::string_view blanks = kBlanks) {
  const auto first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view TrimRight(std::string_view text, std::string_view blanks = kBlanks) {
  const auto last = text.find_last_not_of(blanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view Trim(std::string_view text, std::string_view blanks = kBlanks) {
  return TrimLeft(TrimRight(text, blanks), blanks);
}

struct ParsedLine {
  enum class Kind { kNone, kSection, kKey } kind = Kind::kNone;
  std::string_view name;
  std::string_view value;
};

ParsedLine Classify(std::string_view text) {
  text = Trim(text);
  if (text.empty() || text.front() == ';') return {};
  if (text.front() == '[') {
    const auto close = text.find(']');
    const auto name = text.substr(1, close == std::string_view::npos ? text.npos : close - 1);
    return {ParsedLine::Kind::kSection, Trim(name), {}};
  }
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  return {ParsedLine::Kind::kKey, TrimRight(text.substr(0, equals)),
          TrimLeft(text.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool NamesEqual(const Platform& platform, std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) return AsciiEqualNoCase(a, b);
  return platform.upperCase(a) == platform.upperCase(b);
}

// Splits bytes into lines with their endings; code units are two bytes wide in UTF-16.
template <typename OnLine>
void SplitLines(std::string_view bytes, std::size_t unit, const OnLine& onLine) {
  const auto unitIs = [&](std::size_t pos, char c) {
    return bytes[pos] == c && (unit == 1 || bytes[pos + 1] == '\0');
  };
  std::size_t start = 0;
  std::size_t pos = 0;
  const std::size_t end = bytes.size() - bytes.size() % unit;
  while (pos < end) {
    if (!unitIs(pos, '\r') && !unitIs(pos, '\n')) {
      pos += unit;
      continue;
    }
    const std::size_t contentEnd = pos;
    const bool crlf = unitIs(pos, '\r') && pos + unit < end && unitIs(pos + unit, '\n');
    pos += crlf ? 2 * unit : unit;
    onLine(bytes.substr(start, contentEnd - start), bytes.substr(contentEnd, pos - contentEnd));
    start = pos;
  }
  if (start < bytes.size()) onLine(bytes.substr(start), std::string_view());
}

}  // namespace

IniDocument IniDocument::Parse(const Platform& platform, std::string_view bytes) {
  IniDocument document;
  document.encoding_ = DetectEncoding(bytes);
  bytes.remove_prefix(ByteOrderMark(document.encoding_).size());
  const std::size_t unit = document.encoding_ == FileEncoding::kUtf16LeBom ? 2 : 1;
  SplitLines(bytes, unit, [&](std::string_view content, std::string_view ending) {
    document.lines_.push_back({DecodeText(platform, document.encoding_, content),
                               DecodeText(platform, document.encoding_, ending),
                               std::string(content) + std::string(ending), false});
  });
  // A stray byte at the end of a UTF-16 file is no character; written back it would shift every
  // byte after it, so the last line is written anew without it.
  if (bytes.size() % unit != 0 && !document.lines_.empty()) document.lines_.back().changed = true;
  return document;
}

std::vector<IniDocument::OutlineLine> IniDocument::Outline() const {
  std::vector<OutlineLine> outline;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const ParsedLine parsed = Classify(lines_[i].text);
    if (parsed.kind == ParsedLine::Kind::kNone) continue;
    outline.push_back({i + 1, parsed.kind == ParsedLine::Kind::kSection, std::string(parsed.name),
                       std::string(Unquote(parsed.value))});
  }
  return outline;
}

std::optional<std::size_t> IniDocument::FindSection(const Platform& platform,
                                                    std::string_view section) const {
  section = Trim(section, " ");
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const ParsedLine parsed = Classify(lines_[i].text);
    if (parsed.kind == ParsedLine::Kind::kSection && NamesEqual(platform, parsed.name, section)) {
      return i;
    }
  }
  return std::nullopt;
}

IniDocument::KeySearch IniDocument::FindKey(const Platform& platform, std::size_t sectionLine,
                                            std::string_view key) const {
  key = Trim(key, " ");
  KeySearch search{std::nullopt, sectionLine + 1};
  for (std::size_t i = sectionLine + 1; i < lines_.size(); ++i) {
    const ParsedLine parsed = Classify(lines_[i].text);
    if (parsed.kind == ParsedLine::Kind::kSection) break;
    if (parsed.kind != ParsedLine::Kind::kKey) continue;
    search.insertAt = i + 1;
    if (!search.keyLine && NamesEqual(platform, parsed.name, key)) search.keyLine = i;
  }
  return search;
}

std::optional<std::string> IniDocument::Value(const Platform& platform, std::string_view section,
                                              std::string_view key) const {
  const auto sectionLine = FindSection(platform, section);
  if (!sectionLine) return std::nullopt;
  const auto keyLine = FindKey(platform, *sectionLine, key).keyLine;
  if (!keyLine) return std::nullopt;
  return std::string(Unquote(Classify(lines_[*keyLine].text).value));
}

void IniDocument::InsertLine(std::size_t at, std::string text) {
  if (at > 0 && lines_[at - 1].ending.empty()) {
    // The line before has no ending (the file's last line): end it without re-encoding it.
    Line& before = lines_[at - 1];
    before.ending = kNewLine;
    before.raw +=
        encoding_ == FileEncoding::kUtf16LeBom ? Utf8ToUtf16Le(kNewLine) : std::string(kNewLine);
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                Line{std::move(text), std::string(kNewLine), {}, true});
}

void IniDocument::SetValue(const Platform& platform, std::string_view section, std::string_view key,
                           std::string_view value) {
  const auto sectionLine = FindSection(platform, section);
  const std::string keyText(Trim(key, " "));
  if (!sectionLine) {
    InsertLine(lines_.size(), "[" + std::string(Trim(section, " ")) + "]");
    InsertLine(lines_.size(), keyText + "=" + std::string(value));
    return;
  }
  const KeySearch search = FindKey(platform, *sectionLine, key);
  if (!search.keyLine) {
    InsertLine(search.insertAt, keyText + "=" + std::string(value));
    return;
  }
  Line& line = lines_[*search.keyLine];
  line.text = line.text.substr(0, line.text.find('=') + 1) + std::string(value);
  // Windows ends a line it writes with CR LF, the file's last line too.
  if (line.ending.empty()) line.ending = kNewLine;
  line.changed = true;
}

std::string IniDocument::Serialize(const Platform& platform) const {
  std::string bytes(ByteOrderMark(encoding_));
  for (const Line& line : lines_) {
    if (!line.changed) {
      bytes += line.raw;
      continue;
    }
    const auto encoded = EncodeText(platform, encoding_, line.text + line.ending);
    if (!encoded) {
      std::string text;
      for (const Line& each : lines_)
        text += each.text + each.ending;
      return std::string(ByteOrderMark(FileEncoding::kUtf8Bom)) + text;
    }
    bytes += *encoded;
  }
  return bytes;
}

}  // namespace orv
