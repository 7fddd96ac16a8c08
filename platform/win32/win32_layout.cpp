#include "platform/win32/win32_layout.h"

#include <commctrl.h>

#include <cmath>
#include <string>

namespace padwire::win32 {

namespace {

template <class Function>
Function user32_function(const char* name) {
  static HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return library_function<Function>(user32, name);
}

UINT screen_dpi() {
  const WindowDc screen;
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
  return dpi > 0 ? static_cast<UINT>(dpi) : 96u;
}

}  // namespace

UINT window_dpi(HWND window) {
  // Windows 10 1607 and later; older systems and Wine without it use the screen's DPI.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = user32_function<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = get_dpi && window ? get_dpi(window) : 0;
  return dpi ? dpi : screen_dpi();
}

int small_icon_size(UINT dpi) {
  // Windows 10 1607 and later; elsewhere the system's size, scaled from the screen's DPI.
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto metrics = user32_function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  const int size = metrics ? metrics(SM_CXSMICON, dpi) : 0;
  if (size > 0) return size;
  return MulDiv(GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi),
                static_cast<int>(screen_dpi()));
}

int twips_to_pixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

RECT twips_rect(const TwipsRect& rect, UINT dpi) {
  const int left = twips_to_pixels(rect.left, dpi);
  const int top = twips_to_pixels(rect.top, dpi);
  return {left, top, left + twips_to_pixels(rect.width, dpi),
          top + twips_to_pixels(rect.height, dpi)};
}

void size_and_centre(HWND window, int width_twips, int height_twips) {
  const UINT dpi = window_dpi(window);
  RECT outer{0, 0, twips_to_pixels(width_twips, dpi), twips_to_pixels(height_twips, dpi)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = user32_function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (!adjust_for_dpi || !adjust_for_dpi(&outer, style, FALSE, ex_style, dpi)) {
    AdjustWindowRectEx(&outer, style, FALSE, ex_style);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int x = area.left + (area.right - area.left - width) / 2;
  const int y = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(window, nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void take_suggested_rect(HWND window, LPARAM lparam) {
  const auto* r = reinterpret_cast<const RECT*>(lparam);
  if (!r) return;
  SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

Font create_font(UINT dpi, std::wstring_view face, double points, bool bold) {
  const std::wstring name(face.empty() ? std::wstring_view(L"MS Shell Dlg 2") : face);
  if (points <= 0) points = 8.25;
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  name.copy(font.lfFaceName, LF_FACESIZE - 1);
  return Font(CreateFontIndirectW(&font));
}

Font create_fitting_font(UINT dpi, std::wstring_view face, double points, std::wstring_view text,
                         const RECT& box, bool one_line) {
  const WindowDc screen;
  const std::wstring copy(text);
  // A button's text keeps clear of its edges.
  const int width = (box.right - box.left) - (one_line ? MulDiv(8, static_cast<int>(dpi), 96) : 0);
  for (double size = points;; size -= 0.25) {
    Font font = create_font(dpi, face, size);
    if (size <= 6.75 || !screen) return font;
    HGDIOBJ previous = SelectObject(screen.get(), font.get());
    RECT needed{0, 0, width, 0};
    DrawTextW(screen.get(), copy.c_str(), static_cast<int>(copy.size()), &needed,
              DT_CALCRECT | (one_line ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(screen.get(), previous);
    if (needed.right - needed.left <= width && needed.bottom <= box.bottom - box.top) return font;
  }
}

HWND create_control(HWND parent, const wchar_t* window_class, std::wstring_view text, DWORD style,
                    DWORD ex_style, int id, const TwipsRect& position, UINT dpi, HFONT font) {
  const RECT r = twips_rect(position, dpi);
  const std::wstring caption(text);
  HWND control = CreateWindowExW(
      ex_style, window_class, caption.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
      r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

bool load_common_controls() {
  static const bool loaded = [] {
    // By name, so that the activation context of the manifest picks version 6.
    const auto init = library_function<decltype(&InitCommonControlsEx)>(
        LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    return init && init(&classes);
  }();
  return loaded;
}

bool register_window_class(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, name, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  return RegisterClassExW(&wc) != 0;
}

}  // namespace padwire::win32
