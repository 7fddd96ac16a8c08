// The notification-area icon and its popup menu.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <span>
#include <string>

#include "platform/tray.h"
#include "platform/win32/win32_handles.h"

namespace padwire::win32 {

// A popup menu of the model's items: command i + 1 for item i, separators for "-", check marks
// and grey items as the model says; "&" marks the access key as in the model's captions.
Menu build_popup_menu(std::span<const MenuItem* const> items);

class Win32Tray final : public Tray {
 public:
  // `owner` receives the icon's and the menu's messages; `default_icon` is the icon shown.
  Win32Tray(HWND owner, HICON default_icon) : owner_(owner), default_icon_(default_icon) {}

  bool show(const std::string& tip) override;
  bool remove() override;
  // The menu opens at the pointer. The owner is brought to the foreground first and sent a
  // null message afterwards, without which a tray menu does not close when the user clicks
  // elsewhere. The window that was in front is remembered for give_back_foreground.
  std::optional<std::size_t> track_popup(std::span<const MenuItem* const> items) override;
  float twips_per_pixel_x() override;

  // Once the handler of a menu choice has run: when the owner is still in front (the choice
  // opened none of the program's windows), the window that was in front before the menu gets
  // the foreground back, so the game keeps the keyboard. Does nothing when no menu was shown.
  void give_back_foreground();
  // Before a key goes out: the same while the owner is in front, so that the key-ups of what a
  // choice releases (Exit) reach the game. With one of the program's windows in front (a
  // message box the choice opened) the give-back is kept for when the handler has run.
  void before_key();
  // The notification area was made anew (Explorer restarted): the icon, when it is shown,
  // is added again with its tip.
  void add_again();
  // The program's icon at another size (the screen's DPI changed): it is the icon from now
  // on, and replaces the shown one. True when the shell took it.
  bool change_icon(HICON icon);

 private:
  HWND owner_;
  HICON default_icon_;
  // The record of the icon while it is shown; nothing once it is deleted.
  std::optional<NOTIFYICONDATAW> shown_;
  HWND before_menu_ = nullptr;
};

}  // namespace padwire::win32
