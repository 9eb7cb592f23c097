// Real windows for a form: the form's window and one child window per control, at the
// control's position, with its caption as window text (so screen readers and test drivers can
// read every control, labels included). Input goes back to the form as events. Positions, sizes
// and fonts are scaled to the DPI of the display the window is on.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

#include "common/Scaling.h"
#include "common/win32/Handles.h"
#include "common/win32/WideText.h"

namespace orv::win32 {

class FontCache;

// Window ids of controls: the first control of a form has this id, the next one more.
inline constexpr int kFirstControlId = 100;

class Win32View final : public ScaledView {
 public:
  // application: the window that owns forms without an owner of their own (may be null).
  Win32View(Form& form, FontCache& fonts, HWND application);
  ~Win32View() override;

  void changed(const Control* control, Property property) override;
  void show(ShowMode mode) override;
  void hide() override;
  void close() override;
  void repaint(const Control& control) override;

  HWND window() const { return window_.get(); }
  // The view of a form whose windows exist, or null.
  static Win32View* Of(const Form& form);

 private:
  void placeWindow(const Rect& outer) override;
  void placeControl(const Control& control, const Rect& bounds, const Font& font) override;
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void create();
  void createControl(const Control& control, int id);
  void apply(const Control& control, Property property);
  void applyToForm(Property property);
  // Marks a label drawn on the form for the form's next paint, as a change of its caption or
  // visibility does (repaint paints at once).
  void invalidate(const Control& label);
  // The band of the form from bounds to its right edge: a label's text is drawn unclipped and may
  // run past its bounds.
  void invalidateBand(const Rect& bounds);
  void paintTransparentLabels(HDC dc);
  const Control* controlOf(HWND window) const;
  HWND windowOf(const Control& control) const;

  FontCache& fonts_;
  HWND application_;
  WindowHandle window_;
  std::map<const Control*, HWND> windows_;
  GdiObject background_;
  bool hasTransparentLabels_ = false;
};

// Fonts by description, made once; a face that is not installed falls back to a Japanese UI
// face that is.
class FontCache {
 public:
  HFONT get(const Font& font);

 private:
  std::vector<std::pair<Font, GdiObject>> fonts_;
};

// The DPI of the system, which windows have where no display has a scale of its own (before
// Windows 10), and the DPI of window.
int SystemDpi();
int WindowDpi(HWND window);

// The size text takes in font, lines broken at "\r".
Size MeasureText(FontCache& fonts, const Font& font, std::string_view text);

}  // namespace orv::win32
