#include "platform/win32/win32_views.h"

#include "dialog/forms.h"
#include "platform/win32/win32_debug_window.h"
#include "platform/win32/win32_force_feedback_window.h"
#include "platform/win32/win32_joy_config_window.h"
#include "platform/win32/win32_layout.h"

namespace padwire::win32 {

namespace {
HWND hwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
}  // namespace

Win32Views::Win32Views(HWND main_window) : main_(main_window) {}

Win32Views::~Win32Views() = default;

void Win32Views::attach(Forms& forms) {
  debug_ = std::make_unique<DebugWindow>([this, &forms] {
    if (!ended()) forms.main.engine.debug_window_closed();
  });
  force_feedback_ = std::make_unique<ForceFeedbackWindow>(forms.force_feedback, ended_flag());
  joy_config_ = std::make_unique<JoyConfigWindow>(forms.joy_config, ended_flag());
  route(View::debug, std::make_unique<RoutedWindow<DebugWindow>>(*debug_));
  route(View::force_feedback,
        std::make_unique<RoutedWindow<ForceFeedbackWindow>>(*force_feedback_));
  route(View::joy_config, std::make_unique<RoutedWindow<JoyConfigWindow>>(*joy_config_));
}

void Win32Views::before_create() {
  load_common_controls();  // the standard controls work without, only the tooltips need them
}

void Win32Views::show_active(WindowHandle window) {
  ShowWindow(hwnd(window), SW_SHOW);
  SetForegroundWindow(hwnd(window));
}

void Win32Views::show_inactive(WindowHandle window) {
  ShowWindow(hwnd(window), SW_SHOWNOACTIVATE);
}

void Win32Views::raise_inactive(WindowHandle window) {
  SetWindowPos(hwnd(window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32Views::debug_visible() const {
  const HWND window = debug_ ? debug_->handle() : nullptr;
  return window && IsWindowVisible(window);
}

void Win32Views::draw_debug_text(const std::string& text) {
  if (debug_) debug_->show_text(text);
}

std::uint64_t Win32Views::now_ms() const {
  return GetTickCount64();
}

DWORD Win32Views::debug_text_wait() const {
  const auto due = debug_text_due_in();
  return due ? static_cast<DWORD>(*due) : INFINITE;
}

bool Win32Views::pre_translate(MSG& message) {
  if (ended() || !message.hwnd) return false;
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

}  // namespace padwire::win32
