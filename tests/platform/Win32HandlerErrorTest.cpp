// The error box a run shows from a click the real window procedure delivers: a modal box inside
// the window system's call, under the form's error caption, after which the program goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "common/Form.h"
#include "common/win32/WideText.h"
#include "common/win32/Win32Platform.h"
#include "common/win32/Win32View.h"

namespace orv::test {
namespace {

BOOL CALLBACK NoteBox(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return win32::Narrow(text);
}

// Waits for a message box of thread, notes its caption and text, and presses OK.
void AnswerBox(DWORD thread, std::string& seen, std::atomic<bool>& done) {
  HWND box = nullptr;
  for (int attempt = 0; attempt < 1000 && box == nullptr; ++attempt) {
    ::Sleep(10);
    ::EnumThreadWindows(thread, NoteBox, reinterpret_cast<LPARAM>(&box));
  }
  if (box != nullptr) {
    seen = TextOf(box) + "|" + TextOf(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  }
  done = true;
}

// Handles the program's messages until done() holds, for ten seconds at most.
template <typename Done>
void PumpUntil(Platform& platform, const Done& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    platform.processMessages();
    ::Sleep(5);
  }
}

TEST(Win32HandlerError, AClickHandlersErrorIsShownAndTheProgramGoesOn) {
  Win32Platform platform;
  FormStyle style;
  style.caption = "form";
  style.clientSize = {200, 80};
  style.errorCaption = "エラーの見出し";
  Form form(platform, "form", style);
  Control button(form, nullptr, ControlKind::kButton, "btnGo", {10, 10, 100, 30}, "Go");
  button.onClick = [&form] { form.showError("ハンドラの失敗"); };
  form.show(ShowMode::kNormal);
  const HWND buttonWindow =
      ::GetDlgItem(win32::Win32View::Of(form)->window(), win32::kFirstControlId);
  ASSERT_NE(buttonWindow, nullptr);

  std::string seen = "<no box>";
  std::atomic<bool> done = false;
  std::thread user(AnswerBox, ::GetCurrentThreadId(), std::ref(seen), std::ref(done));
  ::PostMessageW(buttonWindow, BM_CLICK, 0, 0);
  PumpUntil(platform, [&done] { return done.load(); });
  user.join();
  EXPECT_EQ(seen, "エラーの見出し|ハンドラの失敗.");

  int clicks = 0;
  button.onClick = [&clicks] { ++clicks; };
  ::PostMessageW(buttonWindow, BM_CLICK, 0, 0);
  PumpUntil(platform, [&clicks] { return clicks == 1; });
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace orv::test
