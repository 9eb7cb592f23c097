// A throw-away host folder to hold a simulated Windows: made under the system's temporary folder,
// removed with everything in it when this goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace orv {

class SimRoot {
 public:
  SimRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~SimRoot() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  SimRoot(const SimRoot&) = delete;
  SimRoot& operator=(const SimRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace orv
