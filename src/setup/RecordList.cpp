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

void RecordList::InsertFile(const Platform& platform, std::string_view destination,
                            std::string_view flag) {
  const std::string record = std::string(destination) + std::string(flag);
  const std::string wanted = MapString(platform, destination, kMapUpperCase);
  for (std::string& entry : entries_) {
    const std::string_view path = std::string_view(entry).substr(0, entry.find(','));
    if (MapString(platform, path, kMapUpperCase) == wanted) {
      entry = record;
      return;
    }
  }
  if (entries_.size() < capacity_) entries_.push_back(record);
}

}  // namespace orv
