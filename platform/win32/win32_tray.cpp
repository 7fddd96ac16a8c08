#include "platform/win32/win32_tray.h"

#include <algorithm>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

constexpr UINT kIconId = 1;

}  // namespace

Menu build_popup_menu(std::span<const MenuItem* const> items) {
  Menu menu(CreatePopupMenu());
  if (!menu) return menu;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = *items[i];
    const auto command = static_cast<UINT_PTR>(i + 1);
    if (item.is_separator()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, command, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) |
                       (item.enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(menu.get(), flags, command, to_wide_lossy(item.caption).c_str());
  }
  return menu;
}

bool Win32Tray::show(const std::string& tip) {
  // Icon 1 of the owner, whose mouse messages come to it as kTrayCallback.
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = owner_;
  record.uID = kIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayCallback;
  record.hIcon = default_icon_;
  const std::wstring wide = to_wide_lossy(tip);
  const std::size_t length = std::min(wide.size(), std::size(record.szTip) - 1);
  std::copy_n(wide.begin(), length, record.szTip);
  if (Shell_NotifyIconW(NIM_ADD, &record) == FALSE) return false;
  shown_ = record;
  return true;
}

bool Win32Tray::remove() {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = owner_;
  record.uID = kIconId;
  if (Shell_NotifyIconW(NIM_DELETE, &record) == FALSE) return false;
  shown_.reset();
  return true;
}

void Win32Tray::add_again() {
  if (shown_) Shell_NotifyIconW(NIM_ADD, &*shown_);
}

bool Win32Tray::change_icon(HICON icon) {
  const HICON before = default_icon_;
  default_icon_ = icon;
  if (!shown_ || shown_->hIcon != before) return false;
  NOTIFYICONDATAW change = *shown_;
  change.uFlags = NIF_ICON;
  change.hIcon = icon;
  if (Shell_NotifyIconW(NIM_MODIFY, &change) == FALSE) return false;
  shown_->hIcon = icon;
  return true;
}

namespace {

// The window's thread takes the keyboard focus when it handles its activation, which another
// thread does in its own time; a key sent before then reaches no window. Waits until it has,
// for a fifth of a second at most.
void wait_for_activation(HWND window) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  for (int waited = 0; waited < 200; waited += 5) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info) || info.hwndActive != nullptr) return;
    Sleep(5);
  }
}

}  // namespace

std::optional<std::size_t> Win32Tray::track_popup(std::span<const MenuItem* const> items) {
  const Menu menu = build_popup_menu(items);
  if (!menu) return std::nullopt;
  POINT at{};
  GetCursorPos(&at);
  const HWND before = GetForegroundWindow();
  SetForegroundWindow(owner_);
  const BOOL command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                      at.x, at.y, 0, owner_, nullptr);
  PostMessageW(owner_, WM_NULL, 0, 0);
  // Remembered only now: a give-back while the menu is open would close it.
  before_menu_ = before;
  if (command <= 0 || static_cast<std::size_t>(command) > items.size()) return std::nullopt;
  return static_cast<std::size_t>(command) - 1;
}

void Win32Tray::give_back_foreground() {
  before_key();
  before_menu_ = nullptr;
}

void Win32Tray::before_key() {
  const HWND before = before_menu_;
  if (!before || GetForegroundWindow() != owner_) return;
  before_menu_ = nullptr;
  if (before != owner_ && IsWindow(before) && SetForegroundWindow(before)) {
    wait_for_activation(before);
  }
}

float Win32Tray::twips_per_pixel_x() {
  const WindowDc screen;
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
  return 1440.0f / static_cast<float>(dpi > 0 ? dpi : 96);
}

}  // namespace padwire::win32
