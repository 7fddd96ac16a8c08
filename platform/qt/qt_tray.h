// The tray icon and its popup menu, and the main window that stands in for the icon on a
// desktop without a tray host.
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/shell.h"

class QMenu;
class QMessageBox;

namespace padwire::qt {

// A popup menu of the model's items: separators for "-", check marks and grey items as the
// model says; "&" marks the access key as in the model's captions. The item's index is each
// action's data.
std::unique_ptr<QMenu> build_popup_menu(std::span<const MenuItem* const> items);

// The tray hosts the icon can go to: a StatusNotifier host (Plasma, the GNOME AppIndicator
// extension, waybar), which Qt reaches over the session bus, or an XEmbed tray on the X display.
struct TrayHosts {
  std::function<bool()> status_notifier;
  std::function<bool()> xembed;
};

// Whether a StatusNotifier host has registered with the watcher on the session bus, as Qt asks
// before it gives an icon to one.
bool status_notifier_host_registered();

class QtTray final : public QObject, public Tray {
 public:
  struct Events {
    // A mouse message of the icon, as the core decodes it (right button up, left double click).
    std::function<void(int)> mouse;
    // The main window's close box: the program unloads as on Exit.
    std::function<void()> close;
    // When the icon is in a tray ("tray-ready"), and when the main window stands in for it
    // ("main-window"); a tray that comes after the main window gives "tray-ready" then.
    std::function<void(const char*)> ready;
  };

  QtTray(QIcon icon, TrayHosts hosts);
  ~QtTray() override;

  void set_events(Events events) { events_ = std::move(events); }
  // How long to wait for a tray host before the main window stands in for the icon (30 s: a
  // panel started at login may come well after the program).
  void set_host_wait(int milliseconds) { host_wait_ms_ = milliseconds; }
  // The main form's window: hidden while the icon is in a tray.
  QWidget& main_window();

  bool notify_icon(std::uint32_t message, const TrayIconData& data) override;
  // The menu opens at the pointer and returns when it closes.
  std::optional<std::size_t> track_popup(std::span<const MenuItem* const> items) override;
  float twips_per_pixel_x() override;

 private:
  class MainWindow;
  void look_for_host();
  void show_icon(bool status_notifier);
  void watch_placement();
  void without_host();
  void activated(QSystemTrayIcon::ActivationReason reason);
  void tell_ready(const char* what);

  QIcon icon_;
  TrayHosts hosts_;
  Events events_;
  std::unique_ptr<MainWindow> main_;
  // Made only once a host is there: Qt picks the kind of tray (StatusNotifier or XEmbed) when
  // the icon is made, and keeps it.
  std::unique_ptr<QSystemTrayIcon> icon_shown_;
  QPointer<QMessageBox> no_tray_box_;
  QString tip_;
  QTimer look_;
  QTimer placement_;
  QElapsedTimer waiting_;
  int host_wait_ms_ = 30000;
  int placement_checks_left_ = 0;
  bool wanted_ = false;  // between the icon's add and its delete
  bool status_notifier_ = false;
  bool told_ = false;
};

}  // namespace padwire::qt
