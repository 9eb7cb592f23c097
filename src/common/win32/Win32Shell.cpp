// The shell: special folders, shell links, and the system's error texts.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "common/win32/Handles.h"
#include "common/win32/SystemLibrary.h"
#include "common/win32/WideText.h"
#include "common/win32/Win32Platform.h"

namespace orv {

namespace {

using win32::ComPtr;
using win32::Wide;

// The wide interfaces, so any folder or file name works whatever the system code page.
class Win32ShellLink final : public ShellLink {
 public:
  Win32ShellLink(ComPtr<IShellLinkW> link, ComPtr<IPersistFile> file)
      : link_(std::move(link)), file_(std::move(file)) {}

  void setTarget(std::string_view path) override { link_.get()->SetPath(Wide(path).c_str()); }
  void setWorkingFolder(std::string_view path) override {
    link_.get()->SetWorkingDirectory(Wide(path).c_str());
  }
  Status save(std::string_view linkPath) override {
    const HRESULT result = file_.get()->Save(Wide(linkPath).c_str(), FALSE);
    return SUCCEEDED(result) ? Status::ok() : Status(static_cast<WinError>(result));
  }

 private:
  ComPtr<IShellLinkW> link_;
  ComPtr<IPersistFile> file_;
};

// The shell's link object with its two interfaces (either may be missing), or the COM result
// that made none.
struct LinkInterfaces {
  HRESULT created = S_OK;
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
};

LinkInterfaces MakeLinkObject() {
  IUnknown* object = nullptr;
  LinkInterfaces made;
  win32::LoadShellOwnLibraries();
  made.created =
      ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         IID_IUnknown, reinterpret_cast<void**>(&object));
  if (FAILED(made.created)) return made;
  const ComPtr<IUnknown> unknown(object);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  unknown.get()->QueryInterface(IID_IShellLinkW, reinterpret_cast<void**>(&link));
  made.link = ComPtr<IShellLinkW>(link);
  unknown.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  made.file = ComPtr<IPersistFile>(file);
  return made;
}

}  // namespace

void Win32Platform::needCom() const {
  if (!com_) com_.emplace();
}

std::optional<std::string> Win32Platform::specialFolder(int folderId) const {
  // The CSIDL query, which Windows XP has (the known-folder calls came later).
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, folderId, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return std::nullopt;
  }
  return win32::Narrow(path);
}

ShellLinkObject Win32Platform::createShellLink() {
  needCom();
  LinkInterfaces object = MakeLinkObject();
  if (FAILED(object.created)) return {nullptr, static_cast<std::uint32_t>(object.created), false};
  if (!object.link.valid() || !object.file.valid()) return {nullptr, 0, true};
  return {std::make_unique<Win32ShellLink>(std::move(object.link), std::move(object.file)), 0,
          false};
}

std::optional<std::string> Win32Platform::shellLinkTarget(std::string_view path) const {
  needCom();
  const LinkInterfaces object = MakeLinkObject();
  if (!object.link.valid() || !object.file.valid() ||
      FAILED(object.file.get()->Load(Wide(path).c_str(), STGM_READ))) {
    return std::nullopt;
  }
  wchar_t target[MAX_PATH] = {};
  if (object.link.get()->GetPath(target, MAX_PATH, nullptr, 0) != S_OK || target[0] == L'\0') {
    return std::nullopt;
  }
  return win32::Narrow(target);
}

int Win32Platform::restartDialog(const Form& owner) {
  // Exported by ordinal only on some Windows versions, and absent from others: looked up at run
  // time so the program still loads where it is missing.
  using RestartDialogFunction = int(WINAPI*)(HWND, PCWSTR, DWORD);
  needWindows();
  win32::LoadShellOwnLibraries();
  static const win32::SystemLibrary shell32(L"shell32.dll");
  const auto restart = shell32.find<RestartDialogFunction>(MAKEINTRESOURCEA(59));
  if (restart == nullptr) return 0;
  const auto* view = win32::Win32View::Of(owner);
  return restart(view != nullptr ? view->window() : nullptr, nullptr, EWX_REBOOT);
}

std::intptr_t Win32Platform::openProgram(const Form& owner, std::string_view program,
                                         std::string_view parameters) {
  // The shell may hand the start to an extension of its own, a COM object.
  needCom();
  const auto* view = win32::Win32View::Of(owner);
  const std::wstring wideParameters = Wide(parameters);
  const HINSTANCE result = ::ShellExecuteW(
      view != nullptr ? view->window() : nullptr, L"open", Wide(program).c_str(),
      wideParameters.empty() ? nullptr : wideParameters.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<std::intptr_t>(result);
}

std::string Win32Platform::systemMessage(std::uint32_t code) const {
  wchar_t text[512] = {};
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       text, static_cast<DWORD>(std::size(text)), nullptr);
  std::wstring_view message(text, length);
  while (!message.empty() &&
         (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.remove_suffix(1);
  }
  return win32::Narrow(message);
}

}  // namespace orv
