// What an author should hear about an installation disk before a user does: everything the
// program would drop, ignore or cut without a message, and what would fail on the user's machine,
// each at its line of SETUP.INI. The script is read by the program's own reader and judged by the
// program's own rules.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

class Platform;

enum class Severity { kWarning, kError };

struct Finding {
  std::size_t Line = 0;  // in SETUP.INI; 0 for the disk as a whole
  Severity Level = Severity::kWarning;
  std::string Text;
};

// Checks the disk whose SETUP.INI lies in disks[0]; later disks are those the [CopyFile] entries
// marked for a disk change ask for, in order. Disk folders are paths as the platform names them.
// The platform is a scratch machine: compressed files are expanded into its temporary folder, and
// the associations the script makes are written to its registry, as an install would leave them
// for the uninstall's rules. The findings come in line order. Disks checked for packing need no
// SETUP.EXE of their own: the packed program is theirs, with every disk in.
std::vector<Finding> CheckDisks(Platform& platform, const std::vector<std::string>& disks,
                                bool packing = false);

}  // namespace orv
