// The main form's window: never shown, it owns the tray icon, receives the icon's
// notifications, the poll timer's ticks and the system's device changes, and is the
// controller's cooperative window.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kMainWindowClass = L"PadwireMain";
inline constexpr UINT_PTR kPollTimerId = 1;
// Looks for a controller every 2 seconds; the look does nothing while one is open.
inline constexpr UINT_PTR kLookTimerId = 2;
inline constexpr UINT kLookInterval = 2000;
// The tray icon's callback message: WM_MOUSEMOVE's number, as the classic runtime's forms heard
// their tray icon.
inline constexpr UINT kTrayCallback = 512;

struct MainWindowEvents {
  std::function<void()> tick;
  // The mouse message the icon reported (WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...).
  std::function<void(UINT)> tray;
  // Someone asked the window to close (WM_CLOSE), or the session ends (WM_ENDSESSION): the
  // program unloads as on Exit.
  std::function<void()> close;
  // A device change (WM_DEVICECHANGE) or the look timer: open a controller if none is open.
  std::function<void()> look_for_controller;
  // The notification area was made anew ("TaskbarCreated", sent when Explorer restarts).
  std::function<void()> taskbar_created;
  // The screen's DPI changed (WM_DPICHANGED): the tray icon is wanted at another size.
  std::function<void(UINT dpi)> dpi_changed;
};

// `events` must outlive the window; its members may be set after creation.
HWND create_main_window(const wchar_t* caption, MainWindowEvents& events);

// Asks for WM_DEVICECHANGE when a HID device interface arrives (a controller plugged in); the
// device-tree changes every top-level window gets come without asking. Null when refused.
DeviceNotification register_hid_arrivals(HWND window);

class Win32Views;

// Runs until the program ends; dialog keys go through the views first.
int run_message_loop(Win32Views& views);

}  // namespace padwire::win32
