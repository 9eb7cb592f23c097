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
// Where a product registers the path of its program: App Paths\<name> below SOFTWARE.
constexpr std::array<std::string_view, 5> kAppPathsKeys = {"SOFTWARE", "MICROSOFT", "WINDOWS",
                                                           "CURRENTVERSION", "APP PATHS"};

// Classes below which products add their own verbs (shell\<verb>) and shell extensions
// (shellex\<kind>\<handler>).
constexpr std::array<std::string_view, 6> kVerbContainers = {
    "*", "ALLFILESYSTEMOBJECTS", "DIRECTORY", "DRIVE", "FOLDER", "DESKTOPBACKGROUND"};
// The verbs and handlers Windows puts there itself (Explorer, the shell's menus, BitLocker,
// Defender, sharing); a product names its own otherwise.
constexpr std::array<std::string_view, 29> kWindowsVerbs = {"OPEN",
                                                            "OPENNEW",
                                                            "OPENAS",
                                                            "OPENNEWWINDOW",
                                                            "OPENNEWPROCESS",
                                                            "OPENNEWTAB",
                                                            "EDIT",
                                                            "PRINT",
                                                            "PRINTTO",
                                                            "EXPLORE",
                                                            "FIND",
                                                            "SEARCH",
                                                            "RUNAS",
                                                            "RUNASUSER",
                                                            "CMD",
                                                            "POWERSHELL",
                                                            "PINTOHOME",
                                                            "PINTOSTARTSCREEN",
                                                            "PLAY",
                                                            "PREVIEW",
                                                            "PROPERTIES",
                                                            "PERSONALIZE",
                                                            "DISPLAY",
                                                            "ENCRYPT-BDE",
                                                            "ENCRYPT-BDE-ELEV",
                                                            "MANAGE-BDE",
                                                            "RESUME-BDE",
                                                            "UNLOCK-BDE",
                                                            "CHANGEPASSPHRASE"};
constexpr std::array<std::string_view, 15> kWindowsHandlers = {"OPEN WITH",
                                                               "OPEN WITH ENCRYPTIONMENU",
                                                               "ENCRYPTIONMENU",
                                                               "SHARING",
                                                               "MODERNSHARING",
                                                               "COPYASPATHMENU",
                                                               "OFFLINE FILES",
                                                               "WORKFOLDERS",
                                                               "LIBRARY LOCATION",
                                                               "PINTOSTARTSCREEN",
                                                               "SENDTO",
                                                               "COMPATIBILITY",
                                                               "NEW",
                                                               "EPP",
                                                               "FILESYNCEX"};
// The first parts of the ProgIDs that Windows and its components register.
constexpr std::array<std::string_view, 23> kWindowsProgIdVendors = {
    "MICROSOFT", "WINDOWS",       "SHELL",
    "WSCRIPT",   "SCRIPTING",     "MSXML",
    "MSXML2",    "ADODB",         "INTERNETEXPLORER",
    "IE",        "PAINT",         "WMPLAYER",
    "WMP11",     "CDO",           "VBSCRIPT",
    "JSCRIPT",   "WBEMSCRIPTING", "MSI",
    "SCHEDULE",  "HNETCFG",       "SAPI",
    "MSHTML",    "XPSVIEWER"};

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

