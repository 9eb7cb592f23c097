#include "common/Form.h"

#include <algorithm>

#include "common/ErrorBox.h"
#include "common/Platform.h"

namespace orv {

Control::Control(Form& form, Control* parent, ControlKind kind, std::string name, Rect bounds,
                 std::string caption, ControlOptions options)
    : form_(form),
      parent_(parent),
      kind_(kind),
      name_(std::move(name)),
      bounds_(bounds),
      caption_(std::move(caption)),
      options_(std::move(options)) {
  form_.add(*this);
}

const Font& Control::font() const {
  if (options_.font) return *options_.font;
  return parent_ != nullptr ? parent_->font() : form_.style().font;
}

void Control::notify(Property property) {
  form_.notify(this, property);
}

void Control::setCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  notify(Property::kCaption);
  if (options_.autoSize) fitToCaption();
}

void Control::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  notify(Property::kVisible);
}

bool Control::showing() const {
  return visible_ && (parent_ == nullptr || parent_->showing());
}

void Control::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notify(Property::kEnabled);
}

void Control::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  notify(Property::kChecked);
}

void Control::setBounds(Rect bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  notify(Property::kBounds);
}

void Control::fitToCaption() {
  const Size size = form_.platform().measureText(font(), caption_);
  setBounds({bounds_.left, bounds_.top, size.width, size.height});
}

void Control::setLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  notify(Property::kLines);
}

void Control::setProgressRange(int max, int step) {
  progressMax_ = max;
  progressStep_ = step;
  notify(Property::kProgress);
}

void Control::setProgress(int position) {
  position = std::clamp(position, 0, progressMax_);
  if (position == progress_) return;
  progress_ = position;
  notify(Property::kProgress);
}

void Control::click() const {
  if (onClick) onClick();
}

Form::Form(Platform& platform, std::string name, FormStyle style)
    : platform_(platform), name_(std::move(name)), style_(std::move(style)) {}

Form::~Form() = default;

FormView& Form::view() {
  if (!view_) view_ = platform_.createView(*this);
  return *view_;
}

void Form::notify(const Control* control, Property property) {
  if (view_) view_->changed(control, property);
}

Control* Form::findControl(std::string_view name) const {
  const auto found =
      std::ranges::find_if(controls_, [name](Control* c) { return c->name() == name; });
  return found == controls_.end() ? nullptr : *found;
}

void Form::setCaption(std::string caption) {
  style_.caption = std::move(caption);
  notify(nullptr, Property::kCaption);
}

void Form::setEnabled(bool enabled) {
  style_.enabled = enabled;
  notify(nullptr, Property::kEnabled);
}

void Form::disableCloseItem() {
  closeItemEnabled_ = false;
  notify(nullptr, Property::kCloseItem);
}

void Form::focus() {
  notify(nullptr, Property::kFocus);
}

void Form::show(ShowMode mode) {
  view().show(mode);
}

int Form::showModal() {
  modalResult_ = kModalNone;
  view().show(ShowMode::kModal);
  while (true) {
    if (modalResult_ != kModalNone) {
      bool canClose = true;
      FormCloseQuery(canClose);
      if (canClose) break;
      modalResult_ = kModalNone;
    }
    if (!platform_.waitForInput()) {
      modalResult_ = kModalCancel;
      break;
    }
  }
  view().hide();
  return modalResult_;
}

void Form::close() {
  if (view_) view_->close();
}

void Form::repaint(const Control& control) {
  if (view_) view_->repaint(control);
}

void Form::deliverClick(const Control& control) {
  // A click the window system delivers late, after the control was hidden or disabled, is none
  // the user could make.
  if (!control.showing() || !control.enabled() || !enabled()) return;
  control.click();
}

void Form::showError(std::string_view text) const {
  ShowErrorBox(platform_, style_.errorCaption, text);
}

}  // namespace orv
