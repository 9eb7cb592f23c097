// The simulated registry: a tree of keys under HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and
// HKEY_USERS, names matched without regard to case, typed values. HKEY_CLASSES_ROOT is shown as
// Windows shows it: the user's Software\Classes over the machine's.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/Platform.h"

namespace orv {

class SimRegistry {
 public:
  // upper maps a name to the form names are compared in.
  explicit SimRegistry(std::function<std::string(std::string_view)> upper);
  ~SimRegistry();
  SimRegistry(const SimRegistry&) = delete;
  SimRegistry& operator=(const SimRegistry&) = delete;

  Status createKey(RegistryRoot root, std::string_view path);
  Status writeValue(RegistryRoot root, std::string_view path, std::string_view name,
                    const RegistryValue& value);
  std::optional<RegistryValue> readValue(RegistryRoot root, std::string_view path,
                                         std::string_view name) const;
  bool keyExists(RegistryRoot root, std::string_view path) const;
  Status deleteKey(RegistryRoot root, std::string_view path);
  Status deleteValue(RegistryRoot root, std::string_view path, std::string_view name);
  bool keyEmpty(RegistryRoot root, std::string_view path) const;

  // The whole registry as REGEDIT4 text, for test failure messages.
  std::string text() const;
  // Every key by its full path ("HKEY_CURRENT_USER\\Software"), and every value by key and name.
  void collect(std::set<std::string>& keys,
               std::map<std::pair<std::string, std::string>, RegistryValue>& values) const;

 private:
  struct Key;
  struct Location {
    Key* tree;
    std::vector<std::string> names;
  };

  // The tree and key names a path stands for; nullopt for a malformed path.
  std::optional<Location> locate(RegistryRoot root, std::string_view path) const;
  Key* find(const Location& location) const;
  Key& make(const Location& location);
  static void dump(const Key& key, const std::string& path, std::string& out);
  static void collect(const Key& key, const std::string& path, std::set<std::string>& keys,
                      std::map<std::pair<std::string, std::string>, RegistryValue>& values);

  std::function<std::string(std::string_view)> upper_;
  std::unique_ptr<Key> currentUser_;
  std::unique_ptr<Key> localMachine_;
  std::unique_ptr<Key> users_;
};

}  // namespace orv
