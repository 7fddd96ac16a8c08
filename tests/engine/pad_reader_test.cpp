#include "engine/pad_reader.h"

#include <gtest/gtest.h>

namespace padwire {
namespace {

constexpr std::int32_t kC = kAxisCentre;
constexpr std::uint32_t kCentred = 0xFFFFFFFF;

TEST(DecodeDirections, DeadZoneEdgesAndHatSectors) {
  const DirectionOptions off{}, zone{true, false}, hat{false, true}, both{true, true};
  struct Case {
    std::int32_t x, y;
    std::uint32_t pov;
    DirectionOptions options;
    Stick expected;
  };
  const Case cases[] = {
      {24575, 40961, 0, off, {24575, 40961}},    // options off: the axes as they are
      {24576, 40960, kCentred, zone, {kC, kC}},  // the zone's edges are inside it
      {24575, 40961, kCentred, zone, {24575, 40961}},
      {-5, 70000, kCentred, zone, {-5, 70000}},  // out-of-range values are not clamped
      {0, 0, 2249, hat, {kC, 0}},                // Up covers up to 22.49 degrees
      {0, 0, 2250, hat, {65535, 0}},
      {0, 0, 35999, hat, {kC, 0}},  // and from 337.5 degrees on
      {0, 0, 22499, hat, {0, 65535}},
      {100, 200, 36000, hat, {100, 200}},       // outside the circle: centred
      {100, 200, 0x0001FFFF, hat, {100, 200}},  // 0xFFFF in the low word: centred
      {30000, 33000, 0xFFFF, both, {kC, kC}},   // centred hat: the stick, with its zone
      {30000, 33000, 18000, both, {kC, 65535}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " pov " << c.pov);
    JoyState2 state;
    state.lX = c.x;
    state.lY = c.y;
    state.rgdwPOV[0] = c.pov;
    const Stick got = decode_directions(state, c.options);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
  }
}

}  // namespace
}  // namespace padwire
