#include "common/Platform.h"

#include <vector>

#include "common/TextUtils.h"

namespace orv {

namespace {

// "C:", "\\server\share" and "" have no parent the program could create.
bool IsRoot(std::string_view folder) {
  if (folder.empty() || (folder.size() == 2 && folder[1] == ':')) return true;
  if (folder.starts_with("\\\\")) {
    const auto share = folder.find('\\', 2);
    return share == std::string_view::npos ||
           folder.find('\\', share + 1) == std::string_view::npos;
  }
  return false;
}

std::string_view ParentOf(std::string_view folder) {
  const auto last = folder.rfind('\\');
  return last == std::string_view::npos ? std::string_view() : folder.substr(0, last);
}

}  // namespace

void Platform::clearReadOnly(std::string_view path) {
  const auto attributes = fileAttributes(path);
  if (!attributes || (*attributes & attr::kDirectory) != 0 ||
      (*attributes & attr::kReadOnly) == 0) {
    return;
  }
  const std::uint32_t rest = *attributes & ~attr::kReadOnly;
  (void)setFileAttributes(path, rest == 0 ? attr::kNormal : rest);
}

RegistryView SeenView(const Platform& platform, RegistryView view) {
  if (!platform.windows64()) return RegistryView::k32;
  if (view != RegistryView::kProgram) return view;
  return platform.program64() ? RegistryView::k64 : RegistryView::k32;
}

std::vector<RegistryView> ViewsOwnFirst(const Platform& platform) {
  const RegistryView own = SeenView(platform, RegistryView::kProgram);
  if (!platform.windows64()) return {own};
  return {own, own == RegistryView::k64 ? RegistryView::k32 : RegistryView::k64};
}

Status Platform::createFolderPath(std::string_view path) {
  const std::string target = StripSeparator(path, "B");
  if (target.empty()) return Status(kErrorInvalidName);

  // Walk up to the first folder that exists, then create the missing ones top-down (iterative,
  // so a hostile path of thousands of levels cannot exhaust the stack).
  std::vector<std::string_view> missing;
  for (std::string_view folder = target; !IsRoot(folder) && !folderExists(folder);
       folder = ParentOf(folder)) {
    missing.push_back(folder);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    const Status status = createFolder(*it);
    if (!status && !(status.error() == kErrorAlreadyExists && folderExists(*it))) return status;
  }
  return folderExists(target) ? Status::ok() : Status(kErrorAlreadyExists);
}

}  // namespace orv
