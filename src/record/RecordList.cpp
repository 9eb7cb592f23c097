#include "record/RecordList.h"

#include "common/TextUtils.h"
#include "common/Utf.h"

namespace orv {

namespace {

bool FitsRecord(std::string_view value) {
  return TruncateToShiftJisBytes(value, kRecordValueMaxBytes).size() == value.size();
}

}  // namespace

Recorded RecordList::Insert(const Platform& platform, std::string_view value) {
  if (!FitsRecord(value)) return Recorded::kTooLong;
  const std::string wanted = MapString(platform, value, kMapUpperCase);
  for (const std::string& entry : entries_) {
    if (MapString(platform, entry, kMapUpperCase) == wanted) return Recorded::kAlreadyThere;
  }
  if (entries_.size() >= capacity_) return Recorded::kListFull;
  entries_.emplace_back(value);
  return Recorded::kAdded;
}

Recorded RecordList::InsertFile(const Platform& platform, std::string_view destination,
                                std::string_view flag) {
  const std::string record = std::string(destination) + std::string(flag);
  if (!FitsRecord(record)) return Recorded::kTooLong;
  const std::string wanted = MapString(platform, destination, kMapUpperCase);
  for (std::string& entry : entries_) {
    const std::string_view path = std::string_view(entry).substr(0, entry.find(','));
    if (MapString(platform, path, kMapUpperCase) == wanted) {
      entry = record;
      return Recorded::kAlreadyThere;
    }
  }
  if (entries_.size() >= capacity_) return Recorded::kListFull;
  entries_.push_back(record);
  return Recorded::kAdded;
}

}  // namespace orv
