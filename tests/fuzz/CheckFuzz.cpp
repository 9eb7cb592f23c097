// The author's checker on a hostile SETUP.INI: any bytes give findings, never a crash, and the
// checker's rules explain every entry the program's loader drops (a finding without a reason
// means the two disagree). Each input gets a fresh machine, as the checker writes to its scratch
// registry.
#include <cstdlib>

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
  for (const orv::Finding& finding : orv::CheckDisks(machine, {"C:\\SETUP", "C:\\"})) {
    if (finding.Text == "the program drops this entry without a message") std::abort();
  }
  return 0;
}
