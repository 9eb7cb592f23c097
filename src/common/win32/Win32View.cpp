#include "common/win32/Win32View.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>

#include "common/Form.h"
#include "common/win32/SystemLibrary.h"

namespace orv::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"OrvForm";
constexpr wchar_t kGroupClass[] = L"OrvGroup";
constexpr wchar_t kLabelClass[] = L"OrvLabel";
// Activation and resize run their handlers from the message loop, not nested in the window
// system's own calls (a resize arrives inside ShowWindow).
constexpr UINT kActivateMessage = WM_APP + 1;
constexpr UINT kResizeMessage = WM_APP + 2;
// Messages of Windows 8.1 and 10 about a move to a display of another scale (the headers define
// them only for builds that require those Windows).
constexpr UINT kDpiChangedMessage = 0x02E0;
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// Functions of Windows 10 and later, looked up at run time so that the program still loads on
// Windows XP; where they are missing, every window has the system's DPI.
struct DpiFunctions {
  UINT(WINAPI* dpiForWindow)(HWND);
  BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT);
};

const DpiFunctions& Dpi() {
  static const SystemLibrary user32(L"user32.dll");
  static const DpiFunctions functions{
      user32.find<UINT(WINAPI*)(HWND)>("GetDpiForWindow"),
      user32.find<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi")};
  return functions;
}

// The outer size of a form window of this style around a client area of client pixels, with the
// frame and caption the system draws at dpi.
Size OuterSize(Size client, DWORD style, int dpi) {
  RECT outer{0, 0, client.width, client.height};
  if (Dpi().adjustWindowRectExForDpi != nullptr) {
    Dpi().adjustWindowRectExForDpi(&outer, style, FALSE, WS_EX_CONTROLPARENT,
                                   static_cast<UINT>(dpi));
  } else {
    ::AdjustWindowRectEx(&outer, style, FALSE, WS_EX_CONTROLPARENT);
  }
  return {outer.right - outer.left, outer.bottom - outer.top};
}

Rect RectOf(const RECT& area) {
  return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

COLORREF ToColorRef(Color color) {
  return RGB(color.red, color.green, color.blue);
}

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// What the program's own painted child windows (groups, labels) share: they keep their font and
// repaint when their text changes.
LRESULT PaintedChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      ::SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      return 0;
    case WM_GETFONT:
      return ::GetWindowLongPtrW(window, GWLP_USERDATA);
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

// Group boxes are containers of their own (so their children are clipped and tabbed as a group)
// that hand their children's notifications on to the form.
LRESULT CALLBACK GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return ::SendMessageW(::GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_SETFONT:
    case WM_GETFONT:
    case WM_SETTEXT:
      return PaintedChildProc(window, message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT area;
      ::GetClientRect(window, &area);
      ::FillRect(reinterpret_cast<HDC>(wParam), &area, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      RECT area;
      ::GetClientRect(window, &area);
      const HGDIOBJ oldFont = ::SelectObject(dc, FontOf(window));
      TEXTMETRICW metrics;
      ::GetTextMetricsW(dc, &metrics);
      RECT frame = area;
      frame.top += metrics.tmHeight / 2;
      ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
      const std::wstring caption = WindowText(window);
      if (!caption.empty()) {
        const int indent = Scaled(8, WindowDpi(window));
        RECT text{indent, 0, area.right - indent, metrics.tmHeight};
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::SetBkMode(dc, OPAQUE);
        ::SetTextColor(dc,
                       ::GetSysColor(::IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        ::DrawTextW(dc, (L" " + caption + L" ").c_str(), -1, &text,
                    DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
      }
      ::SelectObject(dc, oldFont);
      ::EndPaint(window, &paint);
      return 0;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

// Labels are windows too, so their text can be read; a transparent one leaves its painting to
// the form, which draws the labels in their order over its background.
LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_SETFONT:
    case WM_GETFONT:
    case WM_SETTEXT:
      return PaintedChildProc(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      // A transparent label has nothing of its own to paint.
      if ((::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0) {
        ::ValidateRect(window, nullptr);
        return 0;
      }
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      RECT area;
      ::GetClientRect(window, &area);
      ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
      const HGDIOBJ oldFont = ::SelectObject(dc, FontOf(window));
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
      const bool centered = (::GetWindowLongW(window, GWL_STYLE) & SS_CENTER) != 0;
      ::DrawTextW(dc, WideDisplayText(Narrow(WindowText(window))).c_str(), -1, &area,
                  DT_NOPREFIX | (centered ? DT_CENTER | DT_VCENTER | DT_SINGLELINE : DT_LEFT));
      ::SelectObject(dc, oldFont);
      ::EndPaint(window, &paint);
      return 0;
    }
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

void RegisterClasses(WNDPROC formProc) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.hInstance = instance;
  form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  form.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  form.lpszClassName = kFormClass;
  WNDCLASSEXW group = form;
  group.lpfnWndProc = GroupProc;
  group.hIcon = nullptr;
  group.lpszClassName = kGroupClass;
  WNDCLASSEXW label = group;
  label.lpfnWndProc = LabelProc;
  label.lpszClassName = kLabelClass;
  ::RegisterClassExW(&form);
  ::RegisterClassExW(&group);
  ::RegisterClassExW(&label);
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

std::map<const Form*, Win32View*>& Views() {
  static std::map<const Form*, Win32View*> views;
  return views;
}

}  // namespace

Win32View::Win32View(Form& form, FontCache& fonts, HWND application)
    : ScaledView(form), fonts_(fonts), application_(application) {
  Views()[&form_] = this;
}

Win32View::~Win32View() {
  Views().erase(&form_);
  if (window_.valid()) ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

Win32View* Win32View::Of(const Form& form) {
  const auto found = Views().find(&form);
  return found == Views().end() || !found->second->window_.valid() ? nullptr : found->second;
}

void Win32View::create() {
  if (window_.valid()) return;
  RegisterClasses(FormProc);
  const FormStyle& style = form_.style();
  for (const Control* control : form_.controls()) {
    hasTransparentLabels_ = hasTransparentLabels_ || control->options().transparent;
  }
  DWORD windowStyle = WS_CAPTION | WS_BORDER | (hasTransparentLabels_ ? 0 : WS_CLIPCHILDREN);
  if (style.systemMenu) windowStyle |= WS_SYSMENU;
  setDpi(SystemDpi());
  const auto [width, height] = OuterSize(Scaled(style.clientSize, dpi()), windowStyle, dpi());
  int left = CW_USEDEFAULT;
  int top = CW_USEDEFAULT;
  if (style.centered) {
    left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  const Win32View* owner = style.owner != nullptr ? Of(*style.owner) : nullptr;
  if (style.color) background_ = GdiObject(::CreateSolidBrush(ToColorRef(*style.color)));

  const HWND window = ::CreateWindowExW(
      WS_EX_CONTROLPARENT, kFormClass, Wide(style.caption).c_str(), windowStyle, left, top,
      style.clientSize.width > 0 ? width : CW_USEDEFAULT,
      style.clientSize.height > 0 ? height : CW_USEDEFAULT, owner ? owner->window() : application_,
      nullptr, ::GetModuleHandleW(nullptr), this);
  window_ = WindowHandle(window);
  ::SendMessageW(window, WM_SETFONT,
                 reinterpret_cast<WPARAM>(fonts_.get(Scaled(style.font, dpi()))), FALSE);

  int id = kFirstControlId;
  for (const Control* control : form_.controls())
    createControl(*control, id++);
  ::EnableWindow(window, style.enabled);
  if (!form_.closeItemEnabled()) applyToForm(Property::kCloseItem);

  // A window made on a display whose scale is not the system's has that display's DPI: the
  // form keeps its centre and takes the size for that scale.
  const int shown = WindowDpi(window);
  if (shown == dpi()) return;
  RECT now;
  ::GetWindowRect(window, &now);
  Rect outer = RectOf(now);
  if (style.clientSize.width > 0) {
    const Size size = OuterSize(Scaled(style.clientSize, shown), windowStyle, shown);
    outer = {outer.left + (outer.width - size.width) / 2,
             outer.top + (outer.height - size.height) / 2, size.width, size.height};
  }
  dpiChanged(shown, outer);
}

void Win32View::placeWindow(const Rect& outer) {
  ::SetWindowPos(window_.get(), nullptr, outer.left, outer.top, outer.width, outer.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(window_.get(), WM_SETFONT,
                 reinterpret_cast<WPARAM>(fonts_.get(Scaled(form_.style().font, dpi()))), FALSE);
  ::InvalidateRect(window_.get(), nullptr, TRUE);
}

void Win32View::placeControl(const Control& control, const Rect& bounds, const Font& font) {
  const HWND window = windowOf(control);
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.get(font)), FALSE);
  ::MoveWindow(window, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void Win32View::createControl(const Control& control, int id) {
  const wchar_t* windowClass = kLabelClass;
  // Made as they stand, so no window is shown or enabled after it is made.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (control.visible() ? WS_VISIBLE : 0) |
                (control.enabled() ? 0 : WS_DISABLED);
  DWORD extended = 0;
  switch (control.kind()) {
    case ControlKind::kLabel:
      if (control.options().centered) style |= SS_CENTER;
      if (control.options().transparent) extended |= WS_EX_TRANSPARENT;
      break;
    case ControlKind::kButton:
      windowClass = L"BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::kCheckBox:
      windowClass = L"BUTTON";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::kEdit:
      windowClass = L"EDIT";
      style |= ES_AUTOHSCROLL | WS_TABSTOP;
      extended |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kMemo:
      windowClass = L"EDIT";
      style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
      extended |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kGroupBox:
      windowClass = kGroupClass;
      extended |= WS_EX_CONTROLPARENT;
      break;
    case ControlKind::kProgressBar:
      windowClass = PROGRESS_CLASSW;
      break;
  }
  const Rect bounds = ScaledBounds(control, dpi());
  const HWND parent = control.parent() != nullptr ? windowOf(*control.parent()) : window_.get();
  const HWND window = ::CreateWindowExW(extended, windowClass, Wide(control.caption()).c_str(),
                                        style, bounds.left, bounds.top, bounds.width, bounds.height,
                                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        ::GetModuleHandleW(nullptr), nullptr);
  windows_[&control] = window;
  ::SendMessageW(window, WM_SETFONT,
                 reinterpret_cast<WPARAM>(fonts_.get(Scaled(control.font(), dpi()))), FALSE);
  for (const Property property : {Property::kChecked, Property::kProgress, Property::kLines}) {
    apply(control, property);
  }
}

HWND Win32View::windowOf(const Control& control) const {
  const auto found = windows_.find(&control);
  return found == windows_.end() ? nullptr : found->second;
}

const Control* Win32View::controlOf(HWND window) const {
  for (const auto& [control, handle] : windows_) {
    if (handle == window) return control;
  }
  return nullptr;
}

void Win32View::changed(const Control* control, Property property) {
  if (!window_.valid()) return;
  if (control == nullptr) {
    applyToForm(property);
  } else {
    apply(*control, property);
  }
}

void Win32View::applyToForm(Property property) {
  const HWND window = window_.get();
  switch (property) {
    case Property::kCaption:
      ::SetWindowTextW(window, Wide(form_.caption()).c_str());
      break;
    case Property::kEnabled:
      ::EnableWindow(window, form_.enabled());
      break;
    case Property::kCloseItem:
      ::EnableMenuItem(
          ::GetSystemMenu(window, FALSE), SC_CLOSE,
          MF_BYCOMMAND | (form_.closeItemEnabled() ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
      break;
    case Property::kFocus: {
      const HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE);
      ::SetForegroundWindow(window);
      ::SetFocus(first != nullptr ? first : window);
      break;
    }
    default:
      break;
  }
}

void Win32View::apply(const Control& control, Property property) {
  const HWND window = windowOf(control);
  if (window == nullptr) return;
  switch (property) {
    case Property::kCaption:
      ::SetWindowTextW(window, Wide(control.caption()).c_str());
      if (control.options().transparent) invalidate(control);
      break;
    case Property::kVisible:
      ::ShowWindow(window, control.visible() ? SW_SHOWNA : SW_HIDE);
      if (control.options().transparent) invalidate(control);
      break;
    case Property::kEnabled:
      ::EnableWindow(window, control.enabled());
      break;
    case Property::kChecked:
      if (control.kind() == ControlKind::kCheckBox) {
        ::SendMessageW(window, BM_SETCHECK, control.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    case Property::kBounds: {
      const Rect b = ScaledBounds(control, dpi());
      if (!control.options().transparent) {
        ::MoveWindow(window, b.left, b.top, b.width, b.height, TRUE);
        break;
      }
      // A label drawn on the form: the form repaints where it was and where it goes.
      RECT was;
      ::GetWindowRect(window, &was);
      ::MapWindowPoints(nullptr, window_.get(), reinterpret_cast<POINT*>(&was), 2);
      ::MoveWindow(window, b.left, b.top, b.width, b.height, FALSE);
      invalidateBand(RectOf(was));
      invalidateBand(b);
      break;
    }
    case Property::kProgress:
      if (control.kind() == ControlKind::kProgressBar) {
        ::SendMessageW(window, PBM_SETRANGE32, 0, control.progressMax());
        ::SendMessageW(window, PBM_SETSTEP, static_cast<WPARAM>(control.progressStep()), 0);
        ::SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(control.progress()), 0);
      }
      break;
    case Property::kLines:
      if (control.kind() == ControlKind::kMemo) {
        std::string text;
        for (const std::string& line : control.lines())
          text += line + "\r\n";
        ::SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
        ::SetWindowTextW(window, Wide(text).c_str());
      }
      break;
    default:
      break;
  }
}

void Win32View::show(ShowMode mode) {
  create();
  const HWND window = window_.get();
  switch (mode) {
    case ShowMode::kMaximized:
      ::ShowWindow(window, SW_SHOWMAXIMIZED);
      break;
    case ShowMode::kNormal:
      ::ShowWindow(window, SW_SHOWNORMAL);
      break;
    case ShowMode::kModal:
      ::ShowWindow(window, SW_SHOWNORMAL);
      ::SetForegroundWindow(window);
      ::SetActiveWindow(window);
      break;
  }
  // A maximised or modal form paints from the message loop, after the resize and activation
  // handlers its showing posted: its first paint shows what they set, instead of painting twice.
  if (mode == ShowMode::kNormal) ::UpdateWindow(window);
}

void Win32View::hide() {
  if (window_.valid()) ::ShowWindow(window_.get(), SW_HIDE);
}

void Win32View::close() {
  windows_.clear();
  window_.reset();
}

void Win32View::invalidate(const Control& label) {
  invalidateBand(ScaledBounds(label, dpi()));
}

void Win32View::invalidateBand(const Rect& bounds) {
  RECT client;
  ::GetClientRect(window_.get(), &client);
  const RECT band{bounds.left, bounds.top, std::max<LONG>(client.right, bounds.left + bounds.width),
                  bounds.top + bounds.height};
  // Only the form paints there: the label's own window has nothing to paint.
  ::RedrawWindow(window_.get(), &band, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

void Win32View::repaint(const Control& control) {
  if (!window_.valid()) return;
  if (control.options().transparent) {
    invalidate(control);
    ::UpdateWindow(window_.get());
  } else if (const HWND window = windowOf(control)) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void Win32View::paintTransparentLabels(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  for (const Control* control : form_.controls()) {
    if (!control->options().transparent || !control->showing()) continue;
    const HGDIOBJ oldFont = ::SelectObject(dc, fonts_.get(Scaled(control->font(), dpi())));
    ::SetTextColor(dc, ToColorRef(control->options().color.value_or(Color{})));
    const Rect b = ScaledBounds(*control, dpi());
    RECT area{b.left, b.top, b.left + b.width, b.top + b.height};
    ::DrawTextW(dc, WideDisplayText(control->caption()).c_str(), -1, &area,
                DT_NOPREFIX | DT_NOCLIP);
    ::SelectObject(dc, oldFont);
  }
}

LRESULT CALLBACK Win32View::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* view = reinterpret_cast<Win32View*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (view == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return view->handle(window, message, wParam, lParam);
}

LRESULT Win32View::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const Control* control = controlOf(reinterpret_cast<HWND>(lParam));
      if (control == nullptr) break;
      const HWND child = reinterpret_cast<HWND>(lParam);
      if (HIWORD(wParam) == BN_CLICKED) {
        auto& target = const_cast<Control&>(*control);
        if (control->kind() == ControlKind::kCheckBox) {
          target.userChangedCheck(::SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED);
        }
        form_.deliverClick(*control);
      } else if (HIWORD(wParam) == EN_CHANGE && control->kind() == ControlKind::kEdit) {
        const_cast<Control&>(*control).userChangedText(Narrow(WindowText(child)));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window, kActivateMessage, 0, 0);
      break;
    case kActivateMessage:
      form_.deliverActivate();
      return 0;
    case WM_SIZE: {
      RECT outer;
      ::GetWindowRect(window, &outer);
      const Rect moved = RectOf(outer);
      form_.viewMoved({Unscaled(moved.left, dpi()), Unscaled(moved.top, dpi()),
                       Unscaled(moved.width, dpi()), Unscaled(moved.height, dpi())});
      ::PostMessageW(window, kResizeMessage, 0, 0);
      break;
    }
    case kDpiChangedMessage:
      dpiChanged(HIWORD(wParam), RectOf(*reinterpret_cast<const RECT*>(lParam)));
      return 0;
    case kGetDpiScaledSizeMessage: {
      // A form of fixed size keeps its client area in design units: its frame is the system's
      // at the new scale, which the default (the whole window scaled) would not give.
      if (form_.style().clientSize.width == 0) break;
      const int next = static_cast<int>(wParam);
      const Size size = OuterSize(Scaled(form_.style().clientSize, next),
                                  static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), next);
      *reinterpret_cast<SIZE*>(lParam) = {size.width, size.height};
      return TRUE;
    }
    case kResizeMessage:
      form_.deliverResize();
      return 0;
    case WM_CLOSE:
      // The program's own buttons and runs close its windows; the close box and Alt+F4 do not.
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_ERASEBKGND: {
      RECT area;
      ::GetClientRect(window, &area);
      const auto brush = background_.valid() ? static_cast<HBRUSH>(background_.get())
                                             : ::GetSysColorBrush(COLOR_BTNFACE);
      ::FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
      return 1;
    }
    case WM_PAINT:
      if (hasTransparentLabels_) {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(window, &paint);
        paintTransparentLabels(dc);
        ::EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_DESTROY:
      // Closing the application's main window ends its message loop.
      if (form_.style().owner == nullptr) ::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

int SystemDpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

int WindowDpi(HWND window) {
  return Dpi().dpiForWindow != nullptr ? static_cast<int>(Dpi().dpiForWindow(window)) : SystemDpi();
}

HFONT FontCache::get(const Font& font) {
  for (const auto& [described, handle] : fonts_) {
    if (described == font) return static_cast<HFONT>(handle.get());
  }
  LOGFONTW description{};
  description.lfHeight = -font.height;
  description.lfItalic = font.italic;
  description.lfCharSet = font.western ? ANSI_CHARSET : SHIFTJIS_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Wide(font.face).substr(0, LF_FACESIZE - 1);
  face.copy(description.lfFaceName, face.size());
  // A face that is missing is left to the font mapper, which picks a Japanese UI face for the
  // Shift-JIS character set.
  const HDC screen = ::GetDC(nullptr);
  bool installed = false;
  ::EnumFontFamiliesExW(screen, &description, NoteFontFound, reinterpret_cast<LPARAM>(&installed),
                        0);
  ::ReleaseDC(nullptr, screen);
  if (!installed) description.lfFaceName[0] = L'\0';
  fonts_.emplace_back(font, GdiObject(::CreateFontIndirectW(&description)));
  return static_cast<HFONT>(fonts_.back().second.get());
}

Size MeasureText(FontCache& fonts, const Font& font, std::string_view text) {
  const HDC screen = ::GetDC(nullptr);
  const HGDIOBJ oldFont = ::SelectObject(screen, fonts.get(font));
  RECT area{0, 0, 0, 0};
  ::DrawTextW(screen, WideDisplayText(text).c_str(), -1, &area, DT_CALCRECT | DT_NOPREFIX);
  ::SelectObject(screen, oldFont);
  ::ReleaseDC(nullptr, screen);
  return {area.right - area.left, area.bottom - area.top};
}

}  // namespace orv::win32
