// The platform the shared tests run against: the simulated Windows on the host, the real one
// under Windows (or Wine). Each test gets an empty scratch folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "common/Platform.h"

namespace orv::test {

class TestPlatform {
 public:
  virtual ~TestPlatform() = default;
  virtual Platform& platform() = 0;
  // Windows path of the test's empty scratch folder, without a trailing "\".
  virtual const std::string& scratch() const = 0;
  // False where the platform is known to differ from Windows (Wine run as root lets a read-only
  // file be overwritten), so such cases are checked on the simulation only.
  virtual bool enforcesReadOnlyOverwrite() const = 0;
  struct LinkContent {
    std::string target;
    std::string workingFolder;
  };
  // What a shell link file points at, read back through the platform's own shell.
  virtual std::optional<LinkContent> readShellLink(const std::string& path) = 0;
  // A second name for an existing file (a hard link).
  virtual void makeHardLink(const std::string& link, const std::string& target) = 0;
  // Keeps a file open without sharing, as another program may, until the result is destroyed.
  virtual std::shared_ptr<void> holdOpen(const std::string& path) = 0;
  // Sets a file's last-write time to a local time.
  virtual void setLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                                 int minute, int second) = 0;
};

std::unique_ptr<TestPlatform> MakeTestPlatform();

// Base fixture: a platform and helpers for writing files in the scratch folder.
class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { test_ = MakeTestPlatform(); }

  Platform& platform() { return test_->platform(); }
  TestPlatform& testPlatform() { return *test_; }
  // The Windows path of name inside the scratch folder.
  std::string path(const std::string& name) const { return test_->scratch() + "\\" + name; }
  void write(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(platform().writeFile(path(name), bytes)) << name;
  }
  std::string read(const std::string& name) {
    return platform().readFile(path(name), 1 << 20).value_or("<missing>");
  }

 private:
  std::unique_ptr<TestPlatform> test_;
};

}  // namespace orv::test
