// The floors that Wine puts under two of padwire.exe's figures on this machine: the least a
// program can do to reach the same point, measured the way padwire.exe is.
//   padwire_floor.exe             one window of padwire.exe's class and one Shell_NotifyIconW,
//                                 nothing else (no COM, no common controls, no DirectInput):
//                                 the floor of the start-up
//   padwire_floor.exe key NAME VK  waits on the named events NAME-down and NAME-up and sends
//                                 the virtual key VK down or up, one per signal: the floor of
//                                 the key latency (one process woken by another, a key to a
//                                 window of a third)
#include <windows.h>
// shellapi.h needs the declarations of windows.h before it.
#include <shellapi.h>

#include <string>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int tray_icon(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"PadwireMain";  // what the harness looks for
  if (!RegisterClassW(&wc)) return 1;
  HWND window =
      CreateWindowExW(0, wc.lpszClassName, L"Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                      CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = WM_APP;
  icon.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  lstrcpynW(icon.szTip, L"Floor", ARRAYSIZE(icon.szTip));
  Shell_NotifyIconW(NIM_ADD, &icon);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  Shell_NotifyIconW(NIM_DELETE, &icon);
  DestroyWindow(window);
  return 0;
}

// Ends when the events can no longer be waited on, or when the harness ends this process.
int key_relay(const std::wstring& name, BYTE key) {
  const HANDLE events[] = {OpenEventW(SYNCHRONIZE, FALSE, (name + L"-down").c_str()),
                           OpenEventW(SYNCHRONIZE, FALSE, (name + L"-up").c_str())};
  if (!events[0] || !events[1]) return 1;
  for (;;) {
    const DWORD woke = WaitForMultipleObjects(2, events, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 && woke != WAIT_OBJECT_0 + 1) return 0;
    keybd_event(key, 0, woke == WAIT_OBJECT_0 ? 0 : KEYEVENTF_KEYUP, 0);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (__argc >= 4 && std::wstring(__wargv[1]) == L"key") {
    return key_relay(__wargv[2], static_cast<BYTE>(_wtoi(__wargv[3])));
  }
  return tray_icon(instance);
}
