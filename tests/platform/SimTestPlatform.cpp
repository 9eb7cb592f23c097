#include <chrono>
#include <filesystem>

#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"
#include "platform/TestPlatform.h"

namespace orv::test {

namespace {

class SimTestPlatform final : public TestPlatform {
 public:
  SimTestPlatform() : sim_(root_.path()) {
    std::filesystem::create_directories(root_.path() / "C" / "scratch");
    for (const int folder : {csidl::kDesktop, csidl::kPrograms, csidl::kStartup, csidl::kSendTo}) {
      EXPECT_TRUE(sim_.createFolderPath(sim_.specialFolder(folder).value()));
    }
  }

  Platform& platform() override { return sim_; }
  const std::string& scratch() const override { return scratch_; }
  bool enforcesReadOnlyOverwrite() const override { return true; }
  std::optional<LinkContent> readShellLink(const std::string& path) override {
    const auto link = sim_.readShellLink(path);
    if (!link) return std::nullopt;
    return LinkContent{link->target, link->workingFolder};
  }
  void makeHardLink(const std::string& link, const std::string& target) override {
    ASSERT_TRUE(sim_.makeHardLink(link, target)) << link;
  }
  std::shared_ptr<void> holdOpen(const std::string& path) override {
    // Every operation that would open the file fails as it does for a file another program holds.
    using Operation = SimPlatform::Operation;
    for (const Operation operation :
         {Operation::kDeleteFile, Operation::kRenameFile, Operation::kCopyFile,
          Operation::kWriteFile, Operation::kReplaceFile, Operation::kExpandFile}) {
      sim_.injectFault(operation, path, kErrorSharingViolation);
    }
    return {};
  }
  void setLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                         int minute, int second) override {
    // The simulation's local time is UTC unless a test sets an offset.
    using namespace std::chrono;
    const sys_seconds utc = sys_days(std::chrono::year(year) / month / day) + hours(hour) +
                            minutes(minute) + seconds(second);
    std::filesystem::last_write_time(sim_.hostPath(path), file_clock::from_sys(utc));
  }

 private:
  SimTestRoot root_;
  SimPlatform sim_;
  std::string scratch_ = "C:\\scratch";
};

}  // namespace

std::unique_ptr<TestPlatform> MakeTestPlatform() {
  return std::make_unique<SimTestPlatform>();
}

}  // namespace orv::test
