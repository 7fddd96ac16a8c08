// The tray icon and its popup menu, and the main window that stands in for the icon on a
// desktop without a tray host.
#pragma once

#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/shell.h"

class QMenu;
class QSystemTrayIcon;

namespace padwire::lin {

// A popup menu of the model's items: separators for "-", check marks and grey items as the
// model says; "&" marks the access key as in the model's captions. The item's index is each
// action's data.
std::unique_ptr<QMenu> build_popup_menu(std::span<const MenuItem* const> items);

class QtTray final : public QObject, public Tray {
 public:
  struct Events {
    // A mouse message of the icon, as the core decodes it (right button up, left double click).
    std::function<void(int)> mouse;
    // The main window's close box: the program unloads as on Exit.
    std::function<void()> close;
    // Once, when the icon is in the tray ("tray-ready"), or when the main window stands in for
    // it ("main-window").
    std::function<void(const char*)> ready;
  };

  explicit QtTray(QIcon icon);
  ~QtTray() override;

  void set_events(Events events) { events_ = std::move(events); }
  // The main form's window: hidden while the icon is in a tray.
  QWidget& main_window();

  bool notify_icon(std::uint32_t message, const TrayIconData& data) override;
  // The menu opens at the pointer and returns when it closes.
  std::optional<std::size_t> track_popup(std::span<const MenuItem* const> items) override;
  float twips_per_pixel_x() override;

 private:
  class MainWindow;
  void watch_host();
  void without_host();

  QIcon icon_;
  Events events_;
  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<QSystemTrayIcon> icon_shown_;
  QTimer watch_;
  int checks_left_ = 0;
  bool told_ = false;
  bool ready_ = false;
};

}  // namespace padwire::lin
