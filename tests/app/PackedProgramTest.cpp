// A packed program on the simulated Windows: its folder is the payload it carries, every disk at
// once, and a damaged one installs nothing.
#include "app/SETUP.h"
#include "app/ShellFixture.h"
#include "app/Unattended.h"
#include "common/CarriedDisks.h"
#include "common/PackedProgramFiles.h"

namespace orv::test {
namespace {

constexpr const char* kScript =
    "[Title]\nSetup=ツール\nUnSetup=ツールの削除\n"
    "[DefaultFolder]\nFolder=(Prg)\\Tool\n"
    "[CopyFile]\nFile1=(App)\\TOOL.EXE\nFile2=(Dch)(App)\\DATA.DAT\nFile3=(App)\\PROG.EX_\n";
constexpr std::uint64_t kToolTime = 133'000'000'000'000'000;

class PackedProgramTest : public ::testing::Test, public SimMachine {
 protected:
  PackedProgramTest() {
    // What lies beside the packed program is another user's and never read.
    writeSetupIni("[Title]\nSetup=偽物\n[CopyFile]\nFile1=(App)\\EVIL.EXE\n");
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\TOOL.EXE", "planted"));
    EXPECT_TRUE(sim.writeFile("C:\\SETUP\\EVIL.EXE", "planted"));
    EXPECT_TRUE(sim.createFolder("C:\\LOGS"));
  }

  std::string packed() const {
    std::string script;
    for (const char c : std::string(kScript)) {
      if (c == '\n') script += '\r';
      script += c;
    }
    std::string program(CompressSzdd(std::string(4000, 'p') + "rog", 'E'));
    return PackedProgram(program_, {{"SETUP.INI", sim.toShiftJis(script).value(), 1, true},
                                    {"TOOL.EXE", std::string(3000, 't'), 1, true, kToolTime},
                                    {"DATA.DAT", "from disk 2", 2},
                                    {"PROG.EX_", program}});
  }
  int start(const std::string& arguments) {
    sim.setCommandLine("C:\\SETUP\\SETUP.EXE " + arguments);
    return RunProgram(sim);
  }
  std::string read(const std::string& path) const {
    return sim.readFile(path, 1 << 20).value_or("missing");
  }
  std::string log() const { return read("C:\\LOGS\\RUN.LOG"); }

  const std::string program_ = MinimalProgram();
};

TEST_F(PackedProgramTest, InstallsFromThePayloadAllDisksAtOnce) {
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.EXE", packed()));
  ASSERT_EQ(start("/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kDone) << log();
  EXPECT_EQ(read("C:\\Program Files\\Tool\\TOOL.EXE"), std::string(3000, 't'));
  EXPECT_EQ(sim.fileAge("C:\\Program Files\\Tool\\TOOL.EXE"),
            static_cast<std::int64_t>(kToolTime / 20'000'000))
      << "the file keeps its time";
  EXPECT_EQ(read("C:\\Program Files\\Tool\\DATA.DAT"), "from disk 2");
  EXPECT_EQ(read("C:\\Program Files\\Tool\\PROG.EXE"), std::string(4000, 'p') + "rog");
  EXPECT_FALSE(sim.fileExists("C:\\Program Files\\Tool\\EVIL.EXE"));
  EXPECT_EQ(read("C:\\WINDOWS\\UNORSET.EXE"), program_) << "the program without its payload";
  EXPECT_EQ(log().find("ディスク交換"), std::string::npos) << log();
  EXPECT_NE(log().find("setup run: folder C:\\Program Files\\Tool\\;"), std::string::npos) << log();
  // The program file stays held while it runs.
  EXPECT_EQ(sim.readFile("C:\\SETUP\\SETUP.EXE", 1 << 20), packed());
}

// Signing sets the header's checksum and signature entry and adds the certificates at the end.
std::string Signed(std::string packed) {
  const auto put = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
      packed[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  constexpr std::size_t kChecksum = 0x58 + 64;
  constexpr std::size_t kSignatureEntry = 0x58 + 96 + 32;
  put(kChecksum, 0x12345678);
  put(kSignatureEntry, static_cast<std::uint32_t>(packed.size()));
  put(kSignatureEntry + 4, 16);
  return packed + std::string(16, 'c');
}

TEST_F(PackedProgramTest, ASignedOneInstallsAndItsUninstallerIsTheUnsignedProgram) {
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.EXE", Signed(packed())));
  ASSERT_EQ(start("/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kDone) << log();
  EXPECT_EQ(read("C:\\Program Files\\Tool\\DATA.DAT"), "from disk 2");
  EXPECT_EQ(read("C:\\WINDOWS\\UNORSET.EXE"), program_);
  // Cut inside the certificates, the file is a damaged download.
  const std::string cut = Signed(packed()).substr(0, Signed(packed()).size() - 4);
  ASSERT_TRUE(sim.deleteFile("C:\\LOGS\\RUN.LOG"));
  sim.startAfresh();
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.EXE", cut));
  EXPECT_EQ(start("/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kBadCommandLine) << log();
}

TEST_F(PackedProgramTest, OnlyTheFolderItselfIsThePayloadsAFolderBelowItIsOrdinary) {
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.EXE", packed()));
  ASSERT_TRUE(sim.createFolder("C:\\SETUP\\Tool"));
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\Tool\\OLD.TXT", "the user's"));
  ProgramDisks disks = OpenProgramDisks(sim);
  ASSERT_EQ(disks.Kind, CarriedPayload::State::kFound);
  const CarriedDisksPlatform folder(sim, std::move(disks), "C:\\SETUP\\");
  EXPECT_TRUE(folder.fileExists("C:\\SETUP\\tool.exe"));
  EXPECT_FALSE(folder.fileExists("C:\\SETUP\\EVIL.EXE")) << "beside the download";
  EXPECT_EQ(folder.readFile("C:\\SETUP\\Tool\\OLD.TXT", 100), "the user's");
  EXPECT_EQ(folder.fileSize("C:\\SETUP\\Tool\\OLD.TXT"), 10u);
}

TEST_F(PackedProgramTest, ADamagedOneMakesNothing) {
  const std::string cut = packed().substr(0, packed().size() - 100);
  ASSERT_TRUE(sim.writeFile("C:\\SETUP\\SETUP.EXE", cut));
  const SimSnapshot before = sim.snapshot();
  EXPECT_EQ(start("/S /LOG=C:\\LOGS\\RUN.LOG"), exit_code::kBadCommandLine);
  EXPECT_NE(log().find("the program file is damaged"), std::string::npos) << log();

  ASSERT_TRUE(sim.deleteFile("C:\\LOGS\\RUN.LOG"));
  sim.startAfresh();
  sim.answerEveryQuestion(kIdOk);
  EXPECT_EQ(start(""), exit_code::kBadCommandLine);
  ASSERT_EQ(sim.shownMessages().size(), 1u);
  EXPECT_EQ(sim.shownMessages()[0].text, kDamagedProgram);
  EXPECT_EQ(sim.shownMessages()[0].flags, kMbOk | kMbIconStop);
  EXPECT_EQ(sim.viewsCreated(), 0);
  const SimSnapshot after = sim.snapshot();
  EXPECT_EQ(after.files, before.files);
  EXPECT_EQ(after.folders, before.folders);
  EXPECT_EQ(after.registryValues, before.registryValues);
}

}  // namespace
}  // namespace orv::test
