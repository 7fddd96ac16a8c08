// A virtual keyboard and mouse through the kernel's uinput device: works on X11, Wayland and the
// console alike.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/linux/linux_keyboard.h"
#include "platform/mouse.h"

namespace padwire::lin {

// Writes input events to a uinput device, each followed by a synchronisation event.
class UinputDevice {
 public:
  // Over an open descriptor, which it closes: /dev/uinput set up by create(), or in tests any
  // descriptor (a pipe) that receives the exact stream of input_event records.
  explicit UinputDevice(int fd) : fd_(fd) {}
  ~UinputDevice();
  UinputDevice(const UinputDevice&) = delete;
  UinputDevice& operator=(const UinputDevice&) = delete;

  // A device declaring every key of the tables, the left, right and middle buttons and relative
  // X and Y motion; null when the device node cannot be opened or set up.
  static std::unique_ptr<UinputDevice> create(const std::string& path = "/dev/uinput");

  bool key(int code, bool down);  // a key or a button
  bool move(std::int32_t dx, std::int32_t dy);

 private:
  int fd_;
};

class UinputKeys final : public KeyOutput {
 public:
  explicit UinputKeys(std::shared_ptr<UinputDevice> device) : device_(std::move(device)) {}
  void send_vk(std::uint8_t vk, bool down) override;
  void send_key(const LayoutKey& key, bool down) override;

 private:
  std::shared_ptr<UinputDevice> device_;
};

// Where the pointer is and how to put it somewhere, when a display server tells and does it.
struct PointerAccess {
  std::function<bool(Point&)> get;
  std::function<bool(std::int32_t, std::int32_t)> set;  // clips to the screen
};

// Buttons and relative motion through the device. The pointer's position comes from `pointer`
// where given; otherwise it is an estimate, which starts at the top left corner and follows the
// program's own moves: a placement moves the pointer by the difference (as in a Wayland
// session, where no program may place the pointer nor ask where it is).
class UinputMouse final : public Mouse {
 public:
  UinputMouse(std::shared_ptr<UinputDevice> device, PointerAccess pointer)
      : device_(std::move(device)), pointer_(std::move(pointer)) {}
  bool get_cursor_pos(Point& position) override;
  bool set_cursor_pos(std::int32_t x, std::int32_t y) override;
  void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                   std::uintptr_t extra_info) override;

 private:
  std::shared_ptr<UinputDevice> device_;
  PointerAccess pointer_;
  Point tracked_{};
};

}  // namespace padwire::lin
