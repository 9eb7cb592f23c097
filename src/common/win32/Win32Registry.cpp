// The registry, through the wide functions so Japanese key and value names work on any system
// code page. A hive's view becomes the KEY_WOW64_* flag of every open; without one (kProgram)
// Windows chooses: the i686 release is redirected as every 32-bit installer is
// (HKEY_LOCAL_MACHINE\SOFTWARE into its 32-bit view, where Add/Remove Programs also looks), the
// x86_64 build sees the native view.
#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "common/TextUtils.h"
#include "common/win32/Handles.h"
#include "common/win32/SystemLibrary.h"
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

// Deletes the key and all below it, every key opened in the view: a subkey opened without the
// view flag could be another view's. (XP's RegDeleteKey takes no view, and its 32-bit Windows
// has one.)
LONG DeleteKeyTree(HKEY root, const std::wstring& path, REGSAM view) {
  {
    HKEY opened = nullptr;
    if (const LONG result =
            ::RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | view, &opened)) {
      return result;
    }
    const RegistryKey key(opened);
    wchar_t name[256];  // the longest key name is 255 characters
    for (;;) {
      DWORD length = 256;
      const LONG found =
          ::RegEnumKeyExW(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (found == ERROR_NO_MORE_ITEMS) break;
      if (found != ERROR_SUCCESS) return found;
      if (const LONG below = DeleteKeyTree(root, path + L'\\' + std::wstring(name, length), view)) {
        return below;
      }
    }
  }
  using DeleteKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  static const win32::SystemLibrary advapi32(L"advapi32.dll");
  static const auto deleteKeyEx = advapi32.find<DeleteKeyEx>("RegDeleteKeyExW");
  if (view != 0 && deleteKeyEx != nullptr) return deleteKeyEx(root, path.c_str(), view, 0);
  return ::RegDeleteKeyW(root, path.c_str());
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
  // Doubled and final separators name no key of their own.
  std::string whole;
  for (const std::string& name : KeyNames(path))
    whole += (whole.empty() ? "" : "\\") + name;
  if (whole.empty()) return Status(kErrorInvalidParameter);
  return Status(static_cast<WinError>(
      DeleteKeyTree(RootKey(hive.root), Wide(whole), ViewFlag(*this, hive.view))));
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
