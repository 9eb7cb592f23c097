#include "e2e/ProgramWindows.h"

#include "e2e/ControlNames.h"

namespace orv::e2e {

namespace {

struct Found {
  DWORD process;
  std::wstring className;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<Found*>(data);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t className[64] = {};
  ::GetClassNameW(window, className, 64);
  if (process == found->process && ::IsWindowVisible(window) &&
      (found->className.empty() || found->className == className)) {
    found->windows.push_back(window);
  }
  return TRUE;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  if (::GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

}  // namespace

std::vector<HWND> VisibleWindows(DWORD process, const std::wstring& className) {
  Found found{process, className, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

HWND ChildWithId(HWND parent, int id) {
  ChildSearch search{id, nullptr};
  ::EnumChildWindows(parent, FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FormWindow(DWORD process, std::string_view form) {
  for (HWND window : VisibleWindows(process, L"OrvForm")) {
    wchar_t ownerClass[16] = {};
    ::GetClassNameW(::GetWindow(window, GW_OWNER), ownerClass, 16);
    if ((form == "main") == (std::wstring_view(ownerClass) == L"OrvForm")) return window;
  }
  return nullptr;
}

HWND ControlWindow(DWORD process, std::string_view qualified) {
  const auto dot = qualified.find('.');
  if (dot == std::string_view::npos) return nullptr;
  const std::string_view form = qualified.substr(0, dot);
  const int index = ControlIndex(form, qualified.substr(dot + 1));
  if (index < 0) return nullptr;
  const HWND window = FormWindow(process, form);
  return window == nullptr ? nullptr : ChildWithId(window, kFirstControlId + index);
}

}  // namespace orv::e2e
