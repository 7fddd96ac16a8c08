// The debug window: the controller's raw state as text in a read-only box. It is shown without
// activation, so the program the user works in keeps the keyboard focus (the pad's keys go
// there), and it is never in the task bar.
//
// It lives on a thread of its own: laying out and painting its text takes a millisecond or two
// under Wine, and a pad change that arrived meanwhile would wait for it on the program's
// thread. The program's thread hands it each new text and goes on.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/common/held_text.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kDebugCaption = L"Padwire Debug Window";
inline constexpr const wchar_t* kDebugWindowClass = L"PadwireDebugWindow";

class DebugWindow {
 public:
  // `on_closed` runs on the creating thread when the user closes the window (not when the
  // program destroys it).
  explicit DebugWindow(std::function<void()> on_closed);
  ~DebugWindow();
  DebugWindow(const DebugWindow&) = delete;
  DebugWindow& operator=(const DebugWindow&) = delete;

  HWND handle() const { return window_; }
  HWND text_box() const { return edit_; }
  // Creates the window hidden when it does not exist.
  HWND ensure();
  // Shows the window (without activating it) with this text; lines end with CR LF. The
  // window's thread draws it a moment later; of texts that come faster, the last is drawn.
  void show_text(const std::string& text);
  // Destroys the window without telling anyone.
  void destroy();

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK relay_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  // On the window's thread.
  void run(HANDLE created);
  void layout();
  void draw_pending_text();
  void replace(const TextChange& change, std::wstring wanted);
  void update_scroll_bar();

  std::function<void()> on_closed_;
  HWND relay_ = nullptr;  // on the creating thread: hears that the user closed the window
  std::thread thread_;
  std::atomic<HWND> window_ = nullptr;
  std::atomic<HWND> edit_ = nullptr;

  std::mutex pending_lock_;
  std::optional<std::wstring> pending_;  // the text to draw next, under the lock

  // The window's thread's own.
  std::wstring shown_;  // the box's text
  Font font_;
};

}  // namespace padwire::win32
