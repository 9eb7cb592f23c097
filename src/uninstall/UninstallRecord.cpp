#include "uninstall/UninstallRecord.h"

#include "common/IniFile.h"
#include "common/Platform.h"
#include "setup/RunState.h"
#include "setup/SetupScript.h"

namespace orv {

namespace {

void MergeSection(const Platform& platform, const IniReader& record, std::string_view section,
                  std::string_view stem, RecordList& records) {
  for (const auto& [index, value] :
       ReadNumberedValues(record, section, stem, static_cast<int>(records.Capacity()))) {
    records.Insert(platform, value);
  }
}

}  // namespace

void MergeEarlierRecord(const Platform& platform, std::string_view path, RunState& state) {
  if (!platform.fileExists(path)) return;
  const IniReader record(platform, path);
  MergeSection(platform, record, "DeleteFolder", "Folder", state.DeleteFolderRecords);
  MergeSection(platform, record, "DeleteFile", "File", state.DeleteFileRecords);
  MergeSection(platform, record, "DeleteShortCut", "File", state.DeleteShortCutRecords);
  MergeSection(platform, record, "DeleteRegistry", "Key", state.DeleteRegistryRecords);
}

}  // namespace orv
