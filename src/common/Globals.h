// The program-wide values of one start of the program: set by the mode selection and the options
// stage, read by every later stage. One object, handed to the forms and the runs.
#pragma once

#include <string>

namespace orv {

class RunLog;

struct Globals {
  std::string ProgramFolder;  // folder of the program file, with trailing "\"
  std::string TempFolder;     // the system's temporary folder; ProgramFolder without one
  std::string InfoFilePath;   // SETUP.INI beside the program, or the copy of UNSETUP.INI
  std::string NamedInfoFile;  // the UNSETUP.INI the command line names, as a full path
  std::string PresetFolder;   // the setup folder the command line names ("" when none)
  std::string SetupTitle;
  std::string UnSetupTitle;
  std::string WindowsFolder;       // empty when the query failed
  std::string SystemFolder;        // empty when the query failed
  std::string ProgramFilesFolder;  // beside the Windows folder, without trailing "\"
  std::string MessageText;         // the text of the message area, or of the last question
  int MessageAnswer = 0;           // answer of the last question box
  bool AbortRequested = false;     // the user confirmed Abort; runs stop at their next check
  RunLog* Log = nullptr;           // the log the command line asked for, if any
};

inline constexpr const char* kSetupInfoFileName = "SETUP.INI";
inline constexpr const char* kUninstallInfoFileName = "UNSETUP.INI";

}  // namespace orv
