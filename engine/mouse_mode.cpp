// Mouse mode: the pad moves the pointer with a simple acceleration; A and B are the mouse
// buttons and any other button ends the mode.
#include "engine/pad_engine.h"

namespace padwire {

namespace {

// One pixel faster every tick the axis stays on one side; back to one pixel on reversal;
// a centred axis keeps the speed for the next push.
void accelerate(std::int32_t axis, std::int32_t& speed, std::int32_t& target) {
  if (axis < kAxisCentre) {
    speed = speed < 0 ? speed - 1 : -1;
    target += speed;
  } else if (axis > kAxisCentre) {
    speed = speed > 0 ? speed + 1 : 1;
    target += speed;
  }
}

}  // namespace

// Mouse button 0 (left, pad button A) or 1 (right, B) goes down or up.
void PadEngine::mouse_button(int button, bool down) {
  const std::uint32_t flags = button == 0 ? (down ? kMouseLeftDown : kMouseLeftUp)
                                          : (down ? kMouseRightDown : kMouseRightUp);
  platform_.mouse.mouse_event(flags, 0, 0, 0, 0);
  MouseButtonDown[static_cast<std::size_t>(button)] = down;
}

void PadEngine::MouseModeStep() {
  read_controller();

  Point position;
  if (platform_.mouse.get_cursor_pos(position)) CursorPos = position;
  CursorTarget = CursorPos;
  accelerate(stick_.x, CursorSpeedX, CursorTarget.x);
  accelerate(stick_.y, CursorSpeedY, CursorTarget.y);
  // Only a real move touches the pointer, so the user's own mouse keeps working at rest.
  if (CursorTarget != CursorPos) platform_.mouse.set_cursor_pos(CursorTarget.x, CursorTarget.y);

  // M pauses the mouse buttons and lets the user steer without leaving the mode.
  if (button_held(kButtonM)) return;

  const int last = last_tracked_button(LastButtonIndex);
  for (int i = 0; i <= last; ++i) {
    const bool held = button_held(i);
    if (i == 0 || i == 1) {
      if (held != MouseButtonDown[static_cast<std::size_t>(i)]) mouse_button(i, held);
    } else if (held) {
      MouseMode = false;
      Timer1.set_interval(1);
    }
  }
}

}  // namespace padwire
