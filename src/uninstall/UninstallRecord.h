// UNSETUP.INI, the record a setup run leaves in the setup folder of what it made, so that the
// uninstall run can remove it.
#pragma once

#include <string_view>

namespace orv {

class Platform;
struct RunState;

// Seeds the record lists from an UNSETUP.INI an earlier setup run left at path, so one uninstall
// removes what both runs made: [DeleteFolder], [DeleteFile], [DeleteShortCut] and
// [DeleteRegistry], each key in rising order, every non-empty value by the record-insert rule.
// Nothing happens when there is no file.
void MergeEarlierRecord(const Platform& platform, std::string_view path, RunState& state);

}  // namespace orv
