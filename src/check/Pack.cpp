#include "check/Pack.h"

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>

#include "check/SzddCompress.h"
#include "common/CarriedDisks.h"
#include "common/Globals.h"
#include "common/IniFile.h"
#include "common/Payload.h"
#include "common/Szdd.h"
#include "common/TextUtils.h"
#include "common/Utf.h"
#include "common/sim/HostPath.h"
#include "common/sim/SimPlatform.h"
#include "setup/CopyPhase.h"
#include "setup/RunState.h"
#include "setup/SetupScript.h"

namespace fs = std::filesystem;

namespace orv {

namespace {

constexpr std::string_view kProgramName = "SETUP.EXE";
constexpr std::size_t kAlignment = 8;  // a signature's table follows on a multiple of 8

std::optional<std::string> ReadHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(bytes).str();
}

// The host file's last-write time as a FILETIME count.
std::uint64_t HostFileTime(const fs::path& path) {
  using namespace std::chrono;
  constexpr std::int64_t kTicks1601To1970 = 116'444'736'000'000'000;
  std::error_code error;
  const auto written = fs::last_write_time(path, error);
  if (error) return 0;
  const auto since1970 = duration_cast<nanoseconds>(file_clock::to_sys(written).time_since_epoch());
  return static_cast<std::uint64_t>(since1970.count() / 100 + kTicks1601To1970);
}

struct Source {
  std::string Name;  // as the script names it
  std::uint8_t Disk = 1;
  fs::path Host;
};

// The files the program reads from its folder, in the order first named, each from the disk the
// run reads it from. One folder holds one file of a name: a name the run reads from two disks
// must be the same file on both.
class SourceList {
 public:
  // False when name was taken from another disk already, with other bytes.
  bool take(std::string name, std::uint8_t disk, fs::path host) {
    const std::string key = AsciiUpper(name);
    if (const auto found = index_.find(key); found != index_.end()) {
      const Source& earlier = sources_[found->second];
      return earlier.Disk == disk || ReadHostFile(earlier.Host) == ReadHostFile(host);
    }
    index_.emplace(key, sources_.size());
    sources_.push_back({std::move(name), disk, std::move(host)});
    return true;
  }
  const std::vector<Source>& sources() const { return sources_; }

 private:
  std::vector<Source> sources_;
  std::map<std::string, std::size_t> index_;
};

bool HasFolder(std::string_view name) {
  return name.find_first_of("\\/:") != std::string_view::npos;
}

}  // namespace

int PackDisks(const Platform& machine, const std::vector<std::string>& folders,
              const PackOptions& options, std::ostream& out, std::ostream& problems) {
  const auto refuse = [&](const std::string& why) {
    problems << "orvcheck: not packed: " << why << "\n";
    return 2;
  };
  Globals globals;
  globals.ProgramFolder = AddSeparator(folders.front(), "B");
  const IniReader script(machine, globals.ProgramFolder + kSetupInfoFileName);
  if (!script.loaded()) return refuse("disk 1 has no readable SETUP.INI");
  SourceList list;
  (void)list.take(kSetupInfoFileName, 1, options.Disks.front() / kSetupInfoFileName);
  const std::string readme = script.Read("Readme", "File", "");
  if (!readme.empty()) {
    if (HasFolder(readme)) {
      return refuse("the readme " + readme +
                    " lies in a folder: a packed program holds files only");
    }
    if (fs::is_regular_file(options.Disks.front() / HostPath(readme))) {
      (void)list.take(readme, 1, options.Disks.front() / HostPath(readme));
    }
  }
  RunState state;
  LoadScript(machine, globals, script, state);
  std::uint8_t disk = 1;
  for (const ScriptFile& entry : state.FileList) {
    if (entry.Value.starts_with(kDiskChangePrefix)) ++disk;
    const std::string name = FileNamePart(entry.Value);
    if (AsciiEqualNoCase(name, kProgramName)) continue;  // the packed program's own head
    if (disk > options.Disks.size()) {
      return refuse(name + " is read from disk " + std::to_string(disk) + ", which was not given");
    }
    const fs::path host = options.Disks[disk - 1] / HostPath(name);
    if (!fs::is_regular_file(host)) {
      return refuse(name + " is not on disk " + std::to_string(disk));
    }
    if (!list.take(name, disk, host)) {
      return refuse(name + " is read from two disks with different contents: a packed program " +
                    "holds one file of each name");
    }
  }

  const fs::path programPath = options.Program.value_or(options.Disks.front() / kProgramName);
  const auto program = ReadHostFile(programPath);
  if (!program) return refuse("the program " + Utf8(programPath) + " cannot be read");
  const HeldBytes programFile(*program);
  const auto extent = ReadProgramExtent(programFile);
  if (!extent) return refuse(Utf8(programPath) + " is not a Windows program");
  if (extent->DataEnd != extent->ImageEnd || extent->DataEnd != program->size()) {
    return refuse(Utf8(programPath) +
                  " is signed or packed already: pack the unsigned SETUP.EXE, then sign the "
                  "packed file");
  }

  Payload payload;
  payload.ProgramTime = HostFileTime(programPath);
  std::vector<std::string> stored;
  for (const Source& source : list.sources()) {
    auto bytes = ReadHostFile(source.Host);
    if (!bytes) return refuse(Utf8(source.Host) + " cannot be read");
    PayloadEntry entry;
    entry.Name = source.Name;
    entry.Disk = source.Disk;
    entry.Time = HostFileTime(source.Host);
    entry.Size = bytes->size();
    // A file the run expands ("_"), or one compressed already, stays as it is.
    if (options.Compress && !source.Name.ends_with('_') && !ParseSzddHeader(*bytes) &&
        bytes->size() <= kSzddMaxLength) {
      std::string compressed = CompressSzdd(*bytes, '\0');
      if (compressed.size() < bytes->size()) {
        entry.Flags = kStoredCompressed;
        *bytes = std::move(compressed);
      }
    }
    entry.StoredSize = bytes->size();
    payload.Entries.push_back(std::move(entry));
    stored.push_back(std::move(*bytes));
  }
  const std::string packed = AssemblePackedProgram(*program, payload, stored);
  std::ofstream file(options.Output, std::ios::binary | std::ios::trunc);
  file << packed;
  file.close();
  if (!file) return refuse(Utf8(options.Output) + " cannot be written");
  out << "packed " << payload.Entries.size() << " files of " << static_cast<int>(disk)
      << (disk == 1 ? " disk" : " disks") << " into " << Utf8(options.Output) << ": "
      << packed.size() << " bytes (the program " << program->size() << ", the files "
      << packed.size() - program->size() << " with their index)\n";
  return 0;
}

