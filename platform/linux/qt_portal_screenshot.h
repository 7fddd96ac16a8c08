// Screenshots through the desktop's screenshot portal (org.freedesktop.portal.Screenshot on the
// session bus): the way a Wayland desktop lets a program have a picture of the screen.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <cstdint>
#include <string>

#include "platform/screenshot.h"

class QDBusPendingCallWatcher;

namespace padwire::lin {

class PortalScreenshot final : public QObject, public Screenshot {
  Q_OBJECT

 public:
  // On the session bus, or the given one.
  explicit PortalScreenshot(QDBusConnection bus = QDBusConnection::sessionBus());

  // Asks the portal for a picture of the whole screen, without a dialog, and returns at once:
  // true when the request went out. When the portal answers with a picture, it is written as a
  // JPEG at `quality` to `path` (a path as the core joins it) through a temporary file, and the
  // portal's own file of it is removed; a refusal, a failure or no answer within a minute writes
  // nothing. One request at a time: another one while it waits is refused.
  bool save_jpeg(const std::string& path, int quality) override;
  // A request is out and its answer awaited.
  bool waiting() const { return waiting_; }

 private slots:
  // The portal's Request.Response signal.
  void response(uint code, const QVariantMap& results);

 private:
  void listen(const QString& handle);
  void stop_listening();
  void finish();

  QDBusConnection bus_;
  bool waiting_ = false;
  QString handle_;  // the request object whose Response is listened to
  QString path_;
  int quality_ = 60;
  unsigned serial_ = 0;
  QTimer give_up_;
};

}  // namespace padwire::lin
