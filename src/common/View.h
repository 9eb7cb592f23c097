// The seam between the program's forms and the windows that show them. The forms (app/Form.h)
// own their controls' state; a view mirrors that state onto real windows (Win32) or records it
// (the simulation), and delivers the user's input back to the forms.
#pragma once

#include <cstdint>
#include <string>

namespace orv {

class Control;
class Form;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

struct Font {
  std::string face;
  int height = 12;  // pixels
  bool italic = false;
  bool western = false;  // Western character set instead of Shift-JIS
  friend bool operator==(const Font&, const Font&) = default;
};

// What changed on a control or on the form itself.
enum class Property {
  kCaption,
  kVisible,
  kEnabled,
  kChecked,
  kBounds,
  kProgress,
  kLines,
  kFocus,
  kCloseItem
};

enum class ShowMode { kNormal, kMaximized, kModal };

class FormView {
 public:
  virtual ~FormView() = default;
  // control is null when the property is the form's own.
  virtual void changed(const Control* control, Property property) = 0;
  virtual void show(ShowMode mode) = 0;
  virtual void hide() = 0;
  // Destroys the windows; closing the application's main form ends the message loop.
  virtual void close() = 0;
  // Paints what is invalid at once.
  virtual void repaint(const Control& control) = 0;
};

}  // namespace orv
