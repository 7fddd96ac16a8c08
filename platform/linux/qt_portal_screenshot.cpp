#include "platform/linux/qt_portal_screenshot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QUrl>

#include "platform/linux/linux_paths.h"

namespace padwire::lin {

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kResponse = QStringLiteral("Response");

// The portal answers on an object named after the caller's bus name and the token it chose, so
// the answer can be listened to before the request goes out.
QString handle_for(const QDBusConnection& bus, const QString& token) {
  QString sender = bus.baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  return kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

bool write_jpeg(const QString& picture, const QString& path, int quality) {
  const QImage image(picture);
  if (image.isNull()) return false;
  QSaveFile file(path);  // written whole under another name, then put in place
  if (!file.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&file, "jpeg");
  writer.setQuality(std::clamp(quality, 1, 100));
  if (!writer.write(image)) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace

PortalScreenshot::PortalScreenshot(QDBusConnection bus) : bus_(std::move(bus)) {
  give_up_.setSingleShot(true);
  give_up_.setInterval(60000);
  QObject::connect(&give_up_, &QTimer::timeout, this, [this] { finish(); });
}

bool PortalScreenshot::save_jpeg(const std::string& path, int quality) {
  if (waiting_ || path.empty() || !bus_.isConnected()) return false;
  const QString token = QStringLiteral("padwire%1").arg(++serial_);
  QDBusMessage call = QDBusMessage::createMethodCall(
      kPortal, kPortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
      QStringLiteral("Screenshot"));
  QVariantMap options;
  options.insert(QStringLiteral("handle_token"), token);
  options.insert(QStringLiteral("interactive"), false);
  call << QString() << options;
  waiting_ = true;
  path_ = QString::fromStdString(native_path(path));
  quality_ = quality;
  listen(handle_for(bus_, token));
  give_up_.start();
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, this,
                   [this, watcher](QDBusPendingCallWatcher*) {
                     watcher->deleteLater();
                     const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                     if (!waiting_) return;
                     if (reply.isError()) {
                       finish();  // no portal, or it refused the request
                     } else if (reply.value().path() != handle_) {
                       listen(reply.value().path());  // an older portal names it otherwise
                     }
                   });
  return true;
}

void PortalScreenshot::listen(const QString& handle) {
  stop_listening();
  handle_ = handle;
  bus_.connect(kPortal, handle_, kRequest, kResponse, this, SLOT(response(uint, QVariantMap)));
}

void PortalScreenshot::stop_listening() {
  if (handle_.isEmpty()) return;
  bus_.disconnect(kPortal, handle_, kRequest, kResponse, this, SLOT(response(uint, QVariantMap)));
  handle_.clear();
}

void PortalScreenshot::response(uint code, const QVariantMap& results) {
  if (!waiting_) return;
  const QUrl picture(results.value(QStringLiteral("uri")).toString());
  // 0 is success; the user's or the portal's refusal writes nothing.
  if (code == 0 && picture.isLocalFile() && write_jpeg(picture.toLocalFile(), path_, quality_)) {
    QFile::remove(picture.toLocalFile());  // the portal's copy was made for this request only
  }
  finish();
}

void PortalScreenshot::finish() {
  give_up_.stop();
  stop_listening();
  waiting_ = false;
}

}  // namespace padwire::lin
