#include "platform/qt/qt_tray.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/qt_layout.h"
#include "shell/form_padwire.h"

namespace padwire::qt {

namespace {

// How often a tray host is looked for while there is none: often while the program still
// waits for one, seldom once the main window stands in for the icon.
constexpr int kLookWaitingMs = 250;
constexpr int kLookStandingInMs = 1000;
// How long an XEmbed tray may take to give the icon its place, and how often that is looked at.
constexpr int kPlacementCheckMs = 10;
constexpr int kPlacementChecks = 300;

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
constexpr int kWatcherTimeoutMs = 200;

constexpr const char* kNoTrayMessage =
    "No notification area (system tray) was found on this desktop. Padwire runs on without its "
    "tray icon: its menu is in the window named after it. The icon takes the window's place as "
    "soon as a notification area starts.";
constexpr const char* kNoTrayNote =
    "Padwire shows this window instead of its tray icon. The menu is reached through the button "
    "below; closing the window exits Padwire.";

}  // namespace

bool status_notifier_host_registered() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface() ||
      !bus.interface()->isServiceRegistered(QString::fromLatin1(kWatcherService))) {
    return false;
  }
  // A watcher that does not answer in time counts as none, and is asked again later.
  QDBusMessage get = QDBusMessage::createMethodCall(
      QString::fromLatin1(kWatcherService), QString::fromLatin1(kWatcherPath),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << QString::fromLatin1(kWatcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusMessage reply = bus.call(get, QDBus::Block, kWatcherTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
         reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// The main form's window. Shown only without a tray host: a short note and a button that opens
// the icon's menu. Its close box ends the program as Exit does.
class QtTray::MainWindow final : public QWidget {
 public:
  explicit MainWindow(QtTray& tray) : tray_(tray) {
    setWindowTitle(QString::fromLatin1(kMainCaption));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QString::fromLatin1(kNoTrayNote), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* menu = new QPushButton(QStringLiteral("&Menu..."), this);
    menu->setDefault(true);
    layout->addWidget(menu, 0, Qt::AlignRight);
    QObject::connect(menu, &QPushButton::clicked, this, [this] {
      if (tray_.events_.mouse) tray_.events_.mouse(kWmRButtonUp);
    });
    setFixedWidth(360);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (tray_.events_.close) tray_.events_.close();
  }

 private:
  QtTray& tray_;
};

std::unique_ptr<QMenu> build_popup_menu(std::span<const MenuItem* const> items) {
  auto menu = std::make_unique<QMenu>();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = *items[i];
    QAction* action =
        item.is_separator() ? menu->addSeparator() : menu->addAction(to_qt(item.caption));
    action->setData(static_cast<qulonglong>(i));
    if (item.is_separator()) continue;
    // Only checked items are checkable: an unchecked one shows no box, as on the classic menu.
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    action->setEnabled(item.enabled);
  }
  return menu;
}

QtTray::QtTray(QIcon icon, TrayHosts hosts)
    : icon_(std::move(icon)), hosts_(std::move(hosts)), main_(std::make_unique<MainWindow>(*this)) {
  main_->setWindowIcon(icon_);
  look_.setSingleShot(true);
  QObject::connect(&look_, &QTimer::timeout, this, [this] { look_for_host(); });
  QObject::connect(&placement_, &QTimer::timeout, this, [this] { watch_placement(); });
}

QtTray::~QtTray() = default;

QWidget& QtTray::main_window() {
  return *main_;
}

bool QtTray::notify_icon(std::uint32_t message, const TrayIconData& data) {
  if (message == kNimDelete) {
    wanted_ = false;
    look_.stop();
    placement_.stop();
    if (icon_shown_) icon_shown_->hide();
    icon_shown_.reset();
    return true;
  }
  const auto end = std::find(data.szTip.begin(), data.szTip.end(), '\0');
  tip_ = to_qt(
      std::string_view(data.szTip.data(), static_cast<std::size_t>(end - data.szTip.begin())));
  if (icon_shown_) icon_shown_->setToolTip(tip_);
  main_->setToolTip(tip_);
  if (message == kNimAdd && !wanted_) {
    wanted_ = true;
    waiting_.start();
    look_for_host();
  }
  return true;
}

// A host that is there now takes the icon. Without one, the program waits; once the wait is
// over the main window stands in for the icon, and the looking goes on more slowly.
void QtTray::look_for_host() {
  if (!wanted_ || icon_shown_) return;
  const bool status_notifier = hosts_.status_notifier && hosts_.status_notifier();
  if (status_notifier || (hosts_.xembed && hosts_.xembed())) {
    show_icon(status_notifier);
    return;
  }
  if (!main_->isVisible() && waiting_.elapsed() >= host_wait_ms_) without_host();
  const bool standing_in = main_->isVisible();
  const qint64 wait_left = host_wait_ms_ - waiting_.elapsed();
  look_.start(standing_in ? kLookStandingInMs
                          : static_cast<int>(std::clamp<qint64>(wait_left, 1, kLookWaitingMs)));
}

void QtTray::show_icon(bool status_notifier) {
  status_notifier_ = status_notifier;
  icon_shown_ = std::make_unique<QSystemTrayIcon>(icon_);
  // Queued: the menu opens once the click that asked for it has been handled.
  QObject::connect(
      icon_shown_.get(), &QSystemTrayIcon::activated, this,
      [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); },
      Qt::QueuedConnection);
  icon_shown_->setToolTip(tip_);
  icon_shown_->show();
  main_->hide();
  if (no_tray_box_) no_tray_box_->close();
  if (status_notifier_) {
    tell_ready("tray-ready");  // the host has no place to tell: the icon is there once shown
    return;
  }
  placement_checks_left_ = kPlacementChecks;
  placement_.start(kPlacementCheckMs);
}

// The icon counts as shown once the XEmbed tray has given it a place, or after a while in any
// case: the tray is there.
void QtTray::watch_placement() {
  const bool placed = icon_shown_ && !icon_shown_->geometry().isEmpty();
  if (--placement_checks_left_ > 0 && !placed) return;
  placement_.stop();
  tell_ready("tray-ready");
}

void QtTray::without_host() {
  main_->show();
  main_->raise();
  tell_ready("main-window");
  if (told_) return;
  told_ = true;
  no_tray_box_ = new QMessageBox(QMessageBox::Information, QString::fromLatin1(kMainCaption),
                                 QString::fromLatin1(kNoTrayMessage), QMessageBox::Ok, main_.get());
  no_tray_box_->setAttribute(Qt::WA_DeleteOnClose);
  no_tray_box_->open();
}

// XEmbed trays report the buttons as they are: the right one opens the menu, a double click
// looks for the emulator. A StatusNotifier host sends its own activations instead: the
// activation (a left click) opens the menu, the secondary one (a middle click) looks for the
// emulator, and the context request (a right click) opens the menu too.
void QtTray::activated(QSystemTrayIcon::ActivationReason reason) {
  if (!events_.mouse) return;
  switch (reason) {
    case QSystemTrayIcon::Context:
      events_.mouse(kWmRButtonUp);
      break;
    case QSystemTrayIcon::DoubleClick:
      events_.mouse(kWmLButtonDblClk);
      break;
    case QSystemTrayIcon::Trigger:
      if (status_notifier_) events_.mouse(kWmRButtonUp);
      break;
    case QSystemTrayIcon::MiddleClick:
      if (status_notifier_) events_.mouse(kWmLButtonDblClk);
      break;
    case QSystemTrayIcon::Unknown:
      break;
  }
}

void QtTray::tell_ready(const char* what) {
  if (events_.ready) events_.ready(what);
}

std::optional<std::size_t> QtTray::track_popup(std::span<const MenuItem* const> items) {
  const std::unique_ptr<QMenu> menu = build_popup_menu(items);
  const QAction* chosen = menu->exec(QCursor::pos());
  if (!chosen) return std::nullopt;
  const auto index = static_cast<std::size_t>(chosen->data().toULongLong());
  if (index >= items.size()) return std::nullopt;
  return index;
}

float QtTray::twips_per_pixel_x() {
  // Only the code of the notification travels in it: the layouts' 96 dots per inch.
  return 15.0f;
}

}  // namespace padwire::qt
