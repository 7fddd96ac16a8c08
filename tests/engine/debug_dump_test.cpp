#include "engine/debug_dump.h"

#include <gtest/gtest.h>

namespace padwire {
namespace {

TEST(StateDump, MemberOrderSignedNumbersAndButtonNumbering) {
  JoyState2 s;
  s.lX = 1;
  s.lRx = 2;
  s.lVX = 3;
  s.lVRx = 4;
  s.lAX = 5;
  s.lARx = 6;
  s.lFX = 7;
  s.lFRx = 8;
  s.lY = -1;
  s.lZ = 2147483647;
  s.rgdwPOV[0] = 0xFFFFFFFFu;
  s.rgdwPOV[3] = 27000;
  s.rglSlider[1] = 9;
  s.rglVSlider[0] = 10;
  s.rglASlider[1] = 11;
  s.rglFSlider[0] = -12;
  s.rgbButtons[0] = 128;
  s.rgbButtons[2] = 255;
  EXPECT_EQ(build_state_dump(s, 2),
            "X=4,3,6,5,8,7,1,2\r\n"
            "Y=0,0,0,0,0,0,-1,0\r\n"
            "Z=0,0,0,0,0,0,2147483647,0\r\n"
            "POV=-1,0,0,27000\r\n"
            "Slider=0,9,10,0,0,11,-12,0\r\n"
            "Button(1)=128\r\nButton(2)=0\r\nButton(3)=255\r\n");
}

TEST(StateDump, ButtonLinesFollowTheDeviceButtonCountWithinTheRecord) {
  JoyState2 s;
  const std::string none = build_state_dump(s, -1);
  EXPECT_EQ(none.find("Button("), std::string::npos);
  const std::string many = build_state_dump(s, 500);  // more than the record holds
  EXPECT_NE(many.find("Button(128)=0\r\n"), std::string::npos);
  EXPECT_EQ(many.find("Button(129)"), std::string::npos);
}

}  // namespace
}  // namespace padwire
