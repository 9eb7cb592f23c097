// The window system: message loops, message boxes, the folder browser, text measurement.
#include <shlobj.h>
#include <windows.h>

#include <commctrl.h>

#include "common/win32/SystemLibrary.h"
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

// Counts a modal box of the program while it is up.
class ModalScope {
 public:
  explicit ModalScope(int& count) : count_(count) { ++count_; }
  ~ModalScope() { --count_; }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  int& count_;
};

}  // namespace

LRESULT CALLBACK Win32Platform::ApplicationProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* platform = reinterpret_cast<Win32Platform*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (platform == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) break;
      [[fallthrough]];
    case WM_CLOSE:
      // The default would destroy the window and every form it owns, with no close question.
      platform->applicationCloseRequested();
      return 0;
    case WM_ENDSESSION:
      // The process may be ended as soon as this returns.
      if (wParam) {
        ::PostQuitMessage(0);
        platform->quitArrived();
      }
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void Win32Platform::needWindows() const {
  if (windowsReady_) return;
  windowsReady_ = true;
  win32::LoadWindowsOwnLibraries();
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
}

void Win32Platform::applicationCloseRequested() {
  if (modalBoxes_ == 0 && handlers_.closeRequested) handlers_.closeRequested();
}

void Win32Platform::quitArrived() {
  if (quitArrived_) return;
  quitArrived_ = true;
  if (handlers_.quitting) handlers_.quitting();
}

void Win32Platform::setApplicationHandlers(ApplicationHandlers handlers) {
  handlers_ = std::move(handlers);
}

void Win32Platform::setApplicationTitle(std::string_view title) {
  needWindows();
  if (application_.valid()) {
    ::SetWindowTextW(application_.get(), Wide(title).c_str());
    return;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ApplicationProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hIcon = ::LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = L"OrvApplication";
  ::RegisterClassExW(&windowClass);
  // Visible but of no size: it shows only as the task bar's button, as the program's title.
  application_ = win32::WindowHandle(::CreateWindowExW(
      0, windowClass.lpszClassName, Wide(title).c_str(),
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ::GetSystemMetrics(SM_CXSCREEN) / 2,
      ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr, windowClass.hInstance, this));
  ::ShowWindow(application_.get(), SW_SHOWNOACTIVATE);
}

std::unique_ptr<FormView> Win32Platform::createView(Form& form) {
  needWindows();
  return std::make_unique<win32::Win32View>(form, fonts_, application_.get());
}

bool Win32Platform::waitForInput() {
  MSG message;
  const BOOL result = ::GetMessageW(&message, nullptr, 0, 0);
  if (result == 0) {
    // Leave the quit for the outer loop as well.
    ::PostQuitMessage(static_cast<int>(message.wParam));
    quitArrived();
    return false;
  }
  if (result < 0) return false;
  Dispatch(message);
  return true;
}

bool Win32Platform::processMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      quitArrived();
      return false;
    }
    Dispatch(message);
  }
  return !quitArrived_;
}

void Win32Platform::runMessageLoop() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    Dispatch(message);
}

int Win32Platform::messageBox(std::string_view text, std::string_view caption,
                              std::uint32_t flags) {
  needWindows();
  // Owned by the active window, so the box is modal over the program's windows.
  const ModalScope modal(modalBoxes_);
  const HWND owner = ::GetActiveWindow();
  return ::MessageBoxW(owner, win32::WideDisplayText(text).c_str(), Wide(caption).c_str(),
                       flags | (owner == nullptr ? MB_TASKMODAL : 0));
}

std::optional<std::string> Win32Platform::browseForFolder(const Form& owner, std::string_view title,
                                                          std::uint32_t flags) {
  needWindows();
  needCom();
  const ModalScope modal(modalBoxes_);
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
  // An item without a file-system path is no folder to set up in: as if cancelled.
  if (!::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.get()), path)) {
    return std::nullopt;
  }
  return win32::Narrow(path);
}

Size Win32Platform::measureText(const Font& font, std::string_view text) const {
  needWindows();
  // Measured in the font the windows show, at the system's scale, and told in design units.
  const int dpi = win32::SystemDpi();
  const Size size = win32::MeasureText(fonts_, Scaled(font, dpi), text);
  return {Unscaled(size.width, dpi), Unscaled(size.height, dpi)};
}

}  // namespace orv
