#include "common/IniFile.h"

#include "common/IniDocument.h"
#include "common/Platform.h"
#include "common/TextEncoding.h"
#include "common/Utf.h"

namespace orv {

namespace {

std::string_view TrimTrailingSpaces(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != text.npos;
}

}  // namespace

IniReader::IniReader(const Platform& platform, std::string_view file) : platform_(platform) {
  if (const auto bytes = platform.readFile(file, kIniFileMaxBytes)) {
    document_ = std::make_unique<const IniDocument>(IniDocument::Parse(platform, *bytes));
  }
}

IniReader::IniReader(const Platform& platform) : platform_(platform) {}

IniReader IniReader::FromBytes(const Platform& platform, std::string_view bytes) {
  IniReader reader(platform);
  reader.document_ = std::make_unique<const IniDocument>(IniDocument::Parse(platform, bytes));
  return reader;
}

IniReader::IniReader(IniReader&&) noexcept = default;
IniReader::~IniReader() = default;

std::string IniReader::Read(std::string_view section, std::string_view key,
                            std::string_view defaultValue) const {
  const std::optional<std::string> value =
      document_ ? document_->Value(platform_, section, key) : std::nullopt;
  const std::string_view result =
      value ? std::string_view(*value) : TrimTrailingSpaces(defaultValue);
  return std::string(TruncateToShiftJisBytes(result, kIniValueMaxBytes));
}

std::vector<NumberedValue> ReadNumberedValues(const IniReader& ini, std::string_view section,
                                              std::string_view stem, int maximum) {
  std::vector<NumberedValue> values;
  for (int index = 1; index <= maximum; ++index) {
    std::string value = ini.Read(section, std::string(stem) + std::to_string(index), "");
    if (!value.empty()) values.push_back({index, std::move(value)});
  }
  return values;
}

std::string ReadIniString(const Platform& platform, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string_view file) {
  return IniReader(platform, file).Read(section, key, defaultValue);
}

bool WriteIniString(Platform& platform, std::string_view section, std::string_view key,
                    std::string_view value, std::string_view file) {
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      section.find(']') != section.npos || key.find('=') != key.npos) {
    return false;
  }
  IniDocument document;
  if (const auto bytes = platform.readFile(file, kIniFileMaxBytes)) {
    document = IniDocument::Parse(platform, *bytes);
  } else if (platform.fileExists(file)) {
    return false;  // never replace a file that could not be read
  }
  document.SetValue(platform, section, key, value);
  return platform.writeFile(file, document.Serialize(platform)).succeeded();
}

std::optional<std::string> WriteIniFile(Platform& platform, std::string_view file,
                                        const std::vector<IniSection>& sections) {
  std::string text;
  for (const IniSection& section : sections) {
    text += "[" + section.name + "]\r\n";
    for (const auto& [key, value] : section.entries)
      text += key + "=" + value + "\r\n";
  }
  std::string bytes = EncodeTextFile(platform, text);
  // A file already there goes first, and the temporary file is made only where nothing is, never
  // written through: in a folder other users may write, it could be a hard link to a file the
  // program must not change, planted again after the deletion. What cannot be cleared away (a
  // read-only file, a folder) gives way to the next name.
  constexpr int kTemporaryNames = 10;
  for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
    const std::string temporary =
        std::string(file) + ".new" + (attempt == 0 ? "" : std::to_string(attempt));
    (void)platform.deleteFile(temporary);
    const Status made = platform.createNewFile(temporary, bytes);
    if (!made && made.error() == kErrorFileExists) continue;
    if (made && platform.replaceFile(temporary, file)) return bytes;
    (void)platform.deleteFile(temporary);
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace orv
