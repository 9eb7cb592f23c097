// The small form and control model of the shell. A form owns its controls' state (caption,
// visibility, enabled and checked states, position, progress, lines); handlers change that state
// and the form's view mirrors it onto real windows. Host tests drive the same handlers without
// windows, so they run exactly as on Windows.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/View.h"

namespace orv {

class Platform;

enum class ControlKind { kLabel, kButton, kCheckBox, kEdit, kMemo, kGroupBox, kProgressBar };

// Modal results.
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

struct ControlOptions {
  std::optional<Font> font;  // none: the parent's font
  std::optional<Color> color;
  bool transparent = false;  // a label drawn over its parent's background
  bool autoSize = false;     // a label that takes the size of its text
  bool centered = false;     // text centred both ways
};

class Control {
 public:
  Control(Form& form, Control* parent, ControlKind kind, std::string name, Rect bounds,
          std::string caption, ControlOptions options = {});
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return form_; }
  Control* parent() const { return parent_; }
  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  const ControlOptions& options() const { return options_; }
  const Font& font() const;

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  // Visible with every parent visible.
  bool showing() const;
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  const Rect& bounds() const { return bounds_; }
  void setBounds(Rect bounds);
  void setAutoSize(bool autoSize) { options_.autoSize = autoSize; }
  // Takes the size of the caption, when auto-sized.
  void fitToCaption();

  // A memo's lines.
  const std::vector<std::string>& lines() const { return lines_; }
  void setLines(std::vector<std::string> lines);

  // A progress bar's range, step and position.
  int progressMax() const { return progressMax_; }
  int progressStep() const { return progressStep_; }
  int progress() const { return progress_; }
  void setProgressRange(int max, int step);
  void setProgress(int position);

  // Runs the click handler, as a press by the user would (whatever the visible and enabled
  // states): used when the program performs a click itself.
  void click() const;
  std::function<void()> onClick;

  // The user changed the control in its window (typed text, toggled a check box): the model
  // follows without echoing the change back to the window.
  void userChangedText(std::string text) { caption_ = std::move(text); }
  void userChangedCheck(bool checked) { checked_ = checked; }

 private:
  void notify(Property property);

  Form& form_;
  Control* parent_;
  ControlKind kind_;
  std::string name_;
  Rect bounds_;
  std::string caption_;
  ControlOptions options_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
  std::vector<std::string> lines_;
  int progressMax_ = 100;
  int progressStep_ = 10;
  int progress_ = 0;
};

struct FormStyle {
  std::string caption;
  Size clientSize;  // 0 × 0: left to the system
  Font font;
  std::optional<Color> color;  // none: the system's dialog colour
  bool systemMenu = true;
  bool centered = false;
  bool enabled = true;
  Form* owner = nullptr;     // the form this one stays in front of; none for the main window
  std::string errorCaption;  // caption of the box that shows an error a run raised
};

class Form {
 public:
  Form(Platform& platform, std::string name, FormStyle style);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Platform& platform() const { return platform_; }
  const std::string& name() const { return name_; }
  const FormStyle& style() const { return style_; }
  // Controls in creation order. Among siblings that is the tab order, and earlier windowed
  // controls lie on top of later ones; transparent labels are drawn in this order, later over
  // earlier.
  const std::vector<Control*>& controls() const { return controls_; }
  Control* findControl(std::string_view name) const;

  const std::string& caption() const { return style_.caption; }
  void setCaption(std::string caption);
  bool enabled() const { return style_.enabled; }
  void setEnabled(bool enabled);
  // The outer size and place of the window, as the view reports it.
  const Rect& bounds() const { return bounds_; }
  void viewMoved(Rect bounds) { bounds_ = bounds; }
  // The system menu's Close item (with it the close box).
  bool closeItemEnabled() const { return closeItemEnabled_; }
  void disableCloseItem();
  void focus();

  void show(ShowMode mode);
  // Shows the form modally and runs a message loop until its modal result is set and its close
  // query allows the close; returns the modal result.
  int showModal();
  int modalResult() const { return modalResult_; }
  void setModalResult(int result) { modalResult_ = result; }
  void close();
  // Paints the control at once.
  void repaint(const Control& control);

  // Events from the view (the user or the window system).
  void deliverActivate() { FormActivate(); }
  void deliverResize() { FormResize(); }
  void deliverClick(const Control& control);

  // The error box under the style's error caption: how a run shows the error that ended it.
  void showError(std::string_view text) const;

  // Called by Control.
  void add(Control& control) { controls_.push_back(&control); }
  void notify(const Control* control, Property property);

 protected:
  virtual void FormActivate() {}
  virtual void FormResize() {}
  // May set canClose to false to refuse the close.
  virtual void FormCloseQuery(bool& canClose) { canClose = true; }

 private:
  FormView& view();

  Platform& platform_;
  std::string name_;
  FormStyle style_;
  Rect bounds_;
  bool closeItemEnabled_ = true;
  int modalResult_ = kModalNone;
  std::vector<Control*> controls_;
  std::unique_ptr<FormView> view_;
};

}  // namespace orv
