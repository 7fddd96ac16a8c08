// The start-up floor for `make bench`: a Qt program that only shows a tray icon and says so as
// padwire_scripted does ("tray-ready" on the FIFO that PADWIRE_SCRIPT_REPLY names), once the tray
// host has given the icon a place, looked at on the same 10 ms checks as the program's tray.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdlib>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::darkBlue);
  QSystemTrayIcon icon{QIcon(pixmap)};
  icon.show();
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (!QSystemTrayIcon::isSystemTrayAvailable() || icon.geometry().isEmpty()) return;
    check.stop();
    const char* path = std::getenv("PADWIRE_SCRIPT_REPLY");
    const int fd = path ? ::open(path, O_WRONLY | O_CLOEXEC) : -1;
    if (fd >= 0) {
      [[maybe_unused]] const ssize_t written = ::write(fd, "tray-ready\n", 11);
      ::close(fd);
    }
  });
  check.start(10);
  return QApplication::exec();
}
