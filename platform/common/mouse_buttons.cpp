#include "platform/common/mouse_buttons.h"

#include "platform/mouse.h"

namespace padwire {

std::vector<ButtonChange> mouse_event_buttons(std::uint32_t flags) {
  struct Bit {
    std::uint32_t flag;
    ButtonChange change;
  };
  constexpr Bit kBits[] = {
      {kMouseLeftDown, {MouseButton::left, true}},
      {kMouseLeftUp, {MouseButton::left, false}},
      {kMouseRightDown, {MouseButton::right, true}},
      {kMouseRightUp, {MouseButton::right, false}},
      {kMouseMiddleDown, {MouseButton::middle, true}},
      {kMouseMiddleUp, {MouseButton::middle, false}},
  };
  std::vector<ButtonChange> changes;
  for (const Bit& bit : kBits) {
    if ((flags & bit.flag) != 0) changes.push_back(bit.change);
  }
  return changes;
}

}  // namespace padwire
