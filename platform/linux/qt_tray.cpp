#include "platform/linux/qt_tray.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/linux/qt_layout.h"
#include "shell/form_padwire.h"

namespace padwire::lin {

namespace {

// How long a tray host may take to take the icon, and how often that is looked at.
constexpr int kHostCheckMs = 10;
constexpr int kHostChecks = 300;

constexpr const char* kNoTrayMessage =
    "No notification area (system tray) was found on this desktop. Padwire runs on without its "
    "tray icon: its menu is in the window named after it.";
constexpr const char* kNoTrayNote =
    "Padwire shows this window instead of its tray icon. The menu is reached through the button "
    "below; closing the window exits Padwire.";

}  // namespace

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

QtTray::QtTray(QIcon icon) : icon_(std::move(icon)), main_(std::make_unique<MainWindow>(*this)) {
  main_->setWindowIcon(icon_);
  QObject::connect(&watch_, &QTimer::timeout, this, [this] { watch_host(); });
}

QtTray::~QtTray() = default;

QWidget& QtTray::main_window() {
  return *main_;
}

bool QtTray::notify_icon(std::uint32_t message, const TrayIconData& data) {
  if (message == kNimDelete) {
    watch_.stop();
    if (icon_shown_) icon_shown_->hide();
    icon_shown_.reset();
    return true;
  }
  const auto end = std::find(data.szTip.begin(), data.szTip.end(), '\0');
  const QString tip = to_qt(
      std::string_view(data.szTip.data(), static_cast<std::size_t>(end - data.szTip.begin())));
  if (!icon_shown_) {
    icon_shown_ = std::make_unique<QSystemTrayIcon>(icon_);
    // Queued: the menu opens once the click that asked for it has been handled.
    QObject::connect(
        icon_shown_.get(), &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
          if (!events_.mouse) return;
          if (reason == QSystemTrayIcon::Context) events_.mouse(kWmRButtonUp);
          if (reason == QSystemTrayIcon::DoubleClick) events_.mouse(kWmLButtonDblClk);
        },
        Qt::QueuedConnection);
  }
  icon_shown_->setToolTip(tip);
  main_->setToolTip(tip);
  if (message == kNimAdd) {
    icon_shown_->show();
    checks_left_ = kHostChecks;
    watch_.start(kHostCheckMs);
  }
  return true;
}

// The icon counts as shown once the tray host has given it a place. Without a host after a
// while, the main window stands in for it, and a message says why, once.
void QtTray::watch_host() {
  const bool host = QSystemTrayIcon::isSystemTrayAvailable();
  const bool placed = icon_shown_ && !icon_shown_->geometry().isEmpty();
  if (--checks_left_ > 0 && !(host && placed)) return;
  watch_.stop();
  if (host) {
    if (!ready_ && events_.ready) events_.ready("tray-ready");
    ready_ = true;
    return;
  }
  without_host();
}

void QtTray::without_host() {
  main_->show();
  main_->raise();
  if (events_.ready) events_.ready("main-window");
  if (told_) return;
  told_ = true;
  auto* box = new QMessageBox(QMessageBox::Information, QString::fromLatin1(kMainCaption),
                              QString::fromLatin1(kNoTrayMessage), QMessageBox::Ok, main_.get());
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
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

}  // namespace padwire::lin