bool StartsWith(const Names& names, const auto& prefix) {
  return names.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), names.begin());
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in hexadecimal digits.
bool IsBracedGuid(std::string_view name) {
  if (name.size() != 38 || name.front() != '{' || name.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    const char c = name[i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (dash ? c != '-' : !hex) return false;
  }
  return true;
}

enum class Hive { kMachine, kUser, kClasses };

struct Place {
  Hive hive;
  Names names;        // below the hive's root, upper case
  RegistryView view;  // k64 or k32
};

// The 32-bit view of a 64-bit Windows lies in a Wow6432Node key; it keeps the same rules.
void LookThroughWow64(Place& place, std::size_t at) {
  if (place.names.size() > at && place.names[at] == "WOW6432NODE") {
    place.names.erase(place.names.begin() + static_cast<std::ptrdiff_t>(at));
    place.view = RegistryView::k32;
  }
}

Place SoftwarePlace(Place place) {
  if (!place.names.empty() && place.names[0] == "SOFTWARE") LookThroughWow64(place, 1);
  if (place.names.size() >= 2 && place.names[0] == "SOFTWARE" && place.names[1] == "CLASSES") {
    place.names.erase(place.names.begin(), place.names.begin() + 2);
    place.hive = Hive::kClasses;
    LookThroughWow64(place, 0);
  }
  return place;
}

// Where a key stands, as the rules see it; nullopt for HKEY_USERS and the users' own keys.
std::optional<Place> PlaceOf(const Platform& platform, RegistryHive hive, Names names) {
  Place place{Hive::kMachine, std::move(names), SeenView(platform, hive.view)};
  switch (hive.root) {
    case RegistryRoot::kClassesRoot:
      place.hive = Hive::kClasses;
      LookThroughWow64(place, 0);
      return place;
    case RegistryRoot::kLocalMachine:
      return SoftwarePlace(std::move(place));
    case RegistryRoot::kCurrentUser:
      place.hive = Hive::kUser;
      return SoftwarePlace(std::move(place));
    case RegistryRoot::kUsers:
      break;
  }
  if (place.names.size() < 2) return std::nullopt;
  const bool classes = place.names[0].ends_with("_CLASSES");
  place.names.erase(place.names.begin());
  place.hive = Hive::kUser;
  if (!classes) return SoftwarePlace(std::move(place));
  place.hive = Hive::kClasses;
  LookThroughWow64(place, 0);
  return place;
}

// A verb (shell\<verb>) or shell extension (shellex\<kind>\<handler>) below a class that holds
// Windows' own and products' ones alike; nullopt when the key is no such verb or handler.
std::optional<KeyVerdict> JudgeVerb(const Names& names) {
  std::size_t container = 0;
  if (Contains(kVerbContainers, names[0])) container = 1;
  if (names.size() > 1 && ((names[0] == "DIRECTORY" && names[1] == "BACKGROUND") ||
                           names[0] == "SYSTEMFILEASSOCIATIONS")) {
    container = 2;
  }
  if (container == 0 || names.size() <= container) return std::nullopt;
  const std::string& kind = names[container];
  if (kind == "SHELL" && names.size() >= container + 2) {
    return Contains(kWindowsVerbs, names[container + 1]) ? KeyVerdict::kProtected
                                                         : KeyVerdict::kDelete;
  }
  if (kind == "SHELLEX" && names.size() >= container + 3) {
    return Contains(kWindowsHandlers, names[container + 2]) ? KeyVerdict::kProtected
                                                            : KeyVerdict::kDelete;
  }
  return KeyVerdict::kProtected;
}

KeyVerdict JudgeClass(const Platform& platform, RegistryHive hive, std::string_view path,
                      const Names& names) {
  if (names.empty()) return KeyVerdict::kProtected;
  const std::string& name = names[0];
  const std::string suffix = MapString(platform, kAssociationClassSuffix, kMapUpperCase);
  if (name.ends_with(suffix)) return KeyVerdict::kDelete;
  if (name.starts_with('.')) {
    if (names.size() > 1) return KeyVerdict::kProtected;
    const auto value = platform.readRegistryValue(hive, path, "");
    const std::string productClass = name.substr(1) + suffix;
    return value && MapString(platform, value->text, kMapUpperCase) == productClass
               ? KeyVerdict::kUndoAssociation
               : KeyVerdict::kProtected;
  }
  if (names.size() >= 2 &&
      (name == "APPLICATIONS" || (name == "CLSID" && IsBracedGuid(names[1])))) {
    return KeyVerdict::kDelete;
  }
  if (const auto verb = JudgeVerb(names)) return *verb;
  const auto dot = name.find('.');
  if (dot != std::string::npos && dot > 0 &&
      !Contains(kWindowsProgIdVendors, name.substr(0, dot))) {
    return KeyVerdict::kDelete;  // a ProgID
  }
  return KeyVerdict::kProtected;
}

KeyVerdict JudgeSoftware(const Names& names) {
  if (names.size() < 2 || names[0] != "SOFTWARE" || names[1] == "POLICIES") {
    return KeyVerdict::kProtected;
  }
  if (names.size() > kAppPathsKeys.size() && StartsWith(names, kAppPathsKeys)) {
    return KeyVerdict::kDelete;
  }
  return Contains(kWindowsSoftware, names[1]) ? KeyVerdict::kProtected : KeyVerdict::kDelete;
}

}  // namespace

std::string UninstallEntryOf(const Platform& platform, std::string_view key) {
  const Names names = UpperKeyNames(platform, key);
  const bool entry =
      names.size() == kUninstallBranchKeys.size() + 1 && StartsWith(names, kUninstallBranchKeys);
  return entry ? Joined(names, names.size()) : std::string();
}

KeyVerdict JudgeKey(const Platform& platform, RegistryHive hive, std::string_view path,
                    bool verified, const ProductEntry& product) {
  const auto place = PlaceOf(platform, hive, UpperKeyNames(platform, path));
  if (!place) return KeyVerdict::kProtected;
  if (place->hive == Hive::kMachine && StartsWith(place->names, kUninstallBranchKeys)) {
    const bool own = !product.Name.empty() && place->view == product.View &&
                     place->names.size() > kUninstallBranchKeys.size() &&
                     Joined(place->names, kUninstallBranchKeys.size() + 1) == product.Name;
    return own ? KeyVerdict::kDelete : KeyVerdict::kProtected;
  }
  if (!verified) return KeyVerdict::kProtected;
  if (place->hive == Hive::kClasses) return JudgeClass(platform, hive, path, place->names);
  return JudgeSoftware(place->names);
}

}  // namespace orv
