// A window that logs every keyboard and mouse message it receives, for end-to-end tests.
//   recorder.exe TITLE LOGFILE
// Each line: the message name, the virtual key, the scan code, the extended bit and the time,
// e.g. "WM_KEYDOWN vk=74 scan=0 ext=0 t=12345"; mouse buttons log their name and position.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* g_log = nullptr;

void write(const char* text) {
  if (!g_log) return;
  std::fprintf(g_log, "%s\n", text);
  std::fflush(g_log);
}

void key_line(const char* name, WPARAM vk, LPARAM lp) {
  char text[128];
  std::snprintf(text, sizeof text, "%s vk=%u scan=%u ext=%u t=%lu", name,
                static_cast<unsigned>(vk), static_cast<unsigned>((lp >> 16) & 0xFF),
                static_cast<unsigned>((lp >> 24) & 1), GetMessageTime());
  write(text);
}

void mouse_line(const char* name) {
  POINT p;
  GetCursorPos(&p);
  char text[96];
  std::snprintf(text, sizeof text, "%s x=%ld y=%ld", name, p.x, p.y);
  write(text);
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: key_line("WM_KEYDOWN", wp, lp); return 0;
    case WM_KEYUP: key_line("WM_KEYUP", wp, lp); return 0;
    case WM_SYSKEYDOWN: key_line("WM_SYSKEYDOWN", wp, lp); return 0;
    case WM_SYSKEYUP: key_line("WM_SYSKEYUP", wp, lp); return 0;
    case WM_LBUTTONDOWN: mouse_line("WM_LBUTTONDOWN"); return 0;
    case WM_LBUTTONUP: mouse_line("WM_LBUTTONUP"); return 0;
    case WM_RBUTTONDOWN: mouse_line("WM_RBUTTONDOWN"); return 0;
    case WM_RBUTTONUP: mouse_line("WM_RBUTTONUP"); return 0;
    case WM_ACTIVATE:
      write(LOWORD(wp) == WA_INACTIVE ? "deactivated" : "activated");
      break;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  g_log = _wfopen(argv[2], L"a");
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"PadwireRecorder";
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, argv[1], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                              100, 400, 300, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  write("ready");
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (g_log) std::fclose(g_log);
  return 0;
}
