// Shortcut files made through the platform's shell, read back through the same shell: on the
// host the simulated one, under Wine the real link object.
#include "common/ShellLink.h"

#include "common/Platform.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

class ShellLinks : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    write("ソフト表.exe", "x");
  }
  // The links go into the real special folders: every test removes what it made.
  void TearDown() override {
    for (const std::string& file : made_)
      (void)platform().deleteFile(file);
    for (const std::string& folder : folders_)
      (void)platform().removeFolder(folder);
  }
  MadeShortcut make(const std::string& linkName, int folder, const std::string& working = "",
                    const std::string& target = "") {
    MadeShortcut made = CreateShellLink(platform(), target.empty() ? path("ソフト表.exe") : target,
                                        linkName, folder, working);
    made_.push_back(made.LinkPath);
    return made;
  }
  std::string special(int folder) { return platform().specialFolder(folder).value_or("<none>"); }
  std::vector<std::string> made_;
  std::vector<std::string> folders_;
};

TEST_F(ShellLinks, AJapaneseLinkInANewGroupPointsAtItsTargetAndWorkingFolder) {
  const std::string group = special(csidl::kPrograms) + "\\オルベイン試験";
  folders_.push_back(group);
  const MadeShortcut made =
      make("\\オルベイン試験\\表示・能力", csidl::kPrograms, testPlatform().scratch());
  EXPECT_TRUE(made.Written);
  EXPECT_EQ(made.LinkPath, group + "\\表示・能力.lnk");
  const auto link = testPlatform().readShellLink(made.LinkPath);
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->target, path("ソフト表.exe"));
  EXPECT_EQ(link->workingFolder, testPlatform().scratch() + "\\");
  EXPECT_EQ(platform().shellLinkTarget(made.LinkPath), path("ソフト表.exe"));
  EXPECT_EQ(platform().shellLinkTarget(path("ソフト表.exe")), std::nullopt) << "no link";
}

TEST_F(ShellLinks, AWorkingFolderThatIsMissingGivesTheTargetsFolder) {
  const MadeShortcut made = make("オルベイン試験", csidl::kDesktop, path("missing"));
  EXPECT_EQ(made.LinkPath, special(csidl::kDesktop) + "\\オルベイン試験.lnk");
  EXPECT_EQ(testPlatform()
                .readShellLink(made.LinkPath)
                .value_or(TestPlatform::LinkContent{})
                .workingFolder,
            testPlatform().scratch() + "\\");
  const MadeShortcut bare = make("オルベイン素", csidl::kDesktop, "", "NOTEPAD.EXE");
  EXPECT_EQ(testPlatform()
                .readShellLink(bare.LinkPath)
                .value_or(TestPlatform::LinkContent{})
                .workingFolder,
            "\\")
      << "a bare target has no folder";
}

TEST_F(ShellLinks, TheLeadingSeparatorOfTheNameIsOptional) {
  EXPECT_EQ(make("\\オルベイン試験", csidl::kSendTo).LinkPath,
            make("オルベイン試験", csidl::kSendTo).LinkPath);
}

TEST_F(ShellLinks, TwoMissingLevelsRaiseAndWriteNothing) {
  EXPECT_TRUE(make("オルベインA\\B\\Prog", csidl::kStartup).Error);
  EXPECT_FALSE(platform().folderExists(special(csidl::kStartup) + "\\オルベインA"));
}

TEST_F(ShellLinks, AnUnknownSpecialFolderMakesNoShortcut) {
  EXPECT_EQ(make("オルベイン試験", 0x70).LinkPath, "");
}

}  // namespace
}  // namespace orv::test
