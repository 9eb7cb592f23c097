// The program's one error type. Operations the program does not check itself (registry writes,
// the shell link object, folder creation for shortcuts, changing the current folder) throw it;
// the top-level handler shows its text in the stop-icon box with the application title.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace orv {

// Derives from std::exception directly: std::runtime_error keeps its text in the library's
// reference-counted string, which links a second std::string implementation into the program.
class SetupError : public std::exception {
 public:
  explicit SetupError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace orv
