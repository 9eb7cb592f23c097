// Registry operations, checked against the same expectations on the simulated and the real
// Windows. Every test works below its own key and removes it.
#include "common/Platform.h"
#include "platform/TestPlatform.h"

namespace orv::test {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

class Registry : public PlatformTest {
 protected:
  void TearDown() override {
    (void)platform().deleteRegistryKey(kUser, kBase);
    (void)platform().deleteRegistryKey(RegistryRoot::kClassesRoot, ".orvanetest");
  }
  static constexpr const char* kBase = "Software\\OrvaneTest";
};

TEST_F(Registry, EachTypeIsWrittenAndReadBackUnderJapaneseNames) {
  const std::string key = std::string(kBase) + "\\ソフト表\\設定";
  ASSERT_TRUE(platform().createRegistryKey(kUser, key));
  const struct {
    const char* name;
    RegistryValue value;
  } cases[] = {
      {"パス", {RegistryType::kString, "C:\\Program Files\\表示\\", 0}},
      {"Expand", {RegistryType::kExpandString, "%windir%\\能力", 0}},
      {"Count", {RegistryType::kDword, "", 0xFFFFFFFF}},
      {"", {RegistryType::kString, "the unnamed value", 0}},
      {"Empty", {RegistryType::kString, "", 0}},
  };
  for (const auto& row : cases) {
    EXPECT_TRUE(platform().writeRegistryValue(kUser, key, row.name, row.value)) << row.name;
    EXPECT_EQ(platform().readRegistryValue(kUser, key, row.name), row.value) << row.name;
  }
  EXPECT_EQ(platform().readRegistryValue(kUser, std::string(kBase) + "\\ソフト表\\設定", "パス"),
            cases[0].value);
  EXPECT_EQ(platform().readRegistryValue(kUser, key, "missing"), std::nullopt);
  EXPECT_EQ(platform().readRegistryValue(kUser, key + "\\missing", "パス"), std::nullopt);
}

TEST_F(Registry, AWriteMakesItsKeyAndNamesMatchWithoutRegardToCase) {
  const std::string key = std::string(kBase) + "\\New\\Deep";
  ASSERT_TRUE(platform().writeRegistryValue(kUser, key, "Name", {RegistryType::kDword, "", 7}));
  EXPECT_TRUE(platform().registryKeyExists(kUser, "software\\orvanetest\\NEW\\deep"));
  EXPECT_EQ(platform().readRegistryValue(kUser, key, "NAME"),
            (RegistryValue{RegistryType::kDword, "", 7}));
}

TEST_F(Registry, OneValueGoesAndAKeyIsEmptyOnlyWithNothingInIt) {
  const std::string key = std::string(kBase) + "\\Ext";
  const RegistryValue text{RegistryType::kString, "x", 0};
  ASSERT_TRUE(platform().writeRegistryValue(kUser, key, "", text));
  ASSERT_TRUE(platform().writeRegistryValue(kUser, key, "Content Type", text));
  EXPECT_TRUE(platform().deleteRegistryValue(kUser, key, ""));
  EXPECT_EQ(platform().readRegistryValue(kUser, key, ""), std::nullopt);
  EXPECT_EQ(platform().readRegistryValue(kUser, key, "content type"), text);
  EXPECT_EQ(platform().deleteRegistryValue(kUser, key, ""), Status(kErrorFileNotFound));
  EXPECT_FALSE(platform().registryKeyEmpty(kUser, key)) << "a value is left";
  ASSERT_TRUE(platform().deleteRegistryValue(kUser, key, "Content Type"));
  ASSERT_TRUE(platform().createRegistryKey(kUser, key + "\\ShellNew"));
  EXPECT_FALSE(platform().registryKeyEmpty(kUser, key)) << "a subkey is left";
  ASSERT_TRUE(platform().deleteRegistryKey(kUser, key + "\\ShellNew"));
  EXPECT_TRUE(platform().registryKeyEmpty(kUser, key));
  EXPECT_FALSE(platform().registryKeyEmpty(kUser, key + "\\Missing"));
}

TEST_F(Registry, ADeepKeyIsDeletedWithItsSubkeys) {
  ASSERT_TRUE(platform().createRegistryKey(kUser, std::string(kBase) + "\\A\\B\\C"));
  ASSERT_TRUE(platform().writeRegistryValue(kUser, std::string(kBase) + "\\A\\B", "V",
                                            {RegistryType::kString, "v", 0}));
  EXPECT_TRUE(platform().deleteRegistryKey(kUser, std::string(kBase) + "\\A"));
  EXPECT_FALSE(platform().registryKeyExists(kUser, std::string(kBase) + "\\A"));
  EXPECT_TRUE(platform().registryKeyExists(kUser, kBase)) << "its parent stays";
  EXPECT_EQ(platform().deleteRegistryKey(kUser, std::string(kBase) + "\\A"),
            Status(kErrorFileNotFound));
}

TEST_F(Registry, RootsAndMalformedPathsAreRefused) {
  const RegistryValue value{RegistryType::kString, "x", 0};
  EXPECT_EQ(platform().createRegistryKey(kUser, ""), Status(kErrorInvalidParameter));
  EXPECT_EQ(platform().writeRegistryValue(kUser, "", "V", value), Status(kErrorInvalidParameter));
  EXPECT_EQ(platform().deleteRegistryKey(kUser, ""), Status(kErrorInvalidParameter));
  EXPECT_TRUE(platform().registryKeyExists(kUser, "Software")) << "nothing below the root went";
  EXPECT_EQ(platform().createRegistryKey(kUser, "\\Software\\OrvaneTest"),
            Status(kErrorBadPathname));
}

TEST_F(Registry, DoubledAndFinalSeparatorsNameNoKeyOfTheirOwn) {
  const std::string doubled = std::string(kBase) + "\\\\Vendor\\\\App\\\\";
  ASSERT_TRUE(platform().createRegistryKey(kUser, doubled));
  ASSERT_TRUE(platform().writeRegistryValue(kUser, doubled, "V", {RegistryType::kDword, "", 1}));
  EXPECT_EQ(platform().readRegistryValue(kUser, std::string(kBase) + "\\Vendor\\App", "V"),
            (RegistryValue{RegistryType::kDword, "", 1}));
  EXPECT_TRUE(platform().deleteRegistryKey(kUser, doubled));
  EXPECT_FALSE(platform().registryKeyExists(kUser, std::string(kBase) + "\\Vendor\\App"));
}

TEST_F(Registry, The64BitWindowsKeepsTwoViewsApart) {
  constexpr const char* kKey = "SOFTWARE\\OrvaneViewTest";
  const RegistryHive in32(RegistryRoot::kLocalMachine, RegistryView::k32);
  const RegistryHive in64(RegistryRoot::kLocalMachine, RegistryView::k64);
  ASSERT_TRUE(platform().writeRegistryValue(in32, kKey, "V", {RegistryType::kDword, "", 32}));
  EXPECT_TRUE(platform().registryKeyExists(in32, kKey));
  EXPECT_EQ(platform().registryKeyExists(in64, kKey), !platform().windows64());
  const bool own32 = SeenView(platform(), RegistryView::kProgram) == RegistryView::k32;
  EXPECT_EQ(platform().registryKeyExists(RegistryRoot::kLocalMachine, kKey), own32);
  EXPECT_TRUE(platform().deleteRegistryKey(in32, kKey));
  EXPECT_FALSE(platform().registryKeyExists(in32, kKey));
}

TEST_F(Registry, NewClassesGoToTheMachine) {
  ASSERT_TRUE(platform().writeRegistryValue(RegistryRoot::kClassesRoot, ".orvanetest", "",
                                            {RegistryType::kString, "orvanetest_auto_file", 0}));
  EXPECT_EQ(platform().readRegistryValue(RegistryRoot::kLocalMachine,
                                         "Software\\Classes\\.orvanetest", ""),
            (RegistryValue{RegistryType::kString, "orvanetest_auto_file", 0}));
  EXPECT_TRUE(platform().deleteRegistryKey(RegistryRoot::kClassesRoot, ".orvanetest"));
  EXPECT_FALSE(
      platform().registryKeyExists(RegistryRoot::kLocalMachine, "Software\\Classes\\.orvanetest"));
}

}  // namespace
}  // namespace orv::test
