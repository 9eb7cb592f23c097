// The shortcut maker under failures only the simulation can bring about: the errors it raises,
// with the system's text or the fallback, and a save that fails.
#include <gtest/gtest.h>

#include "common/ShellLink.h"
#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"

namespace orv {
namespace {

class ShellLinkFaults : public ::testing::Test {
 protected:
  ShellLinkFaults() : sim(root.path()) { prepare(sim); }
  static void prepare(SimPlatform& platform) {
    EXPECT_TRUE(platform.createFolderPath(platform.specialFolder(csidl::kDesktop).value()));
  }
  // The text of the error that making a desktop shortcut named name raises.
  static std::string raised(SimPlatform& platform, const std::string& name) {
    const MadeShortcut made =
        CreateShellLink(platform, "C:\\Tool\\PROG.EXE", name, csidl::kDesktop, "");
    return made.Error ? made.Error->Message : "<nothing raised>";
  }
  test::SimTestRoot root;
  SimPlatform sim;
};

TEST_F(ShellLinkFaults, RaisedErrorsCarryTheSystemTextOrTheFallback) {
  sim.failShellLinkObject(0x80040154);
  EXPECT_EQ(raised(sim, "Prog"), "OLE ｴﾗｰ 80040154");
  sim.setSystemMessage(0x80040154, "クラスが登録されていません");
  EXPECT_EQ(raised(sim, "Prog"), "クラスが登録されていません");

  SimPlatform noInterface(root.path() / "interface");
  prepare(noInterface);
  noInterface.failShellLinkInterface();
  EXPECT_EQ(raised(noInterface, "Prog"), "Interface はｻﾎﾟｰﾄされていません");

  SimPlatform noFolder(root.path() / "folder");
  prepare(noFolder);
  noFolder.injectFault(SimPlatform::Operation::kCreateFolder,
                       noFolder.specialFolder(csidl::kDesktop).value() + "\\Group",
                       kErrorAccessDenied);
  EXPECT_EQ(raised(noFolder, "Group\\Prog"), "I/O ｴﾗｰ (5)");
  EXPECT_FALSE(
      noFolder.fileExists(noFolder.specialFolder(csidl::kDesktop).value() + "\\Group\\Prog.lnk"));
}

TEST_F(ShellLinkFaults, ASaveThatFailsIsNotPassedOffAsWritten) {
  const std::string link = sim.specialFolder(csidl::kDesktop).value() + "\\Prog.lnk";
  ASSERT_TRUE(sim.writeFile(link, "someone else's"));
  ASSERT_TRUE(sim.setFileAttributes(link, attr::kReadOnly));
  const MadeShortcut made = CreateShellLink(sim, "C:\\Tool\\PROG.EXE", "Prog", csidl::kDesktop, "");
  EXPECT_EQ(made.LinkPath, link);
  EXPECT_FALSE(made.Written);
  EXPECT_EQ(sim.readFile(link, 100), "someone else's");
}

}  // namespace
}  // namespace orv
