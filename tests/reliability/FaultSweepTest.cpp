// A whole install of a script with every phase, and a whole uninstall of its record, run again
// and again with one fallible platform call failing in turn (every call of the run, in order).
// After each: no crash; the run completed or ended with an error box the user can leave;
// UNSETUP.INI is the earlier file or a whole new one; nothing was changed that the same run
// without the fault would not change; and what the fault left undone was reported, where the
// program reports such things at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "app/ShellFixture.h"
#include "platform/SzddSamples.h"
#include "record/RecordTrust.h"

namespace orv::test {
namespace {

constexpr const char* kRecord = "C:\\Tool\\UNSETUP.INI";
constexpr const char* kEarlierRecord = "[DeleteFile]\r\nFile1=C:\\Tool\\OLD.TXT\r\n";
constexpr const char* kScript =
    "[Title]\nSetup=ツール\nUnSetup=ツールの削除\n[DefaultFolder]\nFolder=C:\\Tool\n"
    "[MakeFolder]\nFolder1=(App)\nFolder2=(App)\\DATA\n"
    "[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\PROG.EX_\nFile3=(App)\\DATA\\B.TXT,/L\n"
    "File4=(Sys)\\SHARED.DLL\n"
    "[ShortCut]\nMake1=(App)\\PROG.EXE\nName1=(Dsk)Tool\nMake2=(App)\\A.TXT\nName2=Tool\\Read,(App)"
    "\n"
    "[Registry]\nKey1=Software\\Tool\nName1=Path\nValue1=(Str)(App)\n"
    "Key2=(Local)Software\\Tool\nName2=N\nValue2=(Dwd)7\n"
    "[Relate]\nName1=tol\nFile1=(App)\\PROG.EXE\n"
    "[DeleteRegistry]\nKey1=(Cuser)Software\\Tool\nKey2=(Local)Software\\Tool\nKey3=(Class).tol\n"
    "Key4=(Class)tol_auto_file\n"
    "[ExecuteFile]\nFile=(App)\\A.TXT\n";

// Everything a run can change: files with their bytes, folders, registry keys and values. The
// temporary folder is left out: the program's own work files live there.
std::set<std::string> State(const SimMachine& machine) {
  const SimSnapshot snapshot = machine.sim.snapshot();
  std::set<std::string> state;
  const auto temporary = [](const std::string& path) {
    return path.starts_with("C:\\WINDOWS\\TEMP");
  };
  for (const std::string& folder : snapshot.folders) {
    if (!temporary(folder)) state.insert("file " + folder);
  }
  for (const auto& [path, bytes] : snapshot.files) {
    if (temporary(path)) continue;
    // The record is checked on its own: a run that met a fault records what it did.
    state.insert("file " + path + (path.ends_with("\\UNSETUP.INI") ? "" : " = " + bytes));
  }
  for (const std::string& key : snapshot.registryKeys)
    state.insert("registry [" + key + "]");
  // So are its digest in the entry and the size the entry tells, which follow what the run
  // recorded.
  for (const auto& [where, value] : snapshot.registryValues) {
    const bool recorded = where.second == kRecordDigestValue || where.second == "EstimatedSize";
    state.insert("registry [" + where.first + "] " + where.second + " = " +
                 std::to_string(static_cast<int>(value.type)) + ":" +
                 (recorded ? "as recorded" : value.text + ":" + std::to_string(value.number)));
  }
  return state;
}

std::vector<std::string> Minus(const std::set<std::string>& a, const std::set<std::string>& b) {
  std::vector<std::string> rest;
  std::ranges::set_difference(a, b, std::back_inserter(rest));
  return rest;
}

struct Outcome {
  std::set<std::string> before;
  std::set<std::string> after;
  bool closed = false;      // the program ended (the run completed, or the user left)
  bool errorShown = false;  // an error box ended the run
  bool started = false;     // the run's button could be pressed
  int failuresReported = 0;
  std::string record;     // UNSETUP.INI afterwards
  std::size_t calls = 0;  // fallible calls the run made
};

// One program start on machine, the user doing what act queues, call number failing of the
// start failing (0: none). Any question is answered Yes, a failure list shown is dismissed, and
// whatever is left of the run at its end, the user leaves: by Abort, else by Exit.
template <typename Act>
Outcome RunOnce(SimMachine& machine, std::size_t failing, const Act& act) {
  SimPlatform& sim = machine.sim;
  sim.startAfresh();
  ProgramStart start(sim);
  sim.answerEveryQuestion(kIdYes);
  sim.whileWorking([&start] {
    if (start.frmMain.btnCloseErrorLog.showing()) {
      start.frmMain.deliverClick(start.frmMain.btnCloseErrorLog);
    }
    return false;
  });
  Outcome outcome;
  act(start, outcome.started);
  for (int attempt = 0; attempt < 3; ++attempt) {
    sim.userDoes([&start] {
      for (Control* button : {&start.frmMain.btnAbort, &start.frmMain.btnEnd}) {
        if (button->showing() && button->enabled()) {
          start.frmMain.deliverClick(*button);
          return;
        }
      }
      throw SimScriptError{"the user cannot leave the program"};
    });
  }
  outcome.before = State(machine);
  const std::size_t callsBefore = sim.fallibleCalls();
  if (failing > 0) sim.failCall(callsBefore + failing, kErrorAccessDenied);
  try {
    start.frmBack.show(ShowMode::kMaximized);
  } catch (const SimScriptError& error) {
    ADD_FAILURE() << error.message;
  }
  sim.failCall(0, kErrorSuccess);
  outcome.calls = sim.fallibleCalls() - callsBefore;
  outcome.after = State(machine);
  outcome.closed = !sim.closedForms().empty();
  for (const ShownMessage& shown : sim.shownMessages()) {
    outcome.errorShown = outcome.errorShown || shown.flags == (kMbOk | kMbIconStop);
  }
  outcome.failuresReported = start.runState.Failures.FailureCount;
  outcome.record = sim.readFile(kRecord, 1 << 20).value_or("");
  return outcome;
}

// The installation disk, and an earlier record in the setup folder.
void LayOut(SimMachine& machine) {
  EXPECT_TRUE(machine.sim.createFolder("C:\\Tool"));
  EXPECT_TRUE(machine.sim.writeFile(kRecord, kEarlierRecord));
  const std::vector<std::pair<std::string, std::string>> disk = {
      {"A.TXT", "a"},
      {"B.TXT", "b"},
      {"SHARED.DLL", "dll"},
      {"PROG.EX_", WithStoredCharacter(kProgCompressed, 'e')},
      {"SETUP.EXE", "setup"}};
  for (const auto& [name, bytes] : disk) {
    EXPECT_TRUE(machine.sim.writeFile("C:\\SETUP\\" + name, bytes));
  }
  machine.writeSetupIni(kScript);
}

// The user presses the run's button, when the program lets them (it may not have found its
// information file, and says so).
void Press(ProgramStart& start, Control& button, bool& started) {
  static_cast<SimPlatform&>(start.nativeView.inner()).userDoes([&button, &started] {
    started = button.showing() && button.enabled();
    if (started) button.form().deliverClick(button);
  });
}
const auto kPressSetup = [](ProgramStart& start, bool& started) {
  Press(start, start.frmMain.btnSetup, started);
};
const auto kPressUninstall = [](ProgramStart& start, bool& started) {
  Press(start, start.frmMain.btnUnSetup, started);
};

Outcome Install(std::size_t failing) {
  SimMachine machine;
  LayOut(machine);
  return RunOnce(machine, failing, kPressSetup);
}

Outcome Uninstall(std::size_t failing) {
  SimMachine machine;
  LayOut(machine);
  RunOnce(machine, 0, kPressSetup);
  machine.sim.setCommandLine("C:\\WINDOWS\\UNORSET.EXE \"C:\\Tool\\UNSETUP.INI\"");
  return RunOnce(machine, failing, kPressUninstall);
}

// What the Parts leave unreported on purpose when it is left undone: a shortcut whose folder the
// shell does not give, the removal of a shortcut's group and of registry keys at uninstall.
bool QuietlyLeftUndone(const std::string& line) {
  return line.find("\\Users\\User") != std::string::npos || line.starts_with("registry");
}

void CheckAgainstClean(const Outcome& clean, const Outcome& faulted, std::size_t call) {
  SCOPED_TRACE("fallible call " + std::to_string(call));
  EXPECT_TRUE(faulted.closed) << "the user could not leave";
  // Nothing that the clean run would not change.
  for (const std::string& line : Minus(faulted.after, faulted.before)) {
    EXPECT_TRUE(clean.after.count(line)) << "changed only with the fault: " << line;
  }
  for (const std::string& line : Minus(faulted.before, faulted.after)) {
    EXPECT_FALSE(clean.after.count(line)) << "removed only with the fault: " << line;
  }
  // The record: the earlier one, or a whole new one.
  const bool whole = faulted.record.ends_with("\r\n") &&
                     faulted.record.find("[UnSetupRegistryKey]") != std::string::npos;
  EXPECT_TRUE(faulted.record == kEarlierRecord || faulted.record.empty() || whole)
      << faulted.record;
  // What the fault left undone was reported, or an error box ended the run, or the program said
  // it could not start the run at all.
  if (!faulted.started || faulted.errorShown || faulted.failuresReported > 0) return;
  for (const std::string& line : Minus(clean.after, faulted.after)) {
    if (!clean.before.count(line) && !QuietlyLeftUndone(line)) {
      ADD_FAILURE() << "left undone without a word: " << line;
    }
  }
  for (const std::string& line : Minus(faulted.after, clean.after)) {
    if (clean.before.count(line) && !QuietlyLeftUndone(line)) {
      ADD_FAILURE() << "left in place without a word: " << line;
    }
  }
}

TEST(FaultSweep, EveryFailingCallOfAWholeInstall) {
  const Outcome clean = Install(0);
  ASSERT_TRUE(clean.closed && !clean.errorShown && clean.failuresReported == 0);
  ASSERT_GT(clean.calls, 50u);
  for (std::size_t call = 1; call <= clean.calls; ++call) {
    CheckAgainstClean(clean, Install(call), call);
  }
  RecordProperty("runs", static_cast<int>(clean.calls));
}

TEST(FaultSweep, EveryFailingCallOfAWholeUninstall) {
  const Outcome clean = Uninstall(0);
  ASSERT_TRUE(clean.closed && !clean.errorShown) << clean.failuresReported;
  ASSERT_GT(clean.calls, 20u);
  for (std::size_t call = 1; call <= clean.calls; ++call) {
    CheckAgainstClean(clean, Uninstall(call), call);
  }
  RecordProperty("runs", static_cast<int>(clean.calls));
}

}  // namespace
}  // namespace orv::test
