#include "platform/linux/linux_uinput.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/common/mouse_buttons.h"
#include "platform/linux/linux_key_codes.h"

namespace padwire::lin {

namespace {

bool write_all(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The events, then the report's end. The kernel stamps the time.
bool write_events(int fd, std::initializer_list<input_event> events) {
  input_event buffer[4]{};
  std::size_t count = 0;
  for (const input_event& event : events) buffer[count++] = event;
  buffer[count++] = input_event{{}, EV_SYN, SYN_REPORT, 0};
  return write_all(fd, buffer, count * sizeof(input_event));
}

input_event event(int type, int code, int value) {
  input_event e{};
  e.type = static_cast<std::uint16_t>(type);
  e.code = static_cast<std::uint16_t>(code);
  e.value = value;
  return e;
}

bool set_up(int fd) {
  bool ok = ioctl(fd, UI_SET_EVBIT, EV_KEY) == 0 && ioctl(fd, UI_SET_EVBIT, EV_REL) == 0 &&
            ioctl(fd, UI_SET_EVBIT, EV_SYN) == 0 && ioctl(fd, UI_SET_RELBIT, REL_X) == 0 &&
            ioctl(fd, UI_SET_RELBIT, REL_Y) == 0;
  for (int button : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE}) {
    ok = ok && ioctl(fd, UI_SET_KEYBIT, button) == 0;
  }
  for (int key : linux_keys_in_tables()) ok = ok && ioctl(fd, UI_SET_KEYBIT, key) == 0;
  if (!ok) return false;
  uinput_setup setup{};
  setup.id.bustype = BUS_VIRTUAL;
  setup.id.vendor = 0x1209;  // pid.codes' vendor id for open projects
  setup.id.product = 0x0001;
  setup.id.version = 1;
  std::strncpy(setup.name, "Padwire virtual keyboard and mouse", UINPUT_MAX_NAME_SIZE - 1);
  return ioctl(fd, UI_DEV_SETUP, &setup) == 0 && ioctl(fd, UI_DEV_CREATE) == 0;
}

std::int32_t saturated(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

UinputDevice::~UinputDevice() {
  // Destroying the device releases whatever it still holds down.
  ioctl(fd_, UI_DEV_DESTROY);
  ::close(fd_);
}

std::unique_ptr<UinputDevice> UinputDevice::create(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  if (!set_up(fd)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<UinputDevice>(fd);
}

bool UinputDevice::key(int code, bool down) {
  return write_events(fd_, {event(EV_KEY, code, down ? 1 : 0)});
}

bool UinputDevice::move(std::int32_t dx, std::int32_t dy) {
  if (dx == 0 && dy == 0) return true;
  if (dx == 0) return write_events(fd_, {event(EV_REL, REL_Y, dy)});
  if (dy == 0) return write_events(fd_, {event(EV_REL, REL_X, dx)});
  return write_events(fd_, {event(EV_REL, REL_X, dx), event(EV_REL, REL_Y, dy)});
}

void UinputKeys::send_vk(std::uint8_t vk, bool down) {
  const int key = linux_key_for_vk(vk);
  if (key != 0) device_->key(key, down);
}

void UinputKeys::send_key(const LayoutKey& key, bool down) {
  const bool shift = down && key.shift;
  const bool level3 = down && key.level3 != 0;
  if (shift) device_->key(KEY_LEFTSHIFT, true);
  if (level3) device_->key(key.level3, true);
  device_->key(key.key, down);
  if (level3) device_->key(key.level3, false);
  if (shift) device_->key(KEY_LEFTSHIFT, false);
}

bool UinputMouse::get_cursor_pos(Point& position) {
  if (pointer_.get) return pointer_.get(position);
  position = tracked_;
  return true;
}

bool UinputMouse::set_cursor_pos(std::int32_t x, std::int32_t y) {
  if (pointer_.set) return pointer_.set(x, y);
  // Each placement moves by its difference from the last one, which is exact whatever the
  // estimate's error (the desktop's pointer acceleration, the user's own mouse); the desktop
  // keeps the pointer on the screen.
  if (!device_->move(saturated(std::int64_t{x} - tracked_.x),
                     saturated(std::int64_t{y} - tracked_.y))) {
    return false;
  }
  tracked_ = {x, y};
  return true;
}

void UinputMouse::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                              std::uint32_t /*data*/, std::uintptr_t /*extra_info*/) {
  if ((flags & kMouseMove) != 0 && device_->move(dx, dy)) {
    tracked_ = {saturated(std::int64_t{tracked_.x} + dx), saturated(std::int64_t{tracked_.y} + dy)};
  }
  for (const ButtonChange& change : mouse_event_buttons(flags)) {
    const int button = change.button == MouseButton::left    ? BTN_LEFT
                       : change.button == MouseButton::right ? BTN_RIGHT
                                                             : BTN_MIDDLE;
    device_->key(button, change.down);
  }
}

}  // namespace padwire::lin
