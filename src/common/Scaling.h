// The forms are designed in pixels at 96 DPI (design units); their views show them at the DPI of
// the display their window is on, so every window keeps its proportions at any display scale.
#pragma once

#include "common/View.h"

namespace orv {

class Control;
class Form;

inline constexpr int kDesignDpi = 96;

// A design coordinate or length in pixels at dpi, to the nearest pixel (halves up).
int Scaled(int design, int dpi);
Size Scaled(Size design, int dpi);
Font Scaled(Font design, int dpi);
// Pixels at dpi in design units: the least design value that, scaled again, covers the pixels.
int Unscaled(int pixels, int dpi);
// The control's rectangle in its parent's window at dpi. Every edge is scaled from the form's
// client origin, not as a position plus a size, so controls that meet or line up in the design
// still do: rounding adds no gap or overlap the design lacks.
Rect ScaledBounds(const Control& control, int dpi);

// The part of a view that follows its window's DPI. A move to a display of another scale
// re-lays the window: it takes the rectangle the system suggests, and every control its place
// and font at the new scale.
class ScaledView : public FormView {
 public:
  explicit ScaledView(Form& form) : form_(form) {}

  int dpi() const { return dpi_; }
  // The window shows at dpi from now on; suggested is its new outer rectangle in pixels.
  void dpiChanged(int dpi, const Rect& suggested);

 protected:
  void setDpi(int dpi) { dpi_ = dpi; }
  virtual void placeWindow(const Rect& outer) = 0;
  virtual void placeControl(const Control& control, const Rect& bounds, const Font& font) = 0;

  Form& form_;

 private:
  int dpi_ = kDesignDpi;
};

}  // namespace orv
