// The simulated window system: forms have no windows, and a scripted user gives the input.
#include <algorithm>

#include "common/Form.h"
#include "common/Utf.h"
#include "common/sim/SimPlatform.h"

namespace orv {

namespace {

// A maximised window's outer edges lie just outside the screen, as on Windows.
constexpr int kMaximizedOverhang = 4;

class SimView final : public FormView {
 public:
  SimView(SimPlatform& platform, Form& form) : platform_(platform), form_(form) {}

  void changed(const Control*, Property) override {}
  void show(ShowMode mode) override {
    const Size screen = platform_.screenSize();
    if (mode == ShowMode::kMaximized) {
      form_.viewMoved({-kMaximizedOverhang, -kMaximizedOverhang,
                       screen.width + 2 * kMaximizedOverhang,
                       screen.height + 2 * kMaximizedOverhang});
      form_.deliverResize();
      return;
    }
    const Size client = form_.style().clientSize;
    form_.viewMoved({(screen.width - client.width) / 2, (screen.height - client.height) / 2,
                     client.width, client.height});
    if (mode == ShowMode::kModal) form_.deliverActivate();
  }
  void hide() override {}
  void close() override { platform_.formClosed(form_.name()); }
  void repaint(const Control&) override {}

 private:
  SimPlatform& platform_;
  Form& form_;
};

}  // namespace

std::unique_ptr<FormView> SimPlatform::createView(Form& form) {
  ++viewsCreated_;
  return std::make_unique<SimView>(*this, form);
}

void SimPlatform::userDoes(std::function<void()> action) {
  userActions_.push_back(std::move(action));
}

void SimPlatform::userClicks(const Control& control) {
  userDoes([&control] {
    if (!control.showing() || !control.enabled() || !control.form().enabled()) {
      throw SimScriptError{"the user cannot click " + control.name() + ": hidden or disabled"};
    }
    control.form().deliverClick(control);
  });
}

void SimPlatform::userTypes(Control& control, std::string text) {
  userDoes([&control, text] {
    if (!control.showing() || !control.enabled()) {
      throw SimScriptError{"the user cannot type into " + control.name()};
    }
    control.userChangedText(text);
  });
}

void SimPlatform::userAnswers(int button, std::function<void()> meanwhile) {
  answers_.emplace_back(button, std::move(meanwhile));
}

void SimPlatform::userChoosesFolder(std::optional<std::string> folder) {
  folderChoices_.push_back(std::move(folder));
}

void SimPlatform::whileWorking(std::function<bool()> hook) {
  workHooks_.push_back(std::move(hook));
}

void SimPlatform::startAfresh() {
  userActions_.clear();
  answers_.clear();
  folderChoices_.clear();
  workHooks_.clear();
  shownMessages_.clear();
  closedForms_.clear();
  quitPending_ = false;
  quitArrived_ = false;
}

void SimPlatform::closeApplication() {
  if (applicationHandlers_.closeRequested) applicationHandlers_.closeRequested();
}

void SimPlatform::endSession() {
  quitPending_ = true;
  quitArrived();
}

void SimPlatform::quitArrived() {
  if (quitArrived_) return;
  quitArrived_ = true;
  if (applicationHandlers_.quitting) applicationHandlers_.quitting();
}

bool SimPlatform::waitForInput() {
  if (quitPending_) {
    quitArrived();
    return false;
  }
  if (userActions_.empty()) {
    throw SimScriptError{"the program waits for input, but the user has nothing more to do"};
  }
  auto action = std::move(userActions_.front());
  userActions_.pop_front();
  action();
  return true;
}

bool SimPlatform::processMessages() {
  // A hook may add hooks; run those present now.
  auto hooks = std::move(workHooks_);
  workHooks_.clear();
  for (auto& hook : hooks) {
    if (!hook()) workHooks_.push_back(std::move(hook));
  }
  if (!quitPending_) return true;
  quitArrived();
  return false;
}

int SimPlatform::messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) {
  shownMessages_.push_back({std::string(text), std::string(caption), flags});
  if ((flags & 0x0F) == kMbOk) return kIdOk;
  if (answers_.empty()) {
    if (answerer_) return answerer_(ShownMessage(shownMessages_.back()));
    throw SimScriptError{"unanswered question: " + std::string(caption) + ": " + std::string(text)};
  }
  auto [answer, meanwhile] = std::move(answers_.front());
  answers_.pop_front();
  if (meanwhile) meanwhile();
  return answer;
}

std::optional<std::string> SimPlatform::browseForFolder(const Form&, std::string_view,
                                                        std::uint32_t) {
  if (folderChoices_.empty()) throw SimScriptError{"the folder browser has no scripted choice"};
  auto choice = std::move(folderChoices_.front());
  folderChoices_.pop_front();
  return choice;
}

Size SimPlatform::measureText(const Font& font, std::string_view text) const {
  int widest = 0;
  int lines = 1;
  int width = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = NextCodePoint(text, pos);
    if (c == U'\r') {
      ++lines;
      width = 0;
      continue;
    }
    width += ShiftJisByteCount(c) * font.height / 2;
    widest = std::max(widest, width);
  }
  return {widest, lines * font.height};
}

}  // namespace orv
