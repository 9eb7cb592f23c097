#include "common/CommandLine.h"

namespace orv {

namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  while (true) {
    while (pos < commandLine.size() && IsBlank(commandLine[pos]))
      ++pos;
    if (pos >= commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; pos < commandLine.size() && (quoted || !IsBlank(commandLine[pos])); ++pos) {
      if (commandLine[pos] == '"') {
        quoted = !quoted;
      } else {
        argument.push_back(commandLine[pos]);
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace orv
