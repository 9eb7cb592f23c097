// Splitting a Windows command line into arguments the way the program has always read it:
// blanks (any character up to the space) separate arguments outside double quotes; quotes only
// group and are removed. Backslashes have no special meaning, so "C:\Tools\" stays C:\Tools\.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

// Element 0 is the program name as written; the arguments follow.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace orv