std::string AssemblePackedProgram(std::string_view program, Payload& payload,
                                  const std::vector<std::string>& stored) {
  payload.Offset = program.size();
  if (const auto extent = ReadProgramExtent(HeldBytes(program))) {
    payload.ProgramChecksum = extent->Checksum;
  }
  std::uint64_t at = payload.Offset + PayloadIndexSize(payload.Entries);
  for (PayloadEntry& entry : payload.Entries) {
    entry.Offset = at;
    at += entry.StoredSize;
  }
  std::string bytes = PayloadIndex(payload);
  for (const std::string& data : stored)
    bytes += data;
  bytes.append(
      (kAlignment - (payload.Offset + bytes.size() + kTrailerSize) % kAlignment) % kAlignment,
      '\0');
  return std::string(program) + bytes +
         PayloadTrailer(payload.Offset, bytes.size(), Sha256Of(bytes));
}

bool IsPackedProgram(const fs::path& file) {
  const auto bytes = ReadHostFile(file);
  return bytes && ReadPayload(HeldBytes(*bytes)).Kind != CarriedPayload::State::kNone;
}

std::optional<std::vector<fs::path>> UnpackDisks(const fs::path& packed, const fs::path& root,
                                                 std::ostream& out, std::ostream& problems) {
  SimPlatform machine(root / "machine");
  machine.mapDrive('P', fs::absolute(packed).parent_path());
  machine.mapDrive('Q', root);
  machine.setProgramFilePath("P:\\" + Utf8(packed.filename()));
  ProgramDisks disks = OpenProgramDisks(machine);
  if (disks.Kind != CarriedPayload::State::kFound) {
    problems << "orvcheck: " << Utf8(packed)
             << (disks.Kind == CarriedPayload::State::kNone ? " carries no disks"
                                                            : " is damaged: " + disks.Problem)
             << "\n";
    return std::nullopt;
  }
  const Payload payload = disks.Disks;
  out << Utf8(packed) << ": SETUP.EXE of " << payload.Offset << " bytes carrying "
      << payload.Entries.size() << " files, its digest checked\n";
  std::uint8_t last = 1;
  for (const PayloadEntry& entry : payload.Entries) {
    last = std::max(last, entry.Disk);
    out << "  disk " << static_cast<int>(entry.Disk) << "  " << entry.Name << "  " << entry.Size
        << " bytes";
    if (entry.storedCompressed()) out << " (stored compressed in " << entry.StoredSize << ")";
    out << "\n";
  }
  CarriedDisksPlatform carried(machine, std::move(disks), "P:\\");
  std::vector<fs::path> folders;
  for (int number = 1; number <= last; ++number) {
    const std::string folder = "Q:\\DISK" + std::to_string(number) + "\\";
    folders.push_back(root / ("DISK" + std::to_string(number)));
    std::vector<std::string> names = {std::string(kProgramName)};
    for (const PayloadEntry& entry : payload.Entries) {
      if (number == 1 || entry.Disk == number) names.push_back(entry.Name);
    }
    if (!machine.createFolderPath(folder)) {
      problems << "orvcheck: no room to lay out the disks\n";
      return std::nullopt;
    }
    for (const std::string& name : names) {
      if (!carried.copyFile("P:\\" + name, folder + name, false)) {
        problems << "orvcheck: " << name << " cannot be taken out of " << Utf8(packed) << "\n";
        return std::nullopt;
      }
    }
  }
  return folders;
}

}  // namespace orv
