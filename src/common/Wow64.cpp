#include "common/Wow64.h"

#include <array>
#include <optional>
#include <vector>

#include "common/TextUtils.h"

namespace orv {

std::string KeyOf32BitView(const Platform& platform, RegistryRoot root, std::string_view path) {
  if (path.starts_with('\\')) return std::string(path);  // no key
  std::vector<std::string> names = KeyNames(path);
  std::vector<std::string> upper;
  for (const std::string& name : names)
    upper.push_back(platform.upperCase(name));
  const auto comKey = [&upper](std::size_t at) {
    return upper.size() > at &&
           (upper[at] == "CLSID" || upper[at] == "INTERFACE" || upper[at] == "DIRECTSHOW" ||
            upper[at] == "MEDIA TYPE" || upper[at] == "MEDIAFOUNDATION");
  };
  std::optional<std::size_t> at;
  const bool software = !upper.empty() && upper[0] == "SOFTWARE";
  const bool classes = software && upper.size() > 1 && upper[1] == "CLASSES";
  switch (root) {
    case RegistryRoot::kClassesRoot:
      if (comKey(0)) at = 0;
      break;
    case RegistryRoot::kLocalMachine:
      if (classes && comKey(2)) {
        at = 2;
      } else if (software && !classes && (upper.size() < 2 || upper[1] != "WOW6432NODE")) {
        at = 1;
      }
      break;
    case RegistryRoot::kCurrentUser:
      if (classes && comKey(2)) at = 2;
      break;
    case RegistryRoot::kUsers:
      break;
  }
  if (!at) return std::string(path);
  names.insert(names.begin() + static_cast<std::ptrdiff_t>(*at), "Wow6432Node");
  std::string key;
  for (const std::string& name : names)
    key += (key.empty() ? "" : "\\") + name;
  return key;
}

bool RedirectedBelowSystem32(std::string_view below) {
  constexpr std::array<std::string_view, 5> kShared = {"CATROOT", "CATROOT2", "DRIVERSTORE",
                                                       "LOGFILES", "SPOOL"};
  const std::vector<std::string> names = KeyNames(below);
  if (names.empty()) return true;
  if (names[0] == "DRIVERS" && names.size() > 1 && names[1] == "ETC") return false;
  for (const std::string_view shared : kShared) {
    if (names[0] == shared) return false;
  }
  return true;
}

}  // namespace orv
