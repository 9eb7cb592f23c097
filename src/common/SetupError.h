// The program's one error. Operations the program does not check itself (registry writes, the
// shell link object, folder creation for shortcuts, changing the current folder) return it to the
// run that called them; the run ends there and shows its text in the stop-icon box with the
// application title. A returned value rather than a C++ exception: the program is built without
// exception tables and unwinder, which were a quarter of the release's bytes.
#pragma once

#include <optional>
#include <string>

namespace orv {

struct SetupError {
  std::string Message;
};

// What an operation that may fail this way returns: nothing when it succeeded.
using Raised = std::optional<SetupError>;

}  // namespace orv
