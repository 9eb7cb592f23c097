// Benchmark of the copy phase (not a test): 99 files of 64 MB in all, a third of them
// compressed, installed by the real setup run on the simulated Windows (its clock is virtual, so
// the pacing costs nothing), next to a floor (the same work in this process and nothing else:
// plain files copied, compressed ones expanded by libmspack into a temporary folder and copied
// from there, as the setup run must) and to cp and msexpand. Prints the times, the ratios and the
// peak memory.
//
//   orv_copy_benchmark [work folder [--keep]]
//
// --keep leaves the work folder, with the disk in C/DISK, for other benchmarks.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/Back.h"
#include "app/Main.h"
#include "common/sim/SimPlatform.h"
#include "common/sim/SzddDecompressor.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFiles = 99;
constexpr std::size_t kTotalBytes = 64u << 20;
constexpr int kRounds = 3;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

long PeakKilobytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The floor: each file in the script's order copied to target, a compressed one (its name ends in
// "_") expanded into temp first and copied from there.
double FloorSeconds(const fs::path& disk, const std::vector<std::string>& names,
                    const fs::path& temp, const fs::path& target) {
  const auto start = Clock::now();
  orv::SzddDecompressor decompressor;
  for (const std::string& name : names) {
    if (!name.ends_with('_')) {
      fs::copy_file(disk / name, target / name);
      continue;
    }
    const std::string expanded = name.substr(0, name.size() - 1) + "T";
    if (!decompressor.expand(disk / name, temp / expanded)) return -1;
    fs::copy_file(temp / expanded, target / expanded);
    fs::remove(temp / expanded);
  }
  return Seconds(start);
}

struct SetupRunTime {
  double seconds;  // negative when the run failed
  double virtualSeconds;
};

// One whole setup run of the disk's script into C:\TARGET on a machine that holds only the disk.
SetupRunTime TimeSetupRun(const fs::path& work) {
  for (const char* folder : {"WINDOWS", "TARGET"})
    fs::remove_all(work / "C" / folder);
  fs::create_directories(work / "C" / "WINDOWS" / "TEMP");
  fs::create_directories(work / "C" / "TARGET");
  orv::SimPlatform sim(work);
  sim.setProgramFilePath("C:\\DISK\\SETUP.EXE");
  sim.setCommandLine("C:\\DISK\\SETUP.EXE");
  sim.setWindowsFolder("C:\\WINDOWS");
  sim.setSystemFolder("C:\\WINDOWS");
  sim.setTempFolder("C:\\WINDOWS\\TEMP\\");
  orv::Globals globals;
  orv::RunState state;
  orv::TfrmBack back(sim);
  orv::TfrmMain main(sim, globals, state, back);
  back.setMainForm(main);
  sim.userTypes(main.txtFolder, "C:\\TARGET\\");
  sim.userClicks(main.btnSetup);
  // Each timed run starts with nothing waiting to be written, so none pays for the one before.
  ::sync();
  const auto start = Clock::now();
  back.show(orv::ShowMode::kMaximized);
  const double seconds = Seconds(start);
  // Every file is recorded for removal, and the record itself.
  if (state.Failures.FailureCount != 0 ||
      state.Records.DeleteFileRecords.Entries().size() != kFiles + 1) {
    std::fprintf(stderr, "the run failed: %s\n", state.Failures.FailureText.c_str());
    return {-1, 0};
  }
  return {seconds, static_cast<double>(sim.elapsedMilliseconds()) / 1000};
}

// The floor into target, from an empty target.
double TimeFloor(const fs::path& disk, const std::vector<std::string>& names,
                 const fs::path& target) {
  fs::remove_all(target);
  fs::create_directories(target / "TEMP");
  ::sync();
  const double seconds = FloorSeconds(disk, names, target / "TEMP", target);
  if (seconds < 0) std::fprintf(stderr, "libmspack could not expand a file\n");
  return seconds;
}

