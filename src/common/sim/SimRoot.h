// A throw-away host folder to hold a simulated Windows: made under the system's temporary folder,
// removed with everything in it when this goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace orv {

class SimRoot {
 public:
  SimRoot() {
#ifdef _WIN32
    // A new folder of a random name: creating it fails when one of that name is there.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const auto folder =
          std::filesystem::temp_directory_path() / ("orv-sim-" + std::to_string(random()));
      if (std::filesystem::create_directory(folder)) path_ = folder;
    }
    if (path_.empty()) throw std::runtime_error("no temporary folder could be made");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
#endif
  }
  ~SimRoot() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  SimRoot(const SimRoot&) = delete;
  SimRoot& operator=(const SimRoot&) = delete;

  const std::filesystem::path& path() const {
    return path_;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace orv
