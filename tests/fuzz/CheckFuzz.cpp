// The author's checker on a hostile SETUP.INI: any bytes give findings, never a crash. Each input
// gets a fresh machine, as the checker writes to its scratch registry.
#include "check/ScriptCheck.h"
#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"
#include "fuzz/FuzzPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const orv::test::SimTestRoot root;
  orv::SimPlatform machine(root.path());
  (void)machine.createFolderPath("C:\\SETUP");
  (void)machine.createFolderPath(machine.tempFolder());
  (void)machine.writeFile("C:\\SETUP\\A.TXT", "a");
  (void)machine.writeFile("C:\\SETUP\\SETUP.INI", orv::fuzz::Bytes(data, size));
  (void)orv::CheckDisks(machine, {"C:\\SETUP", "C:\\"});
  return 0;
}
