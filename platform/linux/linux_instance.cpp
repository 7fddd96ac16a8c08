#include "platform/linux/linux_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace padwire::lin {

InstanceLock::InstanceLock(std::string path) {
  // No links followed: in /tmp another user could have left one pointing elsewhere.
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) return;
  int result = 0;
  do {
    result = flock(fd_, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  held_elsewhere_ = result != 0 && errno == EWOULDBLOCK;
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) close(fd_);
}

std::string InstanceLock::default_path() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return std::string(runtime) + "/padwire.lock";
  return "/tmp/padwire-" + std::to_string(getuid()) + ".lock";
}

}  // namespace padwire::lin
