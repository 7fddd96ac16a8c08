#include "platform/win32/win32_main_window.h"

#include <dbt.h>

#include "platform/win32/win32_layout.h"
#include "platform/win32/win32_views.h"

namespace padwire::win32 {

namespace {

LRESULT CALLBACK main_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  static const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  auto* events = window_object<MainWindowEvents>(window, message, lparam);
  if (!events) return DefWindowProcW(window, message, wparam, lparam);
  if (message == taskbar_created && taskbar_created != 0) {
    if (events->taskbar_created) events->taskbar_created();
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wparam == kPollTimerId && events->tick) events->tick();
      if (wparam == kLookTimerId && events->look_for_controller) events->look_for_controller();
      return 0;
    case WM_DEVICECHANGE:
      // A device was added (a HID interface arrived) or the device tree changed; removals
      // need nothing here, the controller reader finds out by its failing reads.
      if ((wparam == DBT_DEVNODES_CHANGED || wparam == DBT_DEVICEARRIVAL) &&
          events->look_for_controller) {
        events->look_for_controller();
      }
      return TRUE;  // grants any request the message carries
    case WM_QUERYENDSESSION:
      // Padwire never stands in the way of a log-off or shutdown. Nothing ends yet: another
      // program may still cancel it, and Padwire then runs on as before.
      return TRUE;
    case WM_ENDSESSION:
      // The session really ends (wParam TRUE): the process may be ended as soon as this
      // returns, so the whole shutdown runs here.
      if (wparam && events->close) events->close();
      return 0;
    case WM_DPICHANGED:
      // The window is never shown, so the rectangle the system suggests does not matter.
      if (events->dpi_changed) events->dpi_changed(HIWORD(wparam));
      return 0;
    case kTrayCallback:
      // The icon's id is in wParam and the mouse message in the low word of lParam.
      if (events->tray) events->tray(LOWORD(lparam));
      return 0;
    case WM_CLOSE:
      if (events->close) events->close();
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

HWND create_main_window(const wchar_t* caption, MainWindowEvents& events) {
  if (!register_window_class(kMainWindowClass, main_procedure, nullptr)) return nullptr;
  // A top-level window rather than a message-only one, so that other programs (and the tests)
  // can find it by its caption, as they find the main window of any program.
  return CreateWindowExW(0, kMainWindowClass, caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                         CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), &events);
}

DeviceNotification register_hid_arrivals(HWND window) {
  // The interface class of HID devices, which game controllers are; written out here rather
  // than taken from hidclass.h, whose GUID needs an import library of its own.
  static constexpr GUID kHidInterface = {
      0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = kHidInterface;
  return DeviceNotification(
      RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
}

int run_message_loop(Win32Views& views) {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got < 0) return 1;
    if (views.pre_translate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace padwire::win32
