// The start-up benchmark's yardstick: the least a Windows program does before its window takes
// input, with SETUP.EXE's manifest and start: COM for the thread and the common controls first,
// then one window with one button, shown, and the message loop.
#include <windows.h>

#include <commctrl.h>

#include "bench/BareWindow.h"
#include "common/win32/Handles.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const orv::win32::ComScope com;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = orv::bench::kBareWindowClass;
  ::RegisterClassW(&windowClass);
  // Closing the window destroys it (DefWindowProc), which ends the loop.
  const HWND window = ::CreateWindowExW(0, orv::bench::kBareWindowClass, L"Bare window",
                                        WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                                        nullptr, nullptr, instance, nullptr);
  ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 150,
                    110, 100, 30, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(orv::bench::kBareButtonId)),
                    instance, nullptr);
  ::ShowWindow(window, show);
  ::UpdateWindow(window);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
