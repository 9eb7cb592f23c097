// Unattended-install benchmark (Windows, run under Wine by scripts/bench-unattended.sh): SETUP.EXE
// /S installing a disk into an empty folder, against xcopy copying the disk's files, taking turns;
// prints each turn and the fastest of each with their ratio. The exit code is 1 when a run fails.
//
//   orv_unattended_benchmark.exe <disk folder holding SETUP.EXE> [turns]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

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
  if (argc < 2) {
    std::fputs("usage: orv_unattended_benchmark.exe <disk folder> [turns]\n", stderr);
    return 2;
  }
  const std::wstring disk = argv[1];
  const int turns = argc > 2 ? std::max(1, std::stoi(argv[2])) : 3;
  double setup = -1;
  double xcopy = -1;
  for (int turn = 1; turn <= turns; ++turn) {
    std::error_code ignored;
    std::filesystem::remove_all(L"C:\\Bench", ignored);
    std::filesystem::remove_all(L"C:\\Copy", ignored);
    const double s = Run(L"\"" + disk + L"\\SETUP.EXE\" /S /D=C:\\Bench");
    const double x = Run(L"xcopy \"" + disk + L"\" C:\\Copy\\ /Q /Y /I");
    if (s < 0 || x < 0) {
      std::fprintf(stderr, "turn %d: a run failed (setup %.3f, xcopy %.3f)\n", turn, s, x);
      return 1;
    }
    std::printf("turn %d: SETUP.EXE /S %.3f s, xcopy %.3f s\n", turn, s, x);
    if (setup < 0 || s < setup) setup = s;
    if (xcopy < 0 || x < xcopy) xcopy = x;
  }
  std::printf("fastest: SETUP.EXE /S %.3f s, xcopy %.3f s, ratio %.2f\n", setup, xcopy,
              setup / xcopy);
  return 0;
}
