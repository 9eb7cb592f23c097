// System folders, the process and the named mutex, on the simulated and the real Windows.
#include <chrono>

#include "common/CommandLine.h"
#include "common/TextUtils.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

using SystemQueries = PlatformTest;

std::string FileNamePart(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

TEST_F(SystemQueries, WindowsSystemAndTempFoldersExist) {
  const std::string windows = platform().windowsFolder();
  const std::string system = platform().systemFolder();
  const std::string temp = platform().tempFolder();
  ASSERT_FALSE(windows.empty());
  ASSERT_FALSE(system.empty());
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(MapString(platform(), system.substr(0, windows.size()), kMapUpperCase),
            MapString(platform(), windows, kMapUpperCase))
      << "the system folder lies in the Windows folder";
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_NE(windows.back(), '\\');
}

// An uninstall finds another profile's program groups at the place this user's have in theirs.
TEST_F(SystemQueries, TheUsersShellFoldersLieInTheProfileFolder) {
  const auto upper = [this](int folder) {
    return MapString(platform(), platform().specialFolder(folder).value_or(""), kMapUpperCase);
  };
  const std::string profile = upper(csidl::kProfile);
  ASSERT_FALSE(profile.empty());
  for (const int folder : {csidl::kDesktop, csidl::kPrograms, csidl::kStartup, csidl::kSendTo}) {
    EXPECT_TRUE(upper(folder).starts_with(profile + "\\")) << upper(folder);
  }
}

TEST_F(SystemQueries, CommandLineStartsWithTheProgramFile) {
  const std::string program = platform().programFilePath();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(MapString(platform(), program.substr(program.size() - 4), kMapUpperCase), ".EXE");
  const auto arguments = SplitCommandLine(platform().commandLine());
  ASSERT_FALSE(arguments.empty());
  EXPECT_EQ(MapString(platform(), FileNamePart(arguments[0]), kMapUpperCase).substr(0, 4),
            MapString(platform(), FileNamePart(program), kMapUpperCase).substr(0, 4));
}

TEST_F(SystemQueries, NamedMutexIsHeldUntilReleased) {
  const std::string name =
      "ORVTEST" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  auto first = platform().claimNamedMutex(name);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(platform().claimNamedMutex(name), nullptr) << "a second start sees the name taken";
  first.reset();
  EXPECT_NE(platform().claimNamedMutex(name), nullptr) << "the name is free after the end";
}

}  // namespace
}  // namespace orv::test
