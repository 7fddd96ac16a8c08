#include "platform/win32/win32_views.h"

#include <algorithm>

#include "dialog/forms.h"
#include "platform/win32/win32_debug_window.h"
#include "platform/win32/win32_force_feedback_window.h"
#include "platform/win32/win32_joy_config_window.h"
#include "platform/win32/win32_layout.h"

namespace padwire::win32 {

Win32Views::Win32Views(HWND main_window) : main_(main_window) {}

Win32Views::~Win32Views() = default;

void Win32Views::attach(Forms& forms) {
  debug_ = std::make_unique<DebugWindow>([this, &forms] {
    if (!ended_) forms.main.engine.debug_window_closed();
  });
  force_feedback_ = std::make_unique<ForceFeedbackWindow>(forms.force_feedback, ended_);
  joy_config_ = std::make_unique<JoyConfigWindow>(forms.joy_config, ended_);
}

HWND Win32Views::handle_of(View view) const {
  switch (view) {
    case View::debug:
      return debug_ ? debug_->handle() : nullptr;
    case View::force_feedback:
      return force_feedback_ ? force_feedback_->handle() : nullptr;
    case View::joy_config:
      return joy_config_ ? joy_config_->handle() : nullptr;
  }
  return nullptr;
}

HWND Win32Views::ensure(View view) {
  if (ended_) return nullptr;
  load_common_controls();  // the standard controls work without, only the tooltips need them
  switch (view) {
    case View::debug:
      return debug_ ? debug_->ensure() : nullptr;
    case View::force_feedback:
      return force_feedback_ ? force_feedback_->ensure() : nullptr;
    case View::joy_config:
      return joy_config_ ? joy_config_->ensure() : nullptr;
  }
  return nullptr;
}

WindowHandle Win32Views::window_of(View view) {
  return reinterpret_cast<WindowHandle>(ensure(view));
}

void Win32Views::show(View view, const std::string& /*caption*/) {
  HWND window = ensure(view);
  if (!window) return;
  if (view == View::force_feedback) force_feedback_->sync();
  if (view == View::joy_config) joy_config_->sync();
  if (view == View::debug) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return;
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
}

void Win32Views::bring_to_front(View view) {
  HWND window = handle_of(view);
  if (!window || ended_) return;
  if (view == View::debug) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
}

void Win32Views::close(View view, const std::string& /*caption*/) {
  switch (view) {
    case View::debug:
      if (debug_) debug_->destroy();
      break;
    case View::force_feedback:
      if (force_feedback_) force_feedback_->destroy();
      break;
    case View::joy_config:
      if (joy_config_) joy_config_->destroy();
      break;
  }
}

void Win32Views::show_debug_text(const std::string& text) {
  // Opening it is not deferred: it comes up where and when the program shows it, beneath any
  // window opened later.
  const HWND window = debug_ ? debug_->handle() : nullptr;
  if (!window || !IsWindowVisible(window)) {
    debug_text_.drop();
    if (!ended_ && debug_) debug_->show_text(text);
    return;
  }
  debug_text_.hold(text, GetTickCount64());
}

DWORD Win32Views::debug_text_due_in() const {
  const auto due = debug_text_.due_in(GetTickCount64());
  return due ? static_cast<DWORD>(*due) : INFINITE;
}

void Win32Views::flush_debug_text() {
  const std::optional<std::string> text = debug_text_.take();
  if (text && !ended_ && debug_) debug_->show_text(*text);
}

bool Win32Views::pre_translate(MSG& message) {
  if (ended_ || !message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root) return false;
  if (joy_config_ && root == joy_config_->handle()) {
    if (joy_config_->preview_key(message)) return true;
    return IsDialogMessageW(root, &message) != FALSE;
  }
  if (force_feedback_ && root == force_feedback_->handle()) {
    return IsDialogMessageW(root, &message) != FALSE;
  }
  return false;
}

void Win32Views::program_ended() {
  ended_ = true;
  if (joy_config_) joy_config_->destroy();
  if (force_feedback_) force_feedback_->destroy();
  if (debug_) debug_->destroy();
}

}  // namespace padwire::win32
