#include "platform/win32/win32_debug_window.h"

#include <algorithm>
#include <optional>

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

// The window's thread hears of a new text; it destroys the window and ends; the program's
// thread hears that the user closed it.
constexpr UINT kTextReady = WM_APP + 1;
constexpr UINT kDestroy = WM_APP + 2;
constexpr UINT kClosedByUser = WM_APP + 3;
constexpr const wchar_t* kRelayClass = L"PadwireDebugWindowRelay";

}  // namespace

DebugWindow::DebugWindow(std::function<void()> on_closed) : on_closed_(std::move(on_closed)) {}

DebugWindow::~DebugWindow() {
  destroy();
  if (relay_) DestroyWindow(relay_);
}

HWND DebugWindow::ensure() {
  if (const HWND window = window_) return window;
  if (thread_.joinable()) thread_.join();  // one whose window could not be made
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!register_window_class(kDebugWindowClass, procedure,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) ||
      !register_window_class(kRelayClass, relay_procedure, nullptr)) {
    return nullptr;
  }
  if (!relay_) {
    relay_ =
        CreateWindowExW(0, kRelayClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (!relay_) return nullptr;
  }
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!created) return nullptr;
  thread_ = std::thread(&DebugWindow::run, this, created);
  // Messages the new window sends to this thread's windows are answered meanwhile.
  while (MsgWaitForMultipleObjects(1, &created, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(created);
  return window_;
}

void DebugWindow::run(HANDLE created) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HWND window = CreateWindowExW(kToolWindowExStyle | WS_EX_NOACTIVATE, kDebugWindowClass,
                                      kDebugCaption, kToolWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                      100, 100, nullptr, nullptr, instance, this);
  if (window) {
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                            0, 10, 10, window, reinterpret_cast<HMENU>(kTextId), instance, nullptr);
    size_and_centre(window, kClientWidth, kClientHeight);
    window_ = window;
    layout();
  }
  SetEvent(created);
  if (!window) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  shown_.clear();
  font_.reset();
}

void DebugWindow::layout() {
  const HWND window = window_, edit = edit_;
  const UINT dpi = window_dpi(window);
  font_ = create_font(dpi, L"", 8.25);
  const RECT box = twips_rect(kText1, dpi);
  SetWindowPos(edit, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  update_scroll_bar();
}

void DebugWindow::show_text(const std::string& text) {
  const HWND window = ensure();
  if (!window) return;
  std::wstring wide = to_wide_lossy(text);
  std::lock_guard lock(pending_lock_);
  const bool posted = pending_.has_value();
  pending_ = std::move(wide);
  // A text that cannot be posted waits for the next one.
  if (!posted && !PostMessageW(window, kTextReady, 0, 0)) pending_.reset();
}

void DebugWindow::draw_pending_text() {
  std::optional<std::wstring> wanted;
  {
    std::lock_guard lock(pending_lock_);
    wanted.swap(pending_);
  }
  const HWND window = window_;
  if (!wanted || !window) return;
  if (const std::optional<TextChange> change = changed_span(shown_, *wanted)) {
    replace(*change, std::move(*wanted));
  }
  if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOWNOACTIVATE);
}

void DebugWindow::replace(const TextChange& change, std::wstring wanted) {
  const HWND edit = edit_;
  // Replacing the whole text lays out and draws every line again; a pad's change alters a
  // line or two. The box ends as the whole text would leave it, its first line at the top.
  const std::wstring part = wanted.substr(change.start, change.wanted_end - change.start);
  SendMessageW(edit, EM_SETSEL, change.start, static_cast<LPARAM>(change.shown_end));
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(part.c_str()));
  if (SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0) != 0) {
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
  }
  const auto lines = [](const std::wstring& t) { return std::count(t.begin(), t.end(), L'\n'); };
  const bool relines = lines(shown_) != lines(wanted);
  shown_ = std::move(wanted);
  if (relines) update_scroll_bar();
}

// A scroll bar only when the dump has more lines than the box shows (a pad with many buttons).
void DebugWindow::update_scroll_bar() {
  const HWND edit = edit_;
  RECT area{};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  TEXTMETRICW metrics{};
  {
    const WindowDc dc(edit);
    HGDIOBJ previous = SelectObject(dc.get(), font_.get());
    GetTextMetricsW(dc.get(), &metrics);
    SelectObject(dc.get(), previous);
  }
  const int line_height = metrics.tmHeight > 0 ? metrics.tmHeight : 1;
  const auto lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
  ShowScrollBar(edit, SB_VERT, lines * line_height > area.bottom - area.top);
}

void DebugWindow::destroy() {
  if (const HWND window = window_) SendMessageW(window, kDestroy, 0, 0);
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(pending_lock_);
  pending_.reset();
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
      // The program's thread destroys it and tells the program.
      if (self->window_ == window) PostMessageW(self->relay_, kClosedByUser, 0, 0);
      return 0;
    case kTextReady:
      self->draw_pending_text();
      return 0;
    case kDestroy:
      self->window_ = nullptr;
      self->edit_ = nullptr;
      DestroyWindow(window);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT CALLBACK DebugWindow::relay_procedure(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  DebugWindow* self = window_object<DebugWindow>(window, message, lparam);
  if (self && message == kClosedByUser) {
    if (self->window_) {
      self->destroy();
      if (self->on_closed_) self->on_closed_();
    }
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace padwire::win32
