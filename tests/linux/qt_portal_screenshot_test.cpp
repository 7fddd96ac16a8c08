// Print Screen through the screenshot portal, against a portal of the test's own on a private
// session bus: the answer's picture becomes the JPEG, a refusal or no portal writes nothing.
#include "platform/linux/qt_portal_screenshot.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QUrl>

#include "linux_test_support.h"

namespace padwire::lin {
namespace {

// A dbus-daemon of the test's own, ended with it.
class PrivateBus {
 public:
  PrivateBus() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);  // its complaint about fd limits
      const std::string print = "--print-address=" + std::to_string(fds[1]);
      execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", print.c_str(), nullptr);
      _exit(127);
    }
    close(fds[1]);
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') address_ += c;
    close(fds[0]);
  }
  ~PrivateBus() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  QDBusConnection connect(const QString& name) const {
    return QDBusConnection::connectToBus(QString::fromStdString(address_), name);
  }

 private:
  pid_t pid_ = -1;
  std::string address_;
};

// Answers Screenshot with `code` and, on success, the picture's address.
class FakePortal final : public QDBusVirtualObject {
 public:
  FakePortal(uint code, QString picture) : code_(code), picture_(std::move(picture)) {}
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() != QStringLiteral("Screenshot")) return false;
    const QString token = qdbus_cast<QVariantMap>(message.arguments().value(1))
                              .value(QStringLiteral("handle_token"))
                              .toString();
    const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/") +
                           message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')) +
                           QLatin1Char('/') + token;
    connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(handle))));
    QDBusMessage response = QDBusMessage::createSignal(
        handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    QVariantMap results;
    results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(picture_).toString());
    response << code_ << results;
    connection.send(response);
    return true;
  }

 private:
  uint code_;
  QString picture_;
};

TEST(PortalScreenshot, ThePortalsPictureBecomesTheJpegAndNothingElseDoes) {
  PrivateBus bus;
  test::TestFolder folder;
  const QString picture = QString::fromStdString(folder / "portal.png");
  const std::string shot = folder / "shot.jpg";
  QDBusConnection client = bus.connect(QStringLiteral("client"));
  ASSERT_TRUE(client.isConnected());
  PortalScreenshot screenshot(client);
  const auto answered = [&] {
    QElapsedTimer clock;
    clock.start();
    while (screenshot.waiting() && clock.elapsed() < 10000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return !screenshot.waiting();
  };

  EXPECT_TRUE(screenshot.save_jpeg(shot, 60));  // no portal: the call fails
  ASSERT_TRUE(answered());

  for (const uint code : {1u, 0u}) {  // refused, then granted
    QDBusConnection service = bus.connect(QStringLiteral("portal%1").arg(code));
    FakePortal portal(code, picture);
    ASSERT_TRUE(
        service.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    ASSERT_TRUE(QImage(4, 3, QImage::Format_RGB32).save(picture, "png"));
    EXPECT_TRUE(screenshot.save_jpeg(shot, 60));
    EXPECT_FALSE(screenshot.save_jpeg(shot, 60)) << "one request at a time";
    ASSERT_TRUE(answered());
    EXPECT_EQ(QImage(QString::fromStdString(shot)).size(), code == 0 ? QSize(4, 3) : QSize(0, 0));
    EXPECT_EQ(QFile::exists(picture), code != 0) << "the portal's copy goes once used";
    service.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    QDBusConnection::disconnectFromBus(service.name());
  }
  QDBusConnection::disconnectFromBus(client.name());
}

}  // namespace
}  // namespace padwire::lin
