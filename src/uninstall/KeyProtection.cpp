#include "uninstall/KeyProtection.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/TextUtils.h"
#include "setup/AssociationPhase.h"

namespace orv {

namespace {

// The Uninstall branch, and its place in the 32-bit view, as key names in upper case.
constexpr std::array<std::string_view, 5> kUninstallBranchKeys = {
    "SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "UNINSTALL"};
constexpr std::array<std::string_view, 6> kUninstallBranch32Keys = {
    "SOFTWARE", "WOW6432NODE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "UNINSTALL"};

std::vector<std::string> UpperKeyNames(const Platform& platform, std::string_view path) {
  std::vector<std::string> names = KeyNames(path);
  for (std::string& name : names)
    name = MapString(platform, name, kMapUpperCase);
  return names;
}

// How names (upper case) stand to a branch: 0 above it or at it, 1 below it, -1 elsewhere.
template <std::size_t N>
int BelowBranch(const std::vector<std::string>& names,
                const std::array<std::string_view, N>& branch) {
  const std::size_t common = std::min(names.size(), branch.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (names[i] != branch[i]) return -1;
  }
  return names.size() > branch.size() ? 1 : 0;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names)
    joined += (joined.empty() ? "" : "\\") + name;
  return joined;
}

}  // namespace

std::vector<std::string> KeyNames(std::string_view path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    if (end > start) names.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::string UninstallEntryOf(const Platform& platform, std::string_view key) {
  const std::vector<std::string> names = UpperKeyNames(platform, key);
  const bool entry = names.size() == kUninstallBranchKeys.size() + 1 &&
                     BelowBranch(names, kUninstallBranchKeys) == 1;
  return entry ? Joined(names) : std::string();
}

bool ProtectedKey(const Platform& platform, RegistryRoot root, std::string_view path,
                  std::string_view productEntry) {
  const std::vector<std::string> names = UpperKeyNames(platform, path);
  if (names.empty()) return true;
  if (names.size() == 1) {
    // One level below HKEY_CLASSES_ROOT only a class the association phase makes may go.
    if (root != RegistryRoot::kClassesRoot) return true;
    const std::string& name = names.front();
    const std::string suffix = MapString(platform, relate_text::kClassSuffix, kMapUpperCase);
    if (name.ends_with(suffix)) return false;
    const auto value = platform.readRegistryValue(root, path, "");
    return !(name.starts_with('.') && value &&
             MapString(platform, value->text, kMapUpperCase) == name.substr(1) + suffix);
  }
  for (const int place :
       {BelowBranch(names, kUninstallBranchKeys), BelowBranch(names, kUninstallBranch32Keys)}) {
    if (place == 0) return true;  // the Uninstall key or one above it
    if (place == 1) return !(root == RegistryRoot::kLocalMachine && Joined(names) == productEntry);
  }
  return false;
}

}  // namespace orv
