// Finding another program's windows from outside it: its visible top-level windows, and the
// controls of SETUP.EXE's two forms by the names in ControlNames.h. The end-to-end driver and the
// start-up benchmark look at the program the same way.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace orv::e2e {

// A control's window id is this plus its place in its form's list.
inline constexpr int kFirstControlId = 100;

// The process's visible top-level windows of this window class (any class when empty).
std::vector<HWND> VisibleWindows(DWORD process, const std::wstring& className);

// The child window of parent with this control id, or nullptr.
HWND ChildWithId(HWND parent, int id);

// The process's visible form window, "main" (the one owned by the other form) or "back", or
// nullptr.
HWND FormWindow(DWORD process, std::string_view form);

// The window of "<form>.<control>", or nullptr when the control is unknown or its form or window
// is not there.
HWND ControlWindow(DWORD process, std::string_view qualified);

}  // namespace orv::e2e
