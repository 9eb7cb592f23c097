// Unattended-install benchmark (Windows, run under Wine by scripts/bench-unattended.sh): SETUP.EXE
// /S installing a disk into an empty folder, against the same work done plainly by
// orv_plain_install.exe, both started as whole processes, taking turns; prints each turn, the
// fastest and the median of each, and their ratios. The exit code is 1 when a run fails.
//
//   orv_unattended_benchmark.exe <disk folder holding SETUP.EXE> <orv_plain_install.exe> [turns]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/Statistics.h"

namespace {

using orv::bench::Fastest;
using orv::bench::Median;
using orv::bench::MedianOfPairs;

using Clock = std::chrono::steady_clock;
constexpr int kMinimumTurns = 6;

// Runs a command line to its end; the seconds it took, negative when it did not exit with 0.
double Run(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = Clock::now();
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
    return -1;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  DWORD code = 1;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
  return code == 0 ? seconds : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: orv_unattended_benchmark.exe <disk folder> <plain program> [turns]\n",
               stderr);
    return 2;
  }
  const std::wstring disk = argv[1];
  const std::wstring plain = argv[2];
  const int turns = std::max(kMinimumTurns, argc > 3 ? std::stoi(argv[3]) : 0);
  std::vector<double> setupRuns;
  std::vector<double> plainRuns;
  for (int turn = 1; turn <= turns; ++turn) {
    std::error_code ignored;
    std::filesystem::remove_all(L"C:\\Bench", ignored);
    std::filesystem::remove_all(L"C:\\Plain", ignored);
    const double s = Run(L"\"" + disk + L"\\SETUP.EXE\" /S /D=C:\\Bench");
    const double p = Run(L"\"" + plain + L"\" \"" + disk + L"\" C:\\Plain");
    if (s < 0 || p < 0) {
      std::fprintf(stderr, "turn %d: a run failed (setup %.3f, plain %.3f)\n", turn, s, p);
      return 1;
    }
    std::printf("turn %d: SETUP.EXE /S %.3f s, plain %.3f s\n", turn, s, p);
    setupRuns.push_back(s);
    plainRuns.push_back(p);
  }
  std::printf("fastest: SETUP.EXE /S %.3f s, plain %.3f s, ratio %.2f\n", Fastest(setupRuns),
              Fastest(plainRuns), Fastest(setupRuns) / Fastest(plainRuns));
  std::printf("median:  SETUP.EXE /S %.3f s, plain %.3f s, ratio %.2f\n", Median(setupRuns),
              Median(plainRuns), Median(setupRuns) / Median(plainRuns));
  std::printf("median of the turns' ratios: %.2f\n", MedianOfPairs(setupRuns, plainRuns));
  return 0;
}
