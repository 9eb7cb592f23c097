// Start-up benchmark (Windows, run under Wine by scripts/bench-startup.sh): how long SETUP.EXE
// takes from its process start until its options stage takes input, against its two windows made
// bare, with the same manifest (orv_bare_window.exe). The two are started alternately, one warm-up
// run each first, and each run's program is ended once it is ready. Prints both medians and their
// ratio, the fastest runs (the least disturbed by whatever else the machine runs) and the median
// of the ratios of the runs side by side; the exit code is 1 when a program never became ready.
//
//   orv_startup_benchmark.exe <SETUP.EXE> <orv_bare_window.exe> [runs of each, at least 8]
//   orv_startup_benchmark.exe <SETUP.EXE> <another SETUP.EXE> [runs]
//
// The second form compares two starts of the program: a packed one against its disk, say.
//
// "Ready" is seen from outside, as a user would: the button is visible and enabled, and the
// window's thread answers a message (so it is back in its message loop, not still working).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/BareWindow.h"
#include "bench/Statistics.h"
#include "common/win32/Handles.h"
#include "e2e/ProgramWindows.h"

namespace {

using orv::bench::Fastest;
using orv::bench::Median;
using orv::bench::MedianOfPairs;

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
constexpr auto kTimeout = std::chrono::seconds(20);
constexpr int kMinimumRuns = 8;

// The button that says the program takes input, or nullptr while there is none.
using FindButton = HWND (*)(DWORD process);

HWND SetupButton(DWORD process) {
  return orv::e2e::ControlWindow(process, "main.btnSetup");
}

HWND BareButton(DWORD process) {
  for (HWND window : orv::e2e::VisibleWindows(process, orv::bench::kBareWindowClass)) {
    if (const HWND button = orv::e2e::ChildWithId(window, orv::bench::kBareButtonId)) return button;
  }
  return nullptr;
}

bool Ready(HWND button) {
  if (button == nullptr || !::IsWindowVisible(button) || !::IsWindowEnabled(button)) return false;
  DWORD_PTR answer = 0;
  return ::SendMessageTimeoutW(::GetAncestor(button, GA_ROOT), WM_NULL, 0, 0, SMTO_NORMAL, 5000,
                               &answer) != 0;
}

// Starts program (in its own folder, as from a disk) and returns how long it took to be ready,
// or a negative time when it never was.
Milliseconds TimeStart(const std::wstring& program, FindButton findButton) {
  std::wstring commandLine = L"\"" + program + L"\"";
  const std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const auto start = Clock::now();
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &started)) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
    return Milliseconds(-1);
  }
  const orv::win32::KernelHandle process(started.hProcess);
  const orv::win32::KernelHandle thread(started.hThread);
  Milliseconds taken(-1);
  while (Clock::now() - start < kTimeout) {
    if (Ready(findButton(started.dwProcessId))) {
      taken = Clock::now() - start;
      break;
    }
    if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) break;
  }
  ::TerminateProcess(process.get(), 0);
  ::WaitForSingleObject(process.get(), INFINITE);
  return taken;
}

void PrintRuns(const wchar_t* name, const std::vector<double>& runs) {
  std::wprintf(L"%-12ls median %6.1f ms, fastest %6.1f ms  (runs:", name, Median(runs),
               Fastest(runs));
  for (const double run : runs)
    std::wprintf(L" %.0f", run);
  std::wprintf(L")\n");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr,
                  L"usage: orv_startup_benchmark <SETUP.EXE> <bare window program> [runs]\n");
    return 2;
  }
  const std::wstring setup = argv[1];
  const std::wstring bare = argv[2];
  const bool twoPrograms = bare.find(L"orv_bare_window") == std::wstring::npos;
  const FindButton yardstick = twoPrograms ? SetupButton : BareButton;
  const wchar_t* yardstickName = twoPrograms ? L"the other" : L"bare windows";
  const int runs =
      std::max(kMinimumRuns, argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 0);

  // The first start of each loads its DLLs from disk: not counted.
  if (TimeStart(setup, SetupButton).count() < 0 || TimeStart(bare, yardstick).count() < 0) {
    std::fwprintf(stderr, L"a program never became ready\n");
    return 1;
  }
  std::vector<double> setupRuns;
  std::vector<double> bareRuns;
  for (int run = 0; run < runs; ++run) {
    const Milliseconds setupTime = TimeStart(setup, SetupButton);
    const Milliseconds bareTime = TimeStart(bare, yardstick);
    if (setupTime.count() < 0 || bareTime.count() < 0) {
      std::fwprintf(stderr, L"a program never became ready (run %d)\n", run + 1);
      return 1;
    }
    setupRuns.push_back(setupTime.count());
    bareRuns.push_back(bareTime.count());
  }
  PrintRuns(L"SETUP.EXE", setupRuns);
  PrintRuns(yardstickName, bareRuns);
  std::wprintf(L"ratio        %.2f (medians), %.2f (fastest), %.2f (median of the pairs)\n",
               Median(setupRuns) / Median(bareRuns), Fastest(setupRuns) / Fastest(bareRuns),
               MedianOfPairs(setupRuns, bareRuns));
  return 0;
}
