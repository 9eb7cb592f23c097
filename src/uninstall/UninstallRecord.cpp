#include "uninstall/UninstallRecord.h"

#include "common/Platform.h"
#include "setup/RunState.h"
#include "setup/SetupScript.h"

namespace orv {

namespace {

void MergeSection(const Platform& platform, std::string_view path, std::string_view section,
                  std::string_view stem, RecordList& records) {
  for (const auto& [index, value] :
       ReadNumberedValues(platform, path, section, stem, static_cast<int>(records.Capacity()))) {
    records.Insert(platform, value);
  }
}

}  // namespace

void MergeEarlierRecord(const Platform& platform, std::string_view path, RunState& state) {
  if (!platform.fileExists(path)) return;
  MergeSection(platform, path, "DeleteFolder", "Folder", state.DeleteFolderRecords);
  MergeSection(platform, path, "DeleteFile", "File", state.DeleteFileRecords);
  MergeSection(platform, path, "DeleteShortCut", "File", state.DeleteShortCutRecords);
  MergeSection(platform, path, "DeleteRegistry", "Key", state.DeleteRegistryRecords);
}

}  // namespace orv
