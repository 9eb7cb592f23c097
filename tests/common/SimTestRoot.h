// A throw-away host folder for tests that build a simulated Windows of their own.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace orv::test {

class SimTestRoot {
 public:
  SimTestRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~SimTestRoot() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  SimTestRoot(const SimTestRoot&) = delete;
  SimTestRoot& operator=(const SimTestRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace orv::test
