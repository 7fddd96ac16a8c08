// The end-to-end driver's hands inside Wine: one action per run.
//   driver.exe key VK [up]            keybd_event of a virtual key (down, or up)
//   driver.exe tray TITLE MSG         posts the tray callback (message 512, lParam MSG) to the
//                                     top-level window with that title
//   driver.exe activate TITLE         brings the window with that title to the front
//   driver.exe foreground             prints the foreground window's title
//   driver.exe cursor                 prints the pointer position
//   driver.exe exists TITLE           exit 0 when a window with that title exists, else 1
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND find_title(const wchar_t* title) {
  return FindWindowW(nullptr, title);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring verb = argv[1];
  if (verb == L"key" && argc >= 3) {
    const BYTE vk = static_cast<BYTE>(_wtoi(argv[2]));
    const bool up = argc >= 4 && std::wcscmp(argv[3], L"up") == 0;
    keybd_event(vk, 0, up ? KEYEVENTF_KEYUP : 0, 0);
    Sleep(50);
    return 0;
  }
  if (verb == L"tray" && argc >= 4) {
    HWND hwnd = find_title(argv[2]);
    if (!hwnd) return 1;
    PostMessageW(hwnd, WM_MOUSEMOVE, 1, static_cast<LPARAM>(_wtoi(argv[3])));
    return 0;
  }
  if (verb == L"activate" && argc >= 3) {
    HWND hwnd = find_title(argv[2]);
    if (!hwnd) return 1;
    SetForegroundWindow(hwnd);
    return 0;
  }
  if (verb == L"foreground") {
    wchar_t title[256] = {};
    GetWindowTextW(GetForegroundWindow(), title, 256);
    std::printf("%ls\n", title);
    return 0;
  }
  if (verb == L"cursor") {
    POINT p;
    GetCursorPos(&p);
    std::printf("%ld %ld\n", p.x, p.y);
    return 0;
  }
  if (verb == L"exists" && argc >= 3) return find_title(argv[2]) ? 0 : 1;
  return 2;
}
