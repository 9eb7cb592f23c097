// Loading the script of SETUP.INI into the run's tables. Numbered keys are read at every index
// from 1 to the section's maximum (ReadNumberedValues); an entry's place is its rank among the
// entries taken.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orv {

class IniReader;
class Platform;
struct Globals;
struct RunState;

// A [CopyFile] source that is not in the program folder: the run skips the entry, and notes it
// (RunState::SkippedSources, the log).
void NoteSkippedSource(const Globals& globals, RunState& state, const std::string& source);

// Fills the folder, file, shortcut, registry, association and registry-removal tables from
// SETUP.INI, with the option snapshot already taken. A [CopyFile] entry is taken only when its
// source is in the program folder; the sources' sizes add up to TotalBytes.
void LoadScript(const Platform& platform, const Globals& globals, const IniReader& script,
                RunState& state);

}  // namespace orv
