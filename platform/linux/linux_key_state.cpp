#include "platform/linux/linux_key_state.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <string>

namespace padwire::lin {

namespace {

constexpr std::size_t kKeyBytes = KEY_MAX / 8 + 1;
using KeyBits = std::array<unsigned char, kKeyBytes>;

bool bit_set(const KeyBits& bits, int code) {
  return code >= 0 && code <= KEY_MAX &&
         (bits[static_cast<std::size_t>(code) / 8] & (1u << (code % 8))) != 0;
}

// A keyboard has the keys of a typing block; mice, pads and power buttons do not.
bool is_keyboard(int fd) {
  KeyBits keys{};
  if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof keys), keys.data()) < 0) return false;
  return bit_set(keys, KEY_A) && bit_set(keys, KEY_TAB) && bit_set(keys, KEY_LEFTSHIFT);
}

}  // namespace

EvdevKeyState::~EvdevKeyState() {
  close_keyboards();
}

void EvdevKeyState::open_keyboards() {
  close_keyboards();
  opened_ = true;
  DIR* dir = opendir("/dev/input");
  if (dir == nullptr) return;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.rfind("event", 0) != 0) continue;
    const int fd = ::open(("/dev/input/" + name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    if (is_keyboard(fd)) {
      fds_.push_back(fd);
    } else {
      ::close(fd);
    }
  }
  closedir(dir);
}

void EvdevKeyState::close_keyboards() {
  for (int fd : fds_) ::close(fd);
  fds_.clear();
}

bool EvdevKeyState::held(int linux_key) {
  if (!opened_) open_keyboards();
  for (int fd : fds_) {
    KeyBits keys{};
    if (ioctl(fd, EVIOCGKEY(sizeof keys), keys.data()) < 0) {
      open_keyboards();  // a keyboard went away; the next call asks the ones there are now
      return false;
    }
    if (bit_set(keys, linux_key)) return true;
  }
  return false;
}

}  // namespace padwire::lin
