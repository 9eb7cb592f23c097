// The authors' packer: the disks of a set and the program in one file that installs them
// (a packed SETUP.EXE), and back: a packed program's disks laid out as folders for the checks.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Platform;
struct Payload;

struct PackOptions {
  std::vector<std::filesystem::path> Disks;      // host folders, disk 1 first
  std::filesystem::path Output;                  // the packed program to write
  std::optional<std::filesystem::path> Program;  // SETUP.EXE of disk 1 when none is given
  bool Compress = false;                         // store files SZDD-compressed where smaller
};

// Packs SETUP.INI, its readme and every file the script's [CopyFile] entries take, each from the
// disk the run reads it from (a later disk's file over an earlier one's of the same name), after
// the program. machine sees the disks at folders (disk 1 first), as the checks do. Tells out what
// was packed; a reason it cannot pack goes to problems. 0 when packed, 2 when not.
int PackDisks(const Platform& machine, const std::vector<std::string>& folders,
              const PackOptions& options, std::ostream& out, std::ostream& problems);

// The program followed by the payload of the entries (names, disks, flags, times and sizes set),
// stored[i] holding entry i's bytes: the offsets are set here, the payload padded so the file
// ends on a multiple of 8, and the trailer added.
std::string AssemblePackedProgram(std::string_view program, Payload& payload,
                                  const std::vector<std::string>& stored);

// Whether the host file is a program that carries a payload (packed or damaged).
bool IsPackedProgram(const std::filesystem::path& file);

// Lays out the disks a packed program carries under root: DISK1 holds every file (the program's
// folder as the packed program sees it), each later disk the files taken from it, each disk the
// program without its payload. Lists what the file holds to out; nullopt, with the reason in
// problems, when it is damaged or cannot be read.
std::optional<std::vector<std::filesystem::path>> UnpackDisks(const std::filesystem::path& packed,
                                                              const std::filesystem::path& root,
                                                              std::ostream& out,
                                                              std::ostream& problems);

}  // namespace orv
