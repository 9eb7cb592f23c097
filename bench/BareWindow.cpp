// The start-up benchmark's yardstick: SETUP.EXE's two windows made bare, with its manifest and
// start. COM for the thread and the common controls first; then the maximised teal background
// with its two title texts in their fonts, and the main window with its 23 controls, the same
// window classes, styles, places and fonts, shown; then the message loop. Nothing else: no
// script, no folders, no temporary copy, no program layer.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "bench/BareWindow.h"
#include "common/win32/Handles.h"

namespace {

constexpr wchar_t kBackClass[] = L"OrvBareBack";
constexpr wchar_t kJapaneseFace[] = L"ＭＳ Ｐゴシック";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HFONT MakeFont(const wchar_t* face, int height, bool italic, BYTE charSet) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = italic ? FW_BOLD : FW_NORMAL;
  font.lfItalic = italic;
  font.lfCharSet = charSet;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return ::CreateFontIndirectW(&font);
}

struct Child {
  int parent;  // index of the group it lies in, or -1 for the window itself
  const wchar_t* windowClass;
  DWORD style;
  DWORD extended;
  const wchar_t* text;
  RECT place;  // left, top, width, height in the parent
};

constexpr DWORD kGroup = WS_EX_CONTROLPARENT;
constexpr DWORD kEdge = WS_EX_CLIENTEDGE;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kMemo = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;

// The main window's controls in SETUP.EXE's creation order; btnSetup (18) is the one shown.
const std::array<Child, 23> kMainChildren = {{
    {-1, L"BUTTON", BS_GROUPBOX, kGroup, L"", {8, 8, 473, 265}},
    {0, L"EDIT", kMemo, kEdge, L"", {8, 16, 457, 241}},
    {-1, L"BUTTON", BS_GROUPBOX | WS_VISIBLE, kGroup, L"メッセージ", {8, 8, 473, 113}},
    {2, L"BUTTON", BS_GROUPBOX | WS_VISIBLE, kGroup, L"", {8, 64, 457, 41}},
    {3, PROGRESS_CLASSW, WS_VISIBLE, 0, L"", {8, 16, 353, 17}},
    {3, L"STATIC", WS_VISIBLE, 0, L"0%", {368, 16, 80, 17}},
    {2, L"STATIC", WS_VISIBLE, 0, L"セットアップを行います．", {8, 16, 457, 89}},
    {-1, L"BUTTON", BS_GROUPBOX | WS_VISIBLE, kGroup, L"セットアップフォルダ", {8, 128, 473, 49}},
    {7,
     L"EDIT",
     ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE,
     kEdge,
     L"C:\\Program Files\\Sample\\",
     {8, 16, 401, 24}},
    {7, L"BUTTON", kPush | WS_VISIBLE, 0, L"参照(&R)", {416, 16, 49, 25}},
    {-1, L"BUTTON", BS_GROUPBOX | WS_VISIBLE, kGroup, L"セットアップオプション", {8, 184, 473, 89}},
    {10, L"BUTTON", kCheck | WS_VISIBLE, 0, L"自動的に上書きする", {8, 16, 457, 17}},
    {10, L"BUTTON", BS_GROUPBOX | WS_VISIBLE, kGroup, L"ショートカットの作成", {8, 40, 457, 41}},
    {12, L"BUTTON", kCheck | WS_VISIBLE, 0, L"デスクトップ", {8, 16, 105, 17}},
    {12, L"BUTTON", kCheck | WS_VISIBLE, 0, L"スタートメニュー", {120, 16, 105, 17}},
    {12, L"BUTTON", kCheck | WS_VISIBLE, 0, L"スタートアップ", {232, 16, 105, 17}},
    {12, L"BUTTON", kCheck | WS_VISIBLE, 0, L"送る", {344, 16, 105, 17}},
    {-1, L"BUTTON", kPush, 0, L"次へ(&N)", {48, 280, 185, 25}},
    {-1, L"BUTTON", kPush | WS_VISIBLE, 0, L"セットアップ開始(&S)", {48, 280, 185, 25}},
    {-1, L"BUTTON", kPush, 0, L"アンセットアップ開始(&S)", {48, 280, 185, 25}},
    {-1, L"BUTTON", kPush | WS_VISIBLE, 0, L"セットアップ終了(&E)", {256, 280, 185, 25}},
    {-1, L"BUTTON", kPush, 0, L"閉じる(&C)", {48, 280, 185, 25}},
    {-1, L"BUTTON", kPush, 0, L"中止(&A)", {48, 280, 185, 25}},
}};

