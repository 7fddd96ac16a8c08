// Mouse service: pointer position and button events.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace padwire {

inline constexpr std::uint32_t kMouseMove = 1;  // dx and dy move the pointer relatively
inline constexpr std::uint32_t kMouseLeftDown = 2;
inline constexpr std::uint32_t kMouseLeftUp = 4;
inline constexpr std::uint32_t kMouseRightDown = 8;
inline constexpr std::uint32_t kMouseRightUp = 16;
inline constexpr std::uint32_t kMouseMiddleDown = 32;
inline constexpr std::uint32_t kMouseMiddleUp = 64;

class Mouse {
 public:
  virtual ~Mouse() = default;
  virtual bool get_cursor_pos(Point& position) = 0;
  // The system clips the position to the screen.
  virtual bool set_cursor_pos(std::int32_t x, std::int32_t y) = 0;
  virtual void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                           std::uint32_t data, std::uintptr_t extra_info) = 0;
};

}  // namespace padwire
