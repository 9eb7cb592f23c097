// The program's one error type. Operations the program does not check itself (registry writes,
// the shell link object, folder creation for shortcuts, changing the current folder) throw it;
// the top-level handler shows its text in the stop-icon box with the application title.
#pragma once

#include <stdexcept>
#include <string>

namespace orv {

class SetupError : public std::runtime_error {
 public:
  explicit SetupError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace orv
