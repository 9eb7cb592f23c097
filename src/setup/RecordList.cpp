#include "setup/RecordList.h"

#include "common/TextUtils.h"

namespace orv {

bool RecordList::Insert(const Platform& platform, std::string_view value) {
  const std::string wanted = MapString(platform, value, kMapUpperCase);
  for (const std::string& entry : entries_) {
    if (MapString(platform, entry, kMapUpperCase) == wanted) return false;
  }
  if (entries_.size() >= capacity_) return false;
  entries_.emplace_back(value);
  return true;
}

}  // namespace orv
