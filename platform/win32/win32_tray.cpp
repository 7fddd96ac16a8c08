#include "platform/win32/win32_tray.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/win32_text.h"

namespace padwire::win32 {

HMENU build_popup_menu(std::span<const MenuItem* const> items) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = *items[i];
    const auto command = static_cast<UINT_PTR>(i + 1);
    if (item.is_separator()) {
      AppendMenuW(menu, MF_SEPARATOR, command, nullptr);
      continue;
    }
    const UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) |
                       (item.enabled ? MF_ENABLED : MF_GRAYED);
    AppendMenuW(menu, flags, command, to_wide_lossy(item.caption).c_str());
  }
  return menu;
}

bool Win32Tray::notify_icon(std::uint32_t message, const TrayIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = reinterpret_cast<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = data.hIcon ? reinterpret_cast<HICON>(data.hIcon) : default_icon_;
  const auto end = std::find(data.szTip.begin(), data.szTip.end(), '\0');
  const std::wstring tip = to_wide_lossy(std::string(data.szTip.begin(), end));
  const std::size_t length = std::min(tip.size(), std::size(record.szTip) - 1);
  std::copy_n(tip.begin(), length, record.szTip);
  return Shell_NotifyIconW(message, &record) != FALSE;
}

std::optional<std::size_t> Win32Tray::track_popup(std::span<const MenuItem* const> items) {
  HMENU menu = build_popup_menu(items);
  if (!menu) return std::nullopt;
  POINT at{};
  GetCursorPos(&at);
  SetForegroundWindow(owner_);
  const BOOL command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x,
                                      at.y, 0, owner_, nullptr);
  PostMessageW(owner_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (command <= 0 || static_cast<std::size_t>(command) > items.size()) return std::nullopt;
  return static_cast<std::size_t>(command) - 1;
}

float Win32Tray::twips_per_pixel_x() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return 1440.0f / static_cast<float>(dpi > 0 ? dpi : 96);
}

}  // namespace padwire::win32
