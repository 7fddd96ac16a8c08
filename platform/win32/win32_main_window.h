// The main form's window: never shown, it owns the tray icon, receives the icon's
// notifications and the poll timer's ticks, and is the controller's cooperative window.
#pragma once

#include <windows.h>

#include <functional>

namespace padwire::win32 {

inline constexpr const wchar_t* kMainWindowClass = L"PadwireMain";
inline constexpr UINT_PTR kPollTimerId = 1;
// The tray icon's callback message (WM_MOUSEMOVE's number, as the core asks for it).
inline constexpr UINT kTrayCallback = 512;

struct MainWindowEvents {
  std::function<void()> tick;
  // The mouse message the icon reported (WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...).
  std::function<void(UINT)> tray;
  // Someone asked the window to close (WM_CLOSE): the program unloads as on Exit.
  std::function<void()> close;
  // The notification area was made anew ("TaskbarCreated", sent when Explorer restarts).
  std::function<void()> taskbar_created;
};

// `events` must outlive the window; its members may be set after creation.
HWND create_main_window(const wchar_t* caption, MainWindowEvents& events);

class Win32Views;

// Runs until the program ends; dialog keys go through the views first.
int run_message_loop(Win32Views& views);

}  // namespace padwire::win32
