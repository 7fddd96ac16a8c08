// The debug window: the controller's raw state as text in a read-only box. It is shown without
// activation, so the program the user works in keeps the keyboard focus (the pad's keys go
// there), and it is never in the task bar.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kDebugCaption = L"Padwire Debug Window";
inline constexpr const wchar_t* kDebugWindowClass = L"PadwireDebugWindow";

class DebugWindow {
 public:
  // `on_closed` runs when the user closes the window (not when the program destroys it).
  explicit DebugWindow(std::function<void()> on_closed) : on_closed_(std::move(on_closed)) {}
  ~DebugWindow() { destroy(); }
  DebugWindow(const DebugWindow&) = delete;
  DebugWindow& operator=(const DebugWindow&) = delete;

  HWND handle() const { return window_; }
  HWND text_box() const { return edit_; }
  // Creates the window hidden when it does not exist.
  HWND ensure();
  // Shows the window (without activating it) with this text; lines end with CR LF.
  void show_text(const std::string& text);
  // Destroys the window without telling anyone.
  void destroy();

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void layout();
  void update_scroll_bar();

  std::function<void()> on_closed_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  std::wstring shown_;  // the box's text
  Font font_;
};

}  // namespace padwire::win32
