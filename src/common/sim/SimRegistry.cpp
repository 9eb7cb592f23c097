#include "common/sim/SimRegistry.h"

#include <cstdio>

namespace orv {

struct SimRegistry::Key {
  std::string name;
  // By upper-case name: the name as written and the value.
  std::map<std::string, std::pair<std::string, RegistryValue>> values;
  std::map<std::string, std::unique_ptr<Key>> subkeys;
};

namespace {

constexpr std::string_view kClasses = "Software\\Classes";

std::vector<std::string> Split(std::string_view path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    names.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

SimRegistry::SimRegistry(std::function<std::string(std::string_view)> upper)
    : upper_(std::move(upper)),
      currentUser_(std::make_unique<Key>(Key{"HKEY_CURRENT_USER", {}, {}})),
      localMachine_(std::make_unique<Key>(Key{"HKEY_LOCAL_MACHINE", {}, {}})),
      users_(std::make_unique<Key>(Key{"HKEY_USERS", {}, {}})) {
  // The keys every Windows has.
  make({currentUser_.get(), Split("Software\\Classes")});
  make({localMachine_.get(), Split("SOFTWARE\\Classes")});
  make({localMachine_.get(), Split("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall")});
  make({users_.get(), Split(".DEFAULT\\Software")});
}

SimRegistry::~SimRegistry() = default;

std::optional<SimRegistry::Location> SimRegistry::locate(RegistryRoot root,
                                                         std::string_view path) const {
  // Windows refuses a leading separator; doubled and final separators name no key of their own.
  if (path.starts_with('\\')) return std::nullopt;
  std::vector<std::string> names = path.empty() ? std::vector<std::string>() : Split(path);
  std::erase_if(names, [](const std::string& name) { return name.empty(); });
  switch (root) {
    case RegistryRoot::kCurrentUser:
      return Location{currentUser_.get(), names};
    case RegistryRoot::kLocalMachine:
      return Location{localMachine_.get(), names};
    case RegistryRoot::kUsers:
      return Location{users_.get(), names};
    case RegistryRoot::kClassesRoot:
      break;
  }
  std::vector<std::string> classes = Split(kClasses);
  classes.insert(classes.end(), names.begin(), names.end());
  // A key the user has of their own is the one seen and written; new keys go to the machine.
  const Location user{currentUser_.get(), classes};
  if (!names.empty() && find(user) != nullptr) return user;
  return Location{localMachine_.get(), classes};
}

SimRegistry::Key* SimRegistry::find(const Location& location) const {
  Key* key = location.tree;
  for (const std::string& name : location.names) {
    const auto found = key->subkeys.find(upper_(name));
    if (found == key->subkeys.end()) return nullptr;
    key = found->second.get();
  }
  return key;
}

SimRegistry::Key& SimRegistry::make(const Location& location) {
  Key* key = location.tree;
  for (const std::string& name : location.names) {
    auto& slot = key->subkeys[upper_(name)];
    if (!slot) slot = std::make_unique<Key>(Key{name, {}, {}});
    key = slot.get();
  }
  return *key;
}

Status SimRegistry::createKey(RegistryRoot root, std::string_view path) {
  const auto location = locate(root, path);
  if (!location) return Status(kErrorBadPathname);
  make(*location);
  return Status::ok();
}

Status SimRegistry::writeValue(RegistryRoot root, std::string_view path, std::string_view name,
                               const RegistryValue& value) {
  const auto location = locate(root, path);
  if (!location) return Status(kErrorBadPathname);
  make(*location).values[upper_(name)] = {std::string(name), value};
  return Status::ok();
}

std::optional<RegistryValue> SimRegistry::readValue(RegistryRoot root, std::string_view path,
                                                    std::string_view name) const {
  const auto location = locate(root, path);
  const Key* key = location ? find(*location) : nullptr;
  if (key == nullptr) return std::nullopt;
  const auto found = key->values.find(upper_(name));
  if (found == key->values.end()) return std::nullopt;
  return found->second.second;
}

bool SimRegistry::keyExists(RegistryRoot root, std::string_view path) const {
  const auto location = locate(root, path);
  return location && find(*location) != nullptr;
}

Status SimRegistry::deleteKey(RegistryRoot root, std::string_view path) {
  auto location = locate(root, path);
  if (!location) return Status(kErrorBadPathname);
  if (location->names.empty()) return Status(kErrorAccessDenied);  // a root cannot go
  const std::string last = location->names.back();
  location->names.pop_back();
  Key* parent = find(*location);
  if (parent == nullptr || parent->subkeys.erase(upper_(last)) == 0) {
    return Status(kErrorFileNotFound);
  }
  return Status::ok();
}

Status SimRegistry::deleteValue(RegistryRoot root, std::string_view path, std::string_view name) {
  const auto location = locate(root, path);
  Key* key = location ? find(*location) : nullptr;
  if (key == nullptr || key->values.erase(upper_(name)) == 0) return Status(kErrorFileNotFound);
  return Status::ok();
}

bool SimRegistry::keyEmpty(RegistryRoot root, std::string_view path) const {
  const auto location = locate(root, path);
  const Key* key = location ? find(*location) : nullptr;
  return key != nullptr && key->values.empty() && key->subkeys.empty();
}

namespace {

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

void SimRegistry::dump(const Key& key, const std::string& path, std::string& out) {
  out += "\r\n[" + path + "]\r\n";
  for (const auto& [upperName, entry] : key.values) {
    const auto& [name, value] = entry;
    out += name.empty() ? "@" : Quoted(name);
    out += "=";
    if (value.type == RegistryType::kDword) {
      char number[16];
      std::snprintf(number, sizeof number, "dword:%08x", value.number);
      out += number;
    } else {
      out += (value.type == RegistryType::kExpandString ? "expand:" : "") + Quoted(value.text);
    }
    out += "\r\n";
  }
  for (const auto& [upperName, subkey] : key.subkeys)
    dump(*subkey, path + "\\" + subkey->name, out);
}

std::string SimRegistry::text() const {
  std::string out = "REGEDIT4\r\n";
  for (const Key* tree : {currentUser_.get(), localMachine_.get(), users_.get()})
    dump(*tree, tree->name, out);
  return out;
}

void SimRegistry::collect(const Key& key, const std::string& path, std::set<std::string>& keys,
                          std::map<std::pair<std::string, std::string>, RegistryValue>& values) {
  keys.insert(path);
  for (const auto& [upperName, entry] : key.values)
    values[{path, entry.first}] = entry.second;
  for (const auto& [upperName, subkey] : key.subkeys)
    collect(*subkey, path + "\\" + subkey->name, keys, values);
}

void SimRegistry::collect(
    std::set<std::string>& keys,
    std::map<std::pair<std::string, std::string>, RegistryValue>& values) const {
  for (const Key* tree : {currentUser_.get(), localMachine_.get(), users_.get()})
    collect(*tree, tree->name, keys, values);
}

}  // namespace orv
