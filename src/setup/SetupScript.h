// Loading the script of SETUP.INI into the run's tables. Numbered keys are read at every index
// from 1 to the section's maximum; missing or empty ones are skipped (no stop at a gap), and an
// entry's place is its rank among the entries taken.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

class IniReader;
class Platform;
struct Globals;
struct RunState;

struct NumberedValue {
  int Index;
  std::string Value;
};

// The non-empty values of stem1 to stem<maximum> in section, in index order.
std::vector<NumberedValue> ReadNumberedValues(const IniReader& ini, std::string_view section,
                                              std::string_view stem, int maximum);

// Fills the folder, file, shortcut, registry, association and registry-removal tables from
// SETUP.INI, with the option snapshot already taken. A [CopyFile] entry is taken only when its
// source is in the program folder; the sources' sizes add up to TotalBytes.
void LoadScript(const Platform& platform, const Globals& globals, const IniReader& script,
                RunState& state);

}  // namespace orv
