// UNSETUP.INI as an earlier record merged into a setup run, and as the uninstall run reads its
// entries: keys, paths, flags.
#include "common/Globals.h"
#include "common/IniFile.h"
#include "common/TextUtils.h"
#include "fuzz/FuzzPlatform.h"
#include "record/RecordTrust.h"
#include "record/UninstallRecord.h"
#include "setup/RunState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orv;
  const Platform& p = fuzz::Platform();
  RunState state;
  state.UninstallInfoPath = "C:\\Tool\\UNSETUP.INI";
  const IniReader record = IniReader::FromBytes(p, fuzz::Bytes(data, size));
  Globals globals;
  globals.WindowsFolder = "C:\\WINDOWS";
  globals.TempFolder = "C:\\WINDOWS\\TEMP\\";
  // As the setup wrote it, from the other view; and as a record no entry vouches for, held to
  // the product.
  const RecordScope whole(p, globals, state.UninstallInfoPath, true, RegistryView::k32);
  MergeRecord(p, record, state.Records, state.Failures, whole);
  const RecordScope limits(p, globals, state.UninstallInfoPath, false, RegistryView::k64);
  RunState limited;
  MergeRecord(p, record, limited.Records, limited.Failures, limits);
  CompleteRecordLists(p, state.UninstallInfoPath, {"(Local)SOFTWARE\\Tool"}, state.Records,
                      state.Failures);
  for (const std::string& key : state.Records.DeleteRegistryRecords.Entries()) {
    (void)ParseRecordedKey(key);
  }
  for (const std::string& file : state.Records.DeleteFileRecords.Entries()) {
    (void)NormalisePath(file.substr(0, file.find(',')));
  }
  (void)UninstallRecordSections(state.Records, "C:\\Tool\\", "title", "key");
  return 0;
}
