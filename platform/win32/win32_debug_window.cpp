#include "platform/win32/win32_debug_window.h"

#include <algorithm>
#include <optional>

#include "platform/common/held_text.h"
#include "platform/win32/win32_layout.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

// Client area and text box in twips: the box sits a little outside the client area on every
// side, so that only its text shows, edge to edge.
constexpr int kClientWidth = 3600;
constexpr int kClientHeight = 3390;
constexpr TwipsRect kText1{-30, -15, 3645, 3435};
constexpr int kTextId = 1;

}  // namespace

HWND DebugWindow::ensure() {
  if (window_) return window_;
  if (!register_window_class(kDebugWindowClass, procedure,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) {
    return nullptr;
  }
  window_ = CreateWindowExW(kToolWindowExStyle | WS_EX_NOACTIVATE, kDebugWindowClass, kDebugCaption,
                            kToolWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) return nullptr;
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
                          10, 10, window_, reinterpret_cast<HMENU>(kTextId),
                          GetModuleHandleW(nullptr), nullptr);
  size_and_centre(window_, kClientWidth, kClientHeight);
  layout();
  return window_;
}

void DebugWindow::layout() {
  const UINT dpi = window_dpi(window_);
  font_ = create_font(dpi, L"", 8.25);
  const RECT box = twips_rect(kText1, dpi);
  SetWindowPos(edit_, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  update_scroll_bar();
}

void DebugWindow::show_text(const std::string& text) {
  if (!ensure()) return;
  if (!IsWindowVisible(window_)) ShowWindow(window_, SW_SHOWNOACTIVATE);
  std::wstring wanted = to_wide_lossy(text);
  const std::optional<TextChange> change = changed_span(shown_, wanted);
  if (!change) return;
  // Replacing the whole text lays out and draws every line again, which takes milliseconds
  // under Wine, and a pad change that arrives meanwhile waits for it; a pad's change alters a
  // line or two. The box ends as the whole text would leave it, its first line at the top.
  const std::wstring part = wanted.substr(change->start, change->wanted_end - change->start);
  SendMessageW(edit_, EM_SETSEL, change->start, static_cast<LPARAM>(change->shown_end));
  SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
  if (SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0) != 0) {
    SendMessageW(edit_, WM_VSCROLL, SB_TOP, 0);
  }
  const auto lines = [](const std::wstring& t) { return std::count(t.begin(), t.end(), L'\n'); };
  const bool relines = lines(shown_) != lines(wanted);
  shown_ = std::move(wanted);
  if (relines) update_scroll_bar();
}

// A scroll bar only when the dump has more lines than the box shows (a pad with many buttons).
void DebugWindow::update_scroll_bar() {
  RECT area{};
  SendMessageW(edit_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  TEXTMETRICW metrics{};
  {
    const WindowDc dc(edit_);
    HGDIOBJ previous = SelectObject(dc.get(), font_.get());
    GetTextMetricsW(dc.get(), &metrics);
    SelectObject(dc.get(), previous);
  }
  const int line_height = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
  const auto lines = static_cast<int>(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0));
  ShowScrollBar(edit_, SB_VERT, lines * line_height > area.bottom - area.top);
}

void DebugWindow::destroy() {
  if (window_) {
    HWND window = window_;
    window_ = nullptr;
    edit_ = nullptr;
    shown_.clear();
    DestroyWindow(window);
  }
  font_.reset();
}

LRESULT CALLBACK DebugWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DebugWindow* self = window_object<DebugWindow>(window, message, lparam);
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_CTLCOLORSTATIC:
      // A read-only box keeps the window colour of an ordinary text box.
      SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOW));
      SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_DPICHANGED:
      if (self->window_ == window) {
        take_suggested_rect(window, lparam);
        self->layout();
      }
      return 0;
    case WM_CLOSE:
      if (self->window_ == window) {
        self->destroy();
        if (self->on_closed_) self->on_closed_();
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace padwire::win32
