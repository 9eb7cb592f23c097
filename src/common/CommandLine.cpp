#include "common/CommandLine.h"

#include <algorithm>

namespace orv {

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

struct Argument {
  std::string Text;
  std::size_t Start = 0;  // where it begins in the command line
};

std::vector<Argument> SplitWithPlaces(std::string_view commandLine) {
  std::vector<Argument> arguments;
  std::size_t pos = 0;
  while (true) {
    while (pos < commandLine.size() && IsBlank(commandLine[pos]))
      ++pos;
    if (pos >= commandLine.size()) break;
    Argument argument{{}, pos};
    bool quoted = false;
    for (; pos < commandLine.size() && (quoted || !IsBlank(commandLine[pos])); ++pos) {
      if (commandLine[pos] == '"') {
        quoted = !quoted;
      } else {
        argument.Text.push_back(commandLine[pos]);
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return AsciiUpper(a) == AsciiUpper(b); });
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         StartsWithNoCase(text.substr(text.size() - suffix.size()), suffix);
}

constexpr std::string_view kRecordName = "UNSETUP.INI";
constexpr std::string_view kUnattended = "/S";
constexpr std::string_view kFolder = "/D=";
constexpr std::string_view kLog = "/LOG=";

bool IsSwitch(std::string_view text) {
  return (text.size() == kUnattended.size() && StartsWithNoCase(text, kUnattended)) ||
         StartsWithNoCase(text, kFolder) || StartsWithNoCase(text, kLog);
}

// "/" and letters, with or without "=value": what an administrator types as a switch. A path
// such as /Tool\UNSETUP.INI is none.
bool LooksLikeSwitch(std::string_view text) {
  if (text.size() < 2 || text[0] != '/') return false;
  const auto end = std::min(text.find('='), text.size());
  return std::all_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(end), [](char c) {
    return (AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'Z') || c == '?';
  });
}

// The rest of the line from offset, quotes removed and trailing blanks dropped.
std::string RestOfLine(std::string_view commandLine, std::size_t offset) {
  std::string rest;
  for (const char c : commandLine.substr(offset)) {
    if (c != '"') rest.push_back(c);
  }
  while (!rest.empty() && IsBlank(rest.back()))
    rest.pop_back();
  return rest;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  for (Argument& argument : SplitWithPlaces(commandLine))
    arguments.push_back(std::move(argument.Text));
  return arguments;
}

ProgramArguments ReadProgramArguments(std::string_view commandLine) {
  const std::vector<Argument> arguments = SplitWithPlaces(commandLine);
  ProgramArguments read;
  bool modeTaken = false;
  const auto problem = [&read](std::string text) {
    if (read.Problem.empty()) read.Problem = std::move(text);
  };
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& text = arguments[i].Text;
    if (text.size() == kUnattended.size() && StartsWithNoCase(text, kUnattended)) {
      read.Unattended = true;
    } else if (StartsWithNoCase(text, kFolder)) {
      const bool last =
          std::none_of(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end(),
                       [](const Argument& later) { return IsSwitch(later.Text); });
      if (last) {
        // The switch's own letters are the first three of the line's rest once quotes go.
        read.Folder = RestOfLine(commandLine, arguments[i].Start).substr(kFolder.size());
        // What the rest holds beside blanks in a folder name would be a mistake to take whole.
        for (std::size_t later = i + 1; later < arguments.size(); ++later) {
          const std::string& word = arguments[later].Text;
          if (LooksLikeSwitch(word)) problem("unknown switch " + word);
          if (EndsWithNoCase(word, kRecordName)) problem("a record in the folder of /D=: " + word);
        }
        i = arguments.size();
      } else {
        read.Folder = text.substr(kFolder.size());
      }
      if (read.Folder->empty()) problem("/D= names no folder");
    } else if (StartsWithNoCase(text, kLog)) {
      read.LogPath = text.substr(kLog.size());
      if (read.LogPath->empty()) problem("/LOG= names no file");
    } else {
      if (LooksLikeSwitch(text)) problem("unknown switch " + text);
      // Only a record to uninstall is ever named: any other argument is a mistake, such as the
      // rest of an unquoted path with a blank in it.
      const std::string_view name = std::string_view(text).substr(text.find_last_of("\\:") + 1);
      if (name != kRecordName) problem("an argument names no UNSETUP.INI: " + text);
      if (modeTaken) {
        problem("more than one argument that is not a switch: " + text);
      } else {
        read.ModeArgument = text;
        modeTaken = true;
      }
    }
  }
  return read;
}

}  // namespace orv
