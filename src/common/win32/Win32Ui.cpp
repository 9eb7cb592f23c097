// The window system: message loops, message boxes, the folder browser, text measurement.
#include <shlobj.h>
#include <windows.h>

#include "common/win32/WideText.h"
#include "common/win32/Win32Platform.h"

namespace orv {

namespace {

using win32::Wide;

// Handles one message: keyboard navigation (Tab, arrows, accelerators) for the active window,
// the rest as usual.
void Dispatch(MSG& message) {
  const HWND active = ::GetActiveWindow();
  if (active != nullptr && ::IsDialogMessageW(active, &message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

}  // namespace

void Win32Platform::setApplicationTitle(std::string_view title) {
  if (application_.valid()) {
    ::SetWindowTextW(application_.get(), Wide(title).c_str());
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hIcon = ::LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = L"OrvApplication";
  ::RegisterClassExW(&windowClass);
  // Visible but of no size: it shows only as the task bar's button, as the program's title.
  application_ = win32::WindowHandle(::CreateWindowExW(
      0, windowClass.lpszClassName, Wide(title).c_str(),
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ::GetSystemMetrics(SM_CXSCREEN) / 2,
      ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr));
  ::ShowWindow(application_.get(), SW_SHOWNOACTIVATE);
}

std::unique_ptr<FormView> Win32Platform::createView(Form& form) {
  return std::make_unique<win32::Win32View>(form, fonts_, application_.get());
}

bool Win32Platform::waitForInput() {
  MSG message;
  const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
  if (result == 0) {
    // Leave the quit for the outer loop as well.
    ::PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (result < 0) return false;
  Dispatch(message);
  return true;
}

void Win32Platform::processMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void Win32Platform::runMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    Dispatch(message);
}

int Win32Platform::messageBox(std::string_view text, std::string_view caption,
                              std::uint32_t flags) {
  // Owned by the active window, so the box is modal over the program's windows.
  const HWND owner = ::GetActiveWindow();
  return ::MessageBoxW(owner, win32::WideDisplayText(text).c_str(), Wide(caption).c_str(),
                       flags | (owner == nullptr ? MB_TASKMODAL : 0));
}

std::optional<std::string> Win32Platform::browseForFolder(const Form& owner, std::string_view title,
                                                          std::uint32_t flags) {
  wchar_t path[MAX_PATH + 1] = {};
  const std::wstring wideTitle = Wide(title);
  BROWSEINFOW browse{};
  const auto* view = win32::Win32View::Of(owner);
  browse.hwndOwner = view != nullptr ? view->window() : nullptr;
  browse.pszDisplayName = path;
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags = flags;
  const win32::TaskMemory chosen(::SHBrowseForFolderW(&browse));
  if (!chosen.valid()) return std::nullopt;
  if (!::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path)) {
    return std::string();
  }
  return win32::Narrow(path);
}

Size Win32Platform::measureText(const Font& font, std::string_view text) const {
  return win32::MeasureText(fonts_, font, text);
}

}  // namespace orv
