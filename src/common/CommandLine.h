// Reading a Windows command line the way the program has always read it: blanks (any character
// up to the space) separate arguments outside double quotes; quotes only group and are removed.
// Backslashes have no special meaning, so "C:\Tools\" stays C:\Tools\.
//
// Among the arguments the program takes its switches wherever they stand, compared without
// regard to case:
//   /S          unattended: no window, no question, no pause
//   /D=folder   the setup folder; as the last switch it takes the rest of the line, blanks
//               included, quotes optional
//   /LOG=file   a log of the run
// The mode argument is the first argument that is not one of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Element 0 is the program name as written; the arguments follow.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

struct ProgramArguments {
  std::string ModeArgument;  // the first argument that is not a switch; "" when there is none
  bool Unattended = false;
  std::optional<std::string> Folder;
  std::optional<std::string> LogPath;
  // What an unattended start cannot go on with ("" when nothing): an unknown switch, a switch
  // without its value, an argument that names no UNSETUP.INI, a second argument that is not a
  // switch. An interactive start ignores it, taking an unknown switch as an ordinary argument;
  // no start writes a log for a command line with a problem.
  std::string Problem;
};

ProgramArguments ReadProgramArguments(std::string_view commandLine);

}  // namespace orv
