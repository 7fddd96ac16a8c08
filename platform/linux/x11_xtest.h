// Keys, buttons and pointer through the X server's XTest extension.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/linux/linux_keyboard.h"
#include "platform/mouse.h"

struct _XDisplay;

namespace padwire::lin {

// Keys outside the typing block by keysym: the keysym's keycode in the server's keymap, with Shift
// around a keysym on its key's second level, Num Lock locked for the keypad's digits, and a spare
// keycode remapped for a keysym the keymap lacks (restored some 50 ms after its key went up).
// Keys of the layout: the server's keycode of the Linux key (the Linux code plus 8), with Shift
// (unless it is held already) and the third-level key around it as the layout says.
class XTestKeys final : public KeyOutput {
 public:
  explicit XTestKeys(_XDisplay* display);
  ~XTestKeys() override;
  void send_vk(std::uint8_t vk, bool down) override;
  void send_key(const LayoutKey& key, bool down) override;
  // Between hold() and send_held(), keys wait in the connection's buffer; send_held() sends them
  // together and returns once the server has handled them. Outside, each key goes out at once.
  // A tick sends its keys so: one write, and the program gives up the processor while the
  // server hands them on, which then runs at once on that processor instead of waiting for
  // another one to wake.
  void hold();
  void send_held();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

class XTestMouse final : public Mouse {
 public:
  explicit XTestMouse(_XDisplay* display) : display_(display) {}
  bool get_cursor_pos(Point& position) override;
  // Moves the pointer to the position clipped to the screen.
  bool set_cursor_pos(std::int32_t x, std::int32_t y) override;
  void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::uint32_t data,
                   std::uintptr_t extra_info) override;

 private:
  _XDisplay* display_;
};

// The pointer's position on the screen, and a placement clipped to the screen.
bool x11_pointer_position(_XDisplay* display, Point& position);
bool x11_place_pointer(_XDisplay* display, std::int32_t x, std::int32_t y);

}  // namespace padwire::lin
