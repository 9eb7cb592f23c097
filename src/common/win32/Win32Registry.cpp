// The registry, through the wide functions so Japanese key and value names work on any system
// code page. A hive's view becomes the KEY_WOW64_* flag of every open; without one (kProgram)
// Windows chooses: the i686 release is redirected as every 32-bit installer is
// (HKEY_LOCAL_MACHINE\SOFTWARE into its 32-bit view, where Add/Remove Programs also looks), the
// x86_64 build sees the native view.
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <vector>

#include "common/win32/Handles.h"
#include "common/win32/WideText.h"
#include "common/win32/Win32Platform.h"

namespace orv {

namespace {

using win32::RegistryKey;
using win32::Wide;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
    case RegistryRoot::kCurrentUser:
      break;
  }
  return HKEY_CURRENT_USER;
}

// The flag that opens a key in the view; none on 32-bit Windows, which has one view.
REGSAM ViewFlag(const Platform& platform, RegistryView view) {
  if (view == RegistryView::kProgram || !platform.windows64()) return 0;
  return view == RegistryView::k64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

// Opens, or with create makes, the key; the Win32 error when that fails.
LONG OpenKey(const Platform& platform, RegistryHive hive, std::string_view path, REGSAM access,
             bool create, RegistryKey& key) {
  HKEY opened = nullptr;
  const std::wstring widePath = Wide(path);
  access |= ViewFlag(platform, hive.view);
  const LONG result =
      create ? ::RegCreateKeyExW(RootKey(hive.root), widePath.c_str(), 0, nullptr, 0, access,
                                 nullptr, &opened, nullptr)
             : ::RegOpenKeyExW(RootKey(hive.root), widePath.c_str(), 0, access, &opened);
  if (result == ERROR_SUCCESS) key = RegistryKey(opened);
  return result;
}

}  // namespace

Status Win32Platform::createRegistryKey(RegistryHive hive, std::string_view path) {
  if (path.empty()) return Status(kErrorInvalidParameter);
  RegistryKey key;
  return Status(static_cast<WinError>(OpenKey(*this, hive, path, KEY_ALL_ACCESS, true, key)));
}

Status Win32Platform::writeRegistryValue(RegistryHive hive, std::string_view path,
                                         std::string_view name, const RegistryValue& value) {
  if (path.empty()) return Status(kErrorInvalidParameter);
  RegistryKey key;
  if (const LONG opened = OpenKey(*this, hive, path, KEY_SET_VALUE, true, key)) {
    return Status(static_cast<WinError>(opened));
  }
  const std::wstring wideName = Wide(name);
  LONG result = ERROR_SUCCESS;
  if (value.type == RegistryType::kDword) {
    const DWORD number = value.number;
    result = ::RegSetValueExW(key.get(), wideName.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&number), sizeof number);
  } else {
    const std::wstring text = Wide(value.text);
    result = ::RegSetValueExW(key.get(), wideName.c_str(), 0, static_cast<DWORD>(value.type),
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  return Status(static_cast<WinError>(result));
}

std::optional<RegistryValue> Win32Platform::readRegistryValue(RegistryHive hive,
                                                              std::string_view path,
                                                              std::string_view name) const {
  RegistryKey key;
  if (OpenKey(*this, hive, path, KEY_QUERY_VALUE, false, key) != ERROR_SUCCESS) return std::nullopt;
  const std::wstring wideName = Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<BYTE> data(size + sizeof(wchar_t), 0);
  if (::RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::copy_n(data.data(), sizeof number, reinterpret_cast<BYTE*>(&number));
    return RegistryValue{RegistryType::kDword, {}, number};
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  std::copy_n(data.data(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
  while (!text.empty() && text.back() == L'\0')
    text.pop_back();
  return RegistryValue{static_cast<RegistryType>(type), win32::Narrow(text), 0};
}

bool Win32Platform::registryKeyExists(RegistryHive hive, std::string_view path) const {
  RegistryKey key;
  return OpenKey(*this, hive, path, KEY_QUERY_VALUE, false, key) == ERROR_SUCCESS;
}

Status Win32Platform::deleteRegistryKey(RegistryHive hive, std::string_view path) {
  if (path.empty()) return Status(kErrorInvalidParameter);
  // SHDeleteKey takes the subkeys as well, and Windows XP has it (RegDeleteTree came later). It
  // opens the subkeys without a view: the parent key, opened in the view, is the key of that view
  // (a view redirects where a key is opened), and the subkeys are found below it.
  // Doubled and final separators name no key of their own.
  std::string_view whole = path;
  while (whole.ends_with('\\'))
    whole.remove_suffix(1);
  const auto last = whole.rfind('\\');
  std::string_view parent = last == std::string_view::npos ? "" : whole.substr(0, last);
  const std::string_view name = whole.substr(last == std::string_view::npos ? 0 : last + 1);
  if (name.empty()) return Status(kErrorInvalidParameter);
  while (parent.ends_with('\\'))
    parent.remove_suffix(1);
  RegistryKey key;
  if (const LONG opened = OpenKey(*this, hive, parent, KEY_READ, false, key)) {
    return Status(static_cast<WinError>(opened));
  }
  return Status(static_cast<WinError>(::SHDeleteKeyW(key.get(), Wide(name).c_str())));
}

Status Win32Platform::deleteRegistryValue(RegistryHive hive, std::string_view path,
                                          std::string_view name) {
  RegistryKey key;
  if (const LONG opened = OpenKey(*this, hive, path, KEY_SET_VALUE, false, key)) {
    return Status(static_cast<WinError>(opened));
  }
  return Status(static_cast<WinError>(::RegDeleteValueW(key.get(), Wide(name).c_str())));
}

bool Win32Platform::registryKeyEmpty(RegistryHive hive, std::string_view path) const {
  RegistryKey key;
  if (OpenKey(*this, hive, path, KEY_QUERY_VALUE, false, key) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  return ::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                            &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

void Win32Platform::notifyAssociationsChanged() {
  ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace orv