// Text-like data that compresses about as well as program files do.
std::string FileData(std::mt19937& random, std::size_t size) {
  std::string data(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    data[i] = (i % 7 == 0) ? static_cast<char>(random() & 0xFF) : static_cast<char>('a' + i % 23);
  }
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "orv-copy-bench";
  fs::remove_all(work);
  const fs::path disk = work / "C" / "DISK";
  fs::create_directories(disk);

  std::mt19937 random(1);
  std::vector<std::string> names;
  std::string ini = "[CopyFile]\r\n";
  for (int n = 1; n <= kFiles; ++n) {
    const bool compressed = n % 3 == 0;
    const std::string name = "FILE" + std::to_string(n) + (compressed ? ".DA_" : ".DAT");
    std::ofstream(disk / (compressed ? "plain.tmp" : name), std::ios::binary)
        << FileData(random, kTotalBytes / kFiles);
    if (compressed) {
      if (Shell("mscompress '" + (disk / "plain.tmp").string() + "' >/dev/null") != 0) return 1;
      fs::rename(disk / "plain.tmp_", disk / name);
      fs::remove(disk / "plain.tmp");
      std::fstream header(disk / name, std::ios::in | std::ios::out | std::ios::binary);
      header.seekp(9);
      header.put('T');  // FILEn.DA_ expands to FILEn.DAT
    }
    ini += "File" + std::to_string(n) + "=(App)\\" + name + "\r\n";
    names.push_back(name);
  }
  std::ofstream(disk / "SETUP.INI", std::ios::binary) << ini;
  // The run installs the program from its disk as the uninstaller.
  std::ofstream(disk / "SETUP.EXE", std::ios::binary) << "the program";
  const long before = PeakKilobytes(RUSAGE_SELF);

  // The run and the floor take turns; each keeps its fastest round.
  SetupRunTime setup{-1, 0};
  double floorSeconds = -1;
  for (int round = 0; round < kRounds; ++round) {
    const SetupRunTime run = TimeSetupRun(work);
    if (run.seconds < 0) return 1;
    if (setup.seconds < 0 || run.seconds < setup.seconds) setup = run;
    const double floor = TimeFloor(disk, names, work / "FLOOR");
    if (floor < 0) return 1;
    if (floorSeconds < 0 || floor < floorSeconds) floorSeconds = floor;
  }
  const long peak = PeakKilobytes(RUSAGE_SELF);

  fs::create_directories(work / "REFERENCE");
  const std::string inDisk = "cd '" + disk.string() + "' && ";
  ::sync();
  const auto copyStart = Clock::now();
  if (Shell(inDisk + "for f in *.DAT; do cp \"$f\" ../../REFERENCE/; done") != 0) return 1;
  const double copySeconds = Seconds(copyStart);
  const auto expandStart = Clock::now();
  if (Shell(inDisk + "for f in *.DA_; do msexpand \"$f\" && mv \"${f%_}\" "
                     "\"../../REFERENCE/${f%_}T\"; done") != 0) {
    return 1;
  }
  const double expandSeconds = Seconds(expandStart);
  const double referenceSeconds = copySeconds + expandSeconds;
  const long referencePeak = PeakKilobytes(RUSAGE_CHILDREN);

  for (const char* copy : {"FLOOR", "REFERENCE"}) {
    if (Shell("cmp -s '" + (work / "C" / "TARGET" / "FILE99.DAT").string() + "' '" +
              (work / copy / "FILE99.DAT").string() + "'") != 0) {
      std::fprintf(stderr, "the installed file differs from the one in %s\n", copy);
      return 1;
    }
  }
  std::printf("files: %d (%d compressed), %zu MB in all; fastest of %d rounds\n", kFiles,
              kFiles / 3, kTotalBytes >> 20, kRounds);
  std::printf("setup run (sim, virtual pacing):    %.3f s, virtual time waited %.1f s\n",
              setup.seconds, setup.virtualSeconds);
  std::printf("floor (copy, libmspack, no pacing): %.3f s\n", floorSeconds);
  std::printf("cp + msexpand:                      %.3f s (cp %.3f s, msexpand %.3f s)\n",
              referenceSeconds, copySeconds, expandSeconds);
  std::printf("ratio setup / floor:                %.2f\n", setup.seconds / floorSeconds);
  std::printf("ratio setup / cp + msexpand:        %.2f\n", setup.seconds / referenceSeconds);
  std::printf("peak memory: this process %ld KB (%ld KB before the rounds), tools %ld KB\n", peak,
              before, referencePeak);
  if (argc <= 2 || std::string(argv[2]) != "--keep") fs::remove_all(work);
  return 0;
}
