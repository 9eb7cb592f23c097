#include "common/sim/HostPath.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace orv {

bool IsHostLink(const fs::path& path) {
#ifdef _WIN32
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
  std::error_code error;
  return fs::is_symlink(path, error);
#endif
}

void CopyHostTree(const fs::path& from, const fs::path& to) {
  for (auto entry = fs::recursive_directory_iterator(from); entry != fs::end(entry); ++entry) {
    if (IsHostLink(entry->path())) {
      entry.disable_recursion_pending();
      continue;
    }
    const fs::path target = to / entry->path().lexically_relative(from);
    if (entry->is_directory()) {
      fs::create_directories(target);
    } else if (entry->is_regular_file()) {
      // Removed first: on Windows the library takes two files of the same size and time for one
      // and refuses to copy one over the other.
      fs::remove(target);
      fs::copy_file(entry->path(), target);
      fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    }
  }
}

}  // namespace orv
