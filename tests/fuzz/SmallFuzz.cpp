// The small parsers: the SZDD header and the expanded name, the command line, the path macros,
// the resolution of paths.
#include "common/CommandLine.h"
#include "common/Globals.h"
#include "common/ResolvedPath.h"
#include "common/Szdd.h"
#include "common/TextUtils.h"
#include "fuzz/FuzzPlatform.h"
#include "setup/PathMacros.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const std::string_view bytes = fuzz::Bytes(data, size);
  if (const auto header = ParseSzddHeader(bytes)) {
    (void)ExpandedName(bytes.substr(kSzddHeaderSize), header->MissingCharacter);
  }
  (void)SplitCommandLine(bytes);
  // The input split in two: a setup folder and a value of the script.
  const auto half = bytes.find('\n');
  Globals g;
  g.WindowsFolder = "C:\\WINDOWS";
  g.SystemFolder = "C:\\WINDOWS\\SYSTEM";
  g.TempFolder = "C:\\TEMP\\";
  g.ProgramFilesFolder = "C:\\Program Files";
  const MacroFolders folders = MacroFolders::Of(g, std::string(bytes.substr(0, half)));
  const std::string_view value = half == std::string_view::npos ? bytes : bytes.substr(half + 1);
  (void)ResolveMacros(value, folders);
  (void)ProposedSetupFolder(value, g);
  (void)NormalisePath(value);
  // A resolved path is a fixed point: what the uninstaller checks is what it acts on.
  if (const auto resolved = ResolvePath(value, bytes.substr(0, half))) {
    if (ResolvePath(*resolved, "C:\\") != resolved) __builtin_trap();
  }
  (void)LeadingToken(value, 7);
  return 0;
}
