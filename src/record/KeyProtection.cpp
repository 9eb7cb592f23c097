#include "record/KeyProtection.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/RegistryNames.h"
#include "common/TextUtils.h"

namespace orv {

namespace {

using Names = std::vector<std::string>;

// The Uninstall branch, as key names in upper case.
constexpr std::array<std::string_view, 5> kUninstallBranchKeys = {
    "SOFTWARE", "MICROSOFT", "WINDOWS", "CURRENTVERSION", "UNINSTALL"};

// Classes below which products add their own verbs (shell\<verb>) and shell extensions
// (shellex\<kind>\<handler>).
constexpr std::array<std::string_view, 6> kVerbContainers = {
    "*", "ALLFILESYSTEMOBJECTS", "DIRECTORY", "DRIVE", "FOLDER", "DESKTOPBACKGROUND"};

// SOFTWARE keys whose whole trees are Windows' (or, for Clients and ODBC, shared by every
// program, so no record can tell its own part).
constexpr std::array<std::string_view, 4> kWindowsSoftware = {"MICROSOFT", "CLIENTS", "ODBC",
                                                              "REGISTEREDAPPLICATIONS"};

Names UpperKeyNames(const Platform& platform, std::string_view path) {
  Names names = KeyNames(path);
  for (std::string& name : names)
    name = MapString(platform, name, kMapUpperCase);
  return names;
}

std::string Joined(const Names& names, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count && i < names.size(); ++i)
    joined += (i == 0 ? "" : "\\") + names[i];
  return joined;
}

bool Contains(const auto& list, std::string_view name) {
  return std::ranges::find(list, name) != list.end();
}

// The 32-bit view of a 64-bit Windows lies in a Wow6432Node key; it keeps the same rules.
void LookThroughWow64(Names& names, std::size_t at) {
  if (names.size() > at && names[at] == "WOW6432NODE") names.erase(names.begin() + at);
}

enum class Hive { kMachine, kUser, kClasses };

struct Place {
  Hive hive;
  Names names;  // below the hive's root, upper case
};

Place SoftwarePlace(Hive hive, Names names) {
  if (!names.empty() && names[0] == "SOFTWARE") LookThroughWow64(names, 1);
  if (names.size() >= 2 && names[0] == "SOFTWARE" && names[1] == "CLASSES") {
    names.erase(names.begin(), names.begin() + 2);
    LookThroughWow64(names, 0);
    return {Hive::kClasses, std::move(names)};
  }
  return {hive, std::move(names)};
}

// Where a key stands, as the rules see it; nullopt for HKEY_USERS and the users' own keys.
std::optional<Place> PlaceOf(RegistryRoot root, Names names) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      LookThroughWow64(names, 0);
      return Place{Hive::kClasses, std::move(names)};
    case RegistryRoot::kLocalMachine:
      return SoftwarePlace(Hive::kMachine, std::move(names));
    case RegistryRoot::kCurrentUser:
      return SoftwarePlace(Hive::kUser, std::move(names));
    case RegistryRoot::kUsers:
      break;
  }
  if (names.size() < 2) return std::nullopt;
  const bool classes = names[0].ends_with("_CLASSES");
  names.erase(names.begin());
  if (!classes) return SoftwarePlace(Hive::kUser, std::move(names));
  LookThroughWow64(names, 0);
  return Place{Hive::kClasses, std::move(names)};
}

KeyVerdict JudgeClass(const Platform& platform, RegistryRoot root, std::string_view path,
                      const Names& names) {
  if (names.empty()) return KeyVerdict::kProtected;
  const std::string& name = names[0];
  if (name.ends_with(MapString(platform, kAssociationClassSuffix, kMapUpperCase))) {
    return KeyVerdict::kDelete;
  }
  if (name.starts_with('.')) {
    if (names.size() > 1) return KeyVerdict::kProtected;
    const auto value = platform.readRegistryValue(root, path, "");
    const std::string productClass =
        name.substr(1) + MapString(platform, kAssociationClassSuffix, kMapUpperCase);
    return value && MapString(platform, value->text, kMapUpperCase) == productClass
               ? KeyVerdict::kUndoAssociation
               : KeyVerdict::kProtected;
  }
  std::size_t container = 0;
  if (Contains(kVerbContainers, name)) container = 1;
  if (names.size() > 1 &&
      ((name == "DIRECTORY" && names[1] == "BACKGROUND") || name == "SYSTEMFILEASSOCIATIONS")) {
    container = 2;
  }
  if (container > 0 && names.size() > container) {
    const std::string& kind = names[container];
    if ((kind == "SHELL" && names.size() >= container + 2) ||
        (kind == "SHELLEX" && names.size() >= container + 3)) {
      return KeyVerdict::kDelete;
    }
  }
  return KeyVerdict::kProtected;
}

KeyVerdict JudgeSoftware(Hive hive, const Names& names, std::string_view productEntry) {
  if (names.size() < 2 || names[0] != "SOFTWARE") return KeyVerdict::kProtected;
  if (hive == Hive::kMachine && !productEntry.empty() &&
      names.size() > kUninstallBranchKeys.size() &&
      Joined(names, kUninstallBranchKeys.size() + 1) == productEntry) {
    return KeyVerdict::kDelete;
  }
  const std::string& vendor = names[1];
  if (Contains(kWindowsSoftware, vendor)) return KeyVerdict::kProtected;
  if (vendor == "POLICIES" && (names.size() == 2 || names[2] == "MICROSOFT")) {
    return KeyVerdict::kProtected;
  }
  return KeyVerdict::kDelete;
}

}  // namespace

std::string UninstallEntryOf(const Platform& platform, std::string_view key) {
  const Names names = UpperKeyNames(platform, key);
  const bool entry =
      names.size() == kUninstallBranchKeys.size() + 1 &&
      std::equal(kUninstallBranchKeys.begin(), kUninstallBranchKeys.end(), names.begin());
  return entry ? Joined(names, names.size()) : std::string();
}

KeyVerdict JudgeKey(const Platform& platform, RegistryRoot root, std::string_view path,
                    std::string_view productEntry) {
  const auto place = PlaceOf(root, UpperKeyNames(platform, path));
  if (!place) return KeyVerdict::kProtected;
  if (place->hive == Hive::kClasses) return JudgeClass(platform, root, path, place->names);
  return JudgeSoftware(place->hive, place->names, productEntry);
}

}  // namespace orv
