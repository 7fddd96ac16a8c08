// The single instance of the Linux program: an flock on a lock file of the user's, held for
// the object's life. The kernel lets go of it when the process ends, however it ends.
#pragma once

#include <string>

namespace padwire::lin {

class InstanceLock {
 public:
  explicit InstanceLock(std::string path = default_path());
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // $XDG_RUNTIME_DIR/padwire.lock, else /tmp/padwire-<uid>.lock.
  static std::string default_path();

  // Another process holds the lock. False as well when the lock file cannot be opened at all:
  // the program then runs rather than refusing to start.
  bool held_elsewhere() const { return held_elsewhere_; }

 private:
  int fd_ = -1;
  bool held_elsewhere_ = false;
};

}  // namespace padwire::lin
