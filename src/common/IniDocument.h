// An information (INI) file held as its lines, read and edited by the rules Windows keeps for
// private-profile files:
// - lines end at CR, LF or CR LF; each line is trimmed of spaces, tabs and vertical tabs;
// - "[name]" opens a section (the name ends at the first "]", or at the end of the line when
//   there is none); "key=value" lines belong to the section above them; lines before the first
//   section, comment lines (";") and lines without "=" hold no value;
// - section and key names match without regard to case; the first section of a name and the
//   first key of a name within it win;
// - a value loses one pair of matching enclosing quotes (" or ').
// Editing a value changes only the line of that key (or adds the lines it needs); every other
// byte of the file stays as it was, and the file keeps its encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/TextEncoding.h"

namespace orv {

class Platform;

class IniDocument {
 public:
  // An empty document, as for a file that does not exist yet.
  IniDocument() = default;
  static IniDocument Parse(const Platform& platform, std::string_view bytes);

  // The value of key in section, trimmed and unquoted; nullopt when the key is missing.
  std::optional<std::string> Value(const Platform& platform, std::string_view section,
                                   std::string_view key) const;

  // Sets key in section to value, written exactly as given. An existing key keeps its line and
  // its spelling; a new key follows the last key of its section; a new section goes to the end.
  void SetValue(const Platform& platform, std::string_view section, std::string_view key,
                std::string_view value);

  // The lines that mean something to a reader, in file order, for tools that point an author at
  // a line: section headers and key lines (those before the first section too), numbered from 1.
  struct OutlineLine {
    std::size_t Number = 0;
    bool IsSection = false;
    std::string Name;   // the section's or the key's name, trimmed
    std::string Value;  // a key's value, trimmed and unquoted, whole
  };
  std::vector<OutlineLine> Outline() const;

  // The file's bytes. A Shift-JIS file that now holds a character without a Shift-JIS form is
  // written as UTF-8 with a byte-order mark instead, so nothing is lost.
  std::string Serialize(const Platform& platform) const;

 private:
  struct Line {
    std::string text;      // decoded to UTF-8, without its line ending
    std::string ending;    // the line ending as decoded text ("", "\r", "\n" or "\r\n")
    std::string raw;       // the original bytes of the line and its ending
    bool changed = false;  // true when raw no longer matches text
  };

  std::optional<std::size_t> FindSection(const Platform& platform, std::string_view section) const;
  // The line of key in the section whose header is at sectionLine, and the index after the
  // section's last line that holds a key.
  struct KeySearch {
    std::optional<std::size_t> keyLine;
    std::size_t insertAt = 0;
  };
  KeySearch FindKey(const Platform& platform, std::size_t sectionLine, std::string_view key) const;
  void InsertLine(std::size_t at, std::string text);

  FileEncoding encoding_ = FileEncoding::kShiftJis;
  std::vector<Line> lines_;
};

}  // namespace orv
