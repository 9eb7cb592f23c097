#include "common/Scaling.h"

#include "common/Form.h"

namespace orv {

namespace {

// Division that rounds towards minus infinity, so negative coordinates (a maximised window's
// edges lie off the screen) round as positive ones do.
int FloorDivide(int numerator, int denominator) {
  const int quotient = numerator / denominator;
  return quotient * denominator > numerator ? quotient - 1 : quotient;
}

// The control's left and top edges in design units from the form's client origin.
Rect DesignOrigin(const Control& control) {
  Rect origin = control.bounds();
  for (const Control* parent = control.parent(); parent != nullptr; parent = parent->parent()) {
    origin.left += parent->bounds().left;
    origin.top += parent->bounds().top;
  }
  return origin;
}

}  // namespace

int Scaled(int design, int dpi) {
  return FloorDivide(design * dpi + kDesignDpi / 2, kDesignDpi);
}

Size Scaled(Size design, int dpi) {
  return {Scaled(design.width, dpi), Scaled(design.height, dpi)};
}

Font Scaled(Font design, int dpi) {
  design.height = Scaled(design.height, dpi);
  return design;
}

int Unscaled(int pixels, int dpi) {
  // The least design value that Scaled() takes to pixels or more.
  return -FloorDivide(kDesignDpi / 2 - pixels * kDesignDpi, dpi);
}

Rect ScaledBounds(const Control& control, int dpi) {
  const Rect design = DesignOrigin(control);
  const int left = Scaled(design.left, dpi);
  const int top = Scaled(design.top, dpi);
  Rect scaled{left, top, Scaled(design.left + design.width, dpi) - left,
              Scaled(design.top + design.height, dpi) - top};
  if (control.parent() != nullptr) {
    const Rect parent = DesignOrigin(*control.parent());
    scaled.left -= Scaled(parent.left, dpi);
    scaled.top -= Scaled(parent.top, dpi);
  }
  return scaled;
}

void ScaledView::dpiChanged(int dpi, const Rect& suggested) {
  dpi_ = dpi;
  placeWindow(suggested);
  for (const Control* control : form_.controls())
    placeControl(*control, ScaledBounds(*control, dpi), Scaled(control->font(), dpi));
}

}  // namespace orv
