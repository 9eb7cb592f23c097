// Whether a record is the one the setup run wrote, and how paths are resolved before any rule
// looks at them.
#include "record/RecordTrust.h"

#include "app/ShellFixture.h"
#include "common/Globals.h"
#include "common/ResolvedPath.h"

namespace orv::test {
namespace {

constexpr const char* kRecord = "C:\\Tool\\UNSETUP.INI";
constexpr const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

class RecordTrustTest : public ::testing::Test, public SimMachine {
 protected:
  RecordTrustTest() {
    EXPECT_TRUE(sim.createFolder("C:\\Tool"));
    writeSetupRecord(kRecord, "[DeleteFile]\nFile1=C:\\Tool\\A.TXT\n");
    bytes = sim.readFile(kRecord, 1 << 20).value();
  }
  RecordStanding standing(std::string_view record = kRecord) const {
    return CheckRecord(sim, bytes, kEntry, record).Standing;
  }
  std::string bytes;
};

TEST_F(RecordTrustTest, OnlyTheRecordTheEntryVouchesForIsVerified) {
  EXPECT_EQ(standing(), RecordStanding::kVerified);
  EXPECT_EQ(standing("c:/tool/./unsetup.ini"), RecordStanding::kVerified) << "compared as paths";
  EXPECT_EQ(standing("C:\\Other\\UNSETUP.INI"), RecordStanding::kUnproven)
      << "the entry names another record file";
  bytes.back() = ' ';
  EXPECT_EQ(standing(), RecordStanding::kChanged) << "one byte changed";
}

TEST_F(RecordTrustTest, ARecordWithoutItsEntryOrDigestIsUnproven) {
  ASSERT_TRUE(sim.deleteRegistryValue(RegistryRoot::kLocalMachine, kEntry,
                                      std::string(kRecordDigestValue)));
  EXPECT_EQ(standing(), RecordStanding::kUnproven) << "written by an older program";
  ASSERT_TRUE(sim.deleteRegistryKey(RegistryRoot::kLocalMachine, kEntry));
  EXPECT_EQ(standing(), RecordStanding::kUnproven) << "no entry";
}

TEST(ResolvePath, ReadsPathsAsWindowsResolvesThem) {
  const struct {
    const char* path;
    const char* resolved;  // nullptr: names no file the program may act on
  } cases[] = {
      {"c:/Tool/../Windows/", "C:\\Windows\\"},
      {"C:\\Tool\\\\A.TXT", "C:\\Tool\\A.TXT"},
      {"C:\\..\\..\\A.TXT", "C:\\A.TXT"},
      {"C:\\Users\\SendTo.\\", "C:\\Users\\SendTo\\"},
      {"C:\\Tool \\A.TXT. .", "C:\\Tool\\A.TXT"},
      {"\\\\.\\C:\\Tool\\..\\A.TXT", "C:\\A.TXT"},
      {"\\\\?\\C:\\users\\Desktop\\", "C:\\users\\Desktop\\"},
      {"\\\\?\\UNC\\server\\share\\A", "\\\\server\\share\\A"},
      {"//server/share/./A", "\\\\server\\share\\A"},
      {"A.TXT", "C:\\Temp\\A.TXT"},
      {"\\A.TXT", "C:\\A.TXT"},
      {"C:A.TXT", "C:\\Temp\\A.TXT"},
      {"D:A.TXT", nullptr},
      {"\\\\?\\C:\\Tool\\..\\Windows", nullptr},
      {"\\\\?\\C:\\Tool.\\A", nullptr},
      {"\\\\?\\C:\\Tool/A", nullptr},
      {"\\\\.\\C:", nullptr},
      {"\\\\.\\PIPE\\x", nullptr},
      {"\\\\?\\Volume{1}\\A", nullptr},
      {"C:\\Tool\\NUL.txt", nullptr},
      {"C:\\Tool\\A.TXT:stream", nullptr},
      {"C:\\Tool\\A?.TXT", nullptr},
      {"", nullptr},
  };
  for (const auto& row : cases) {
    const auto resolved = ResolvePath(row.path, "C:\\Temp");
    if (row.resolved == nullptr) {
      EXPECT_FALSE(resolved) << row.path << " gave " << resolved.value_or("");
    } else {
      EXPECT_EQ(resolved.value_or("(none)"), row.resolved) << row.path;
    }
  }
}

// F8 (review). The folders below System32 that Windows does not redirect for a 32-bit program
// (catroot, catroot2, driverstore, drivers\etc, logfiles, spool): a 32-bit setup that wrote
// there wrote the one and only folder, which a 64-bit uninstaller must not look for in SysWOW64;
// nor a 32-bit uninstaller of a 64-bit record in Sysnative (it sees the real one there too).
TEST_F(RecordTrustTest, ReviewTheFoldersWindowsDoesNotRedirectKeepTheirNames) {
  Globals globals;
  globals.WindowsFolder = "C:\\WINDOWS";
  for (const char* path : {"C:\\WINDOWS\\System32\\drivers\\etc\\TOOL.TXT",
                           "C:\\WINDOWS\\System32\\spool\\drivers\\color\\TOOL.ICM",
                           "C:\\WINDOWS\\System32\\catroot\\TOOL.CAT"}) {
    sim.setMachine(true, true);
    EXPECT_EQ(PathInOwnView(sim, globals, path, RegistryView::k32), path) << "64-bit program";
    sim.setMachine(true, false);
    EXPECT_EQ(PathInOwnView(sim, globals, path, RegistryView::k64), path) << "32-bit program";
  }
}
}  // namespace
}  // namespace orv::test