HWND MakeChild(HWND parent, const Child& child, int id, HFONT font, HINSTANCE instance) {
  const HWND window = ::CreateWindowExW(
      child.extended, child.windowClass, child.text, WS_CHILD | WS_CLIPSIBLINGS | child.style,
      child.place.left, child.place.top, child.place.right, child.place.bottom, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const orv::win32::ComScope com;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  const orv::win32::GdiObject teal(::CreateSolidBrush(RGB(0, 128, 128)));
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(teal.get());
  windowClass.lpszClassName = kBackClass;
  ::RegisterClassW(&windowClass);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = orv::bench::kBareWindowClass;
  ::RegisterClassW(&windowClass);

  const orv::win32::GdiObject uiFont(MakeFont(kJapaneseFace, 12, false, SHIFTJIS_CHARSET));
  const orv::win32::GdiObject titleFont(MakeFont(kJapaneseFace, 32, true, SHIFTJIS_CHARSET));
  const orv::win32::GdiObject bannerFont(MakeFont(L"Times New Roman", 16, true, ANSI_CHARSET));

  const HWND back =
      ::CreateWindowExW(0, kBackClass, L"Orvane! Setup 98", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
  const std::array<Child, 4> backChildren = {{
      {-1, L"STATIC", WS_VISIBLE, WS_EX_TRANSPARENT, L"サンプル", {79, 16, 258, 32}},
      {-1, L"STATIC", WS_VISIBLE, WS_EX_TRANSPARENT, L"サンプル", {16, 16, 257, 32}},
      {-1, L"STATIC", WS_VISIBLE, WS_EX_TRANSPARENT, L"Orvane! Setup 98", {8, 856, 261, 19}},
      {-1, L"STATIC", WS_VISIBLE, WS_EX_TRANSPARENT, L"Orvane! Setup 98", {8, 848, 261, 19}},
  }};
  for (int i = 0; i < static_cast<int>(backChildren.size()); ++i) {
    const HFONT font = static_cast<HFONT>(i < 2 ? titleFont.get() : bannerFont.get());
    MakeChild(back, backChildren[i], 100 + i, font, instance);
  }
  ::ShowWindow(back, SW_MAXIMIZE);
  ::UpdateWindow(back);

  // Closing the main window destroys it (DefWindowProc), which ends the loop.
  RECT frame{0, 0, 489, 313};
  ::AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, 0);
  const HWND main = ::CreateWindowExW(0, orv::bench::kBareWindowClass, L"Orvane! Setup 98",
                                      WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                      frame.right - frame.left, frame.bottom - frame.top, back,
                                      nullptr, instance, nullptr);
  std::array<HWND, kMainChildren.size()> made{};
  for (int i = 0; i < static_cast<int>(kMainChildren.size()); ++i) {
    const Child& child = kMainChildren[i];
    const HWND parent = child.parent < 0 ? main : made[child.parent];
    const int id = i == 18 ? orv::bench::kBareButtonId : 100 + i;
    made[i] = MakeChild(parent, child, id, static_cast<HFONT>(uiFont.get()), instance);
  }
  ::ShowWindow(main, SW_SHOWNORMAL);
  ::UpdateWindow(main);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(main, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
