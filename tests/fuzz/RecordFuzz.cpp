// UNSETUP.INI as an earlier record merged into a setup run, and as the uninstall run reads its
// entries: keys, paths, flags.
#include "app/Globals.h"
#include "common/IniFile.h"
#include "common/TextUtils.h"
#include "fuzz/FuzzPlatform.h"
#include "setup/RunState.h"
#include "uninstall/RecordTrust.h"
#include "uninstall/UninstallRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const Platform& p = fuzz::Platform();
  RunState state;
  state.UninstallInfoPath = "C:\\Tool\\UNSETUP.INI";
  const IniReader record = IniReader::FromBytes(p, fuzz::Bytes(data, size));
  MergeRecord(p, record, state);
  // As a record no entry vouches for: held to the product's folder.
  Globals globals;
  globals.WindowsFolder = "C:\\WINDOWS";
  globals.TempFolder = "C:\\WINDOWS\\TEMP\\";
  const RecordScope limits(p, globals, state.UninstallInfoPath, false);
  RunState limited;
  MergeRecord(p, record, limited, &limits);
  CompleteRecordLists(p, state);
  for (const std::string& key : state.DeleteRegistryRecords.Entries()) {
    (void)ParseRecordedKey(key);
  }
  for (const std::string& file : state.DeleteFileRecords.Entries()) {
    (void)NormalisePath(file.substr(0, file.find(',')));
  }
  (void)UninstallRecordSections(state, "title", "key");
  return 0;
}
