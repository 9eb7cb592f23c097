// Reading and writing the program's information files (SETUP.INI, UNSETUP.INI) with the rules
// Windows keeps for private-profile files (see IniDocument.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class IniDocument;
class Platform;

// Values longer than this many Shift-JIS bytes are cut (a double-byte character is never split).
inline constexpr std::size_t kIniValueMaxBytes = 254;

// Information files larger than this are treated as unreadable rather than loaded whole.
inline constexpr std::uint64_t kIniFileMaxBytes = 16 * 1024 * 1024;

// Reads the values of one information file, which it reads and parses once: for the many values
// a script is made of.
class IniReader {
 public:
  IniReader(const Platform& platform, std::string_view file);
  // The values of a file's bytes already in memory.
  static IniReader FromBytes(const Platform& platform, std::string_view bytes);
  // The reader of a file that could not be read: every key gives its default.
  static IniReader Missing(const Platform& platform) { return IniReader(platform); }
  ~IniReader();
  IniReader(IniReader&&) noexcept;
  IniReader(const IniReader&) = delete;
  IniReader& operator=(const IniReader&) = delete;

  // False when the file could not be read (missing, unreadable or too large): every key then
  // gives its default.
  bool loaded() const { return document_ != nullptr; }
  // The parsed file, for tools that look at its lines; nullptr when it could not be read.
  const IniDocument* document() const { return document_.get(); }

  // As ReadIniString.
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;

 private:
  explicit IniReader(const Platform& platform);

  const Platform& platform_;
  std::unique_ptr<const IniDocument> document_;  // none when the file cannot be read
};

struct NumberedValue {
  int Index;
  std::string Value;
};

// The non-empty values of the numbered keys stem1 to stem<maximum> in section, in index order:
// every index is read, a missing or empty key is skipped, and there is no stop at a gap.
std::vector<NumberedValue> ReadNumberedValues(const IniReader& ini, std::string_view section,
                                              std::string_view stem, int maximum);

// The value of key in section of file, at most kIniValueMaxBytes long. A missing file, section
// or key gives defaultValue (less its trailing spaces); a key present with an empty value gives
// the empty text.
std::string ReadIniString(const Platform& platform, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string_view file);

// Writes value under key in section of file, creating the file, the section or the key as needed
// and changing nothing else in the file. False when the file cannot be read or written, or when a
// name or the value would break the file's lines (a line break, a "=" in a key, a "]" in a
// section name).
bool WriteIniString(Platform& platform, std::string_view section, std::string_view key,
                    std::string_view value, std::string_view file);

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;  // key, value in file order
};

// Writes a whole information file: Shift-JIS, or UTF-8 with a byte-order mark when a text has no
// Shift-JIS form. The content goes to a new temporary file beside the target (one there already
// goes first), which then replaces the target in one step, so a failure never leaves half a file
// and nothing is written through a link. The temporary file is removed when the write fails. The
// bytes written, or nullopt when the file could not be written.
std::optional<std::string> WriteIniFile(Platform& platform, std::string_view file,
                                        const std::vector<IniSection>& sections);

}  // namespace orv
