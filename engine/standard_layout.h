// The standard layout: how a standard pad's named controls become the record the engine reads,
// so that a pad of any family types the ten-button pad's keys by position.
//
//   record button  0 A   1 B    2 C   3 X           4 Y            5 Z
//   pad control    west  south  east  left trigger  right trigger  north
//   record button  6 L            7 R             8 Start  9 M
//   pad control    left shoulder  right shoulder  start    back
//
// The D-pad gives the directions in eight ways; while it rests, the left stick gives them,
// within its dead zone centred. Guide, the stick clicks and the right stick type nothing.
#pragma once

#include <array>
#include <cstdint>

#include "platform/controller.h"

namespace padwire {

// The buttons a standard pad has in the record: A to M.
inline constexpr int kStandardButtonCount = 10;

// A trigger is held beyond half its travel and free below a third; in between it keeps its
// state, so a trigger resting near either line does not chatter.
inline constexpr std::int32_t kTriggerHeldAbove = 32767;
inline constexpr std::int32_t kTriggerFreeBelow = 21845;

class StandardLayout {
 public:
  // The record for this reading; the triggers' state is kept for the next one.
  JoyState2 map(const StandardPad& pad);

 private:
  bool trigger_held(int index, std::int32_t travel);
  std::array<bool, 2> triggers_held_{};
};

}  // namespace padwire
