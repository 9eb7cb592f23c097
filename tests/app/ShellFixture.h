// A program start on the simulated Windows: the program in C:\SETUP, the Windows folder
// C:\WINDOWS, the user's shell folders, and the two forms, driven by a scripted user.
#pragma once

#include <gtest/gtest.h>

#include "app/Back.h"
#include "app/Main.h"
#include "app/ProgramStart.h"
#include "common/Sha256.h"
#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"
#include "record/RecordTrust.h"

namespace orv::test {

// A simulated Windows as a program start finds it: the program in C:\SETUP, the Windows folder
// C:\WINDOWS, the user's shell folders.
struct SimMachine {
  SimMachine() : sim(root.path()) {
    sim.setProgramFilePath("C:\\SETUP\\SETUP.EXE");
    sim.setCommandLine("C:\\SETUP\\SETUP.EXE");
    sim.setWindowsFolder("C:\\WINDOWS");
    sim.setSystemFolder("C:\\WINDOWS\\SYSTEM");
    sim.setTempFolder("C:\\WINDOWS\\TEMP\\");
    EXPECT_TRUE(sim.createSystemFolders());
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.EXE", "the program"));
  }

  // Writes a text file in Shift-JIS, with CR LF line ends.
  void writeText(const std::string& path, const std::string& utf8Lines) {
    std::string text;
    for (const char c : utf8Lines) {
      if (c == '\n') text += '\r';
      text += c;
    }
    ASSERT_TRUE(sim.writeFile(path, sim.toShiftJis(text).value())) << path;
  }
  void writeSetupIni(const std::string& lines) { writeText("C:\\SETUP\\SETUP.INI", lines); }
  // An UNSETUP.INI as a setup run leaves it: the Add/Remove entry it names (Uninstall\<entry>)
  // names the file and holds the digest of its bytes.
  void writeSetupRecord(const std::string& path, const std::string& utf8Lines,
                        const std::string& entry = "Tool") {
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + entry;
    writeText(path, utf8Lines + "[UnSetupRegistryKey]\nKey=" + key + "\n");
    const auto text = [](std::string value) {
      return RegistryValue{RegistryType::kString, value, 0};
    };
    constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
    ASSERT_TRUE(sim.writeRegistryValue(kMachine, key, "UninstallString",
                                       text("C:\\WINDOWS\\UNORSET.EXE \"" + path + "\"")));
    ASSERT_TRUE(sim.writeRegistryValue(kMachine, key, std::string(kRecordDigestValue),
                                       text(Sha256Hex(sim.readFile(path, 1 << 24).value()))));
  }

  SimTestRoot root;
  SimPlatform sim;
};

// One program start on a simulated Windows of its own.
struct SimProgram : SimMachine, ProgramStart {
  SimProgram() : ProgramStart(sim) {}

  // Starts the program's windows as the program does and runs until the main window closes;
  // a script the test forgot (an unanswered question, nothing left to do) fails the test.
  void run() {
    try {
      frmBack.show(ShowMode::kMaximized);
    } catch (const SimScriptError& error) {
      FAIL() << "script: " << error.message;
    }
  }

  // The mode selection and the options stage, as the first activation performs them.
  void activate() { frmMain.deliverActivate(); }

  // The captions a run shows when it asks nothing and ends complete.
  static std::vector<std::string> completedOnly() { return {"完了"}; }
  std::vector<std::string> shownCaptions() const {
    std::vector<std::string> captions;
    for (const auto& message : sim.shownMessages())
      captions.push_back(message.caption);
    return captions;
  }
};

class ShellTest : public ::testing::Test, public SimProgram {};

}  // namespace orv::test
