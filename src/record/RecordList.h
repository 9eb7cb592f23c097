// A record list of the uninstall record: what a run made, to be removed at uninstall. Paths are
// compared without regard to case. A list has a fixed capacity (readers of UNSETUP.INI rely on
// it), and a value is kept only when it can be read back whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Platform;

// Longest value a record keeps, in Shift-JIS bytes: values are read back through a 254-byte
// limit, so a value of 254 bytes read back can only be a cut one.
inline constexpr std::size_t kRecordValueMaxBytes = 253;

// What became of a value offered to a record list.
enum class Recorded { kAdded, kAlreadyThere, kListFull, kTooLong };

class RecordList {
 public:
  explicit RecordList(std::size_t capacity) : capacity_(capacity) {}

  // The record-insert rule: nothing happens when an entry already equals value in upper case
  // (the earlier form stays); otherwise value takes the next free slot, if any.
  Recorded Insert(const Platform& platform, std::string_view value);

  // The copy phase's variant: an entry whose text before its first comma equals destination in
  // upper case takes destination + flag (the file keeps its slot and takes the new flag);
  // otherwise destination + flag takes the next free slot, if any.
  Recorded InsertFile(const Platform& platform, std::string_view destination,
                      std::string_view flag);

  const std::vector<std::string>& Entries() const { return entries_; }
  std::size_t Capacity() const { return capacity_; }
  void Clear() { entries_.clear(); }

 private:
  std::size_t capacity_;
  std::vector<std::string> entries_;
};

// The four lists of an uninstall record, filled by the setup run and written as UNSETUP.INI.
struct RecordLists {
  RecordList DeleteFolderRecords{20};
  RecordList DeleteFileRecords{101};
  RecordList DeleteShortCutRecords{20};
  RecordList DeleteRegistryRecords{20};
};

// The value is in the list, added now or before. When it is not (the list is full, or the value
// too long to read back whole), a later uninstall would leave it behind: the run reports it.
inline bool Kept(Recorded recorded) {
  return recorded == Recorded::kAdded || recorded == Recorded::kAlreadyThere;
}

}  // namespace orv
