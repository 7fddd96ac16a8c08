// The controller through SDL: a virtual joystick read back through the controller boundary, by
// number, and as game controllers read as standard pads.
#include "platform/sdl/sdl_input.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "scripted_joystick.h"

namespace padwire::sdl {
namespace {

bool readable(int fd) {
  pollfd watched{fd, POLLIN, 0};
  return ::poll(&watched, 1, 0) == 1;
}

class SdlController : public testing::Test {
 protected:
  void SetUp() override {
    joystick.on_rumble = [this](std::uint16_t low, std::uint16_t high, std::uint32_t) {
      rumbles.emplace_back(low, high);
    };
    ASSERT_TRUE(joystick.attach());
    root = input.connect();
    ASSERT_TRUE(root);
    device = open_scripted();
    ASSERT_TRUE(device);
  }

  // The scripted joystick among those SDL reports (a machine may have real ones too).
  std::unique_ptr<Controller> open_scripted() {
    for (const ControllerIdentity& listed : root->list(false)) {
      auto opened = open(listed.id);
      if (opened && opened->product_name() == "Padwire scripted joystick") {
        scripted_id = listed.id;
        return opened;
      }
    }
    return nullptr;
  }
  std::unique_ptr<Controller> open(const std::string& id) {
    ControllerIdentity identity;
    identity.id = id;
    return root->open(identity, 0, ControllerAccess::exclusive);
  }
  // The scripted joystick as listed (with the standard layout or without), opened.
  std::unique_ptr<Controller> open_listed(bool standard_layout, ControllerIdentity& listed) {
    for (const ControllerIdentity& identity : root->list(standard_layout)) {
      if (identity.vendor != 0x045E && identity.vendor != 0x054C) continue;
      listed = identity;
      return root->open(identity, 0, ControllerAccess::exclusive);
    }
    return nullptr;
  }
  void apply(const std::string& line) {
    std::string error;
    EXPECT_TRUE(joystick.apply(line, error)) << line << ": " << error;
  }

  JoyState2 state_after(const std::string& line) {
    std::string error;
    EXPECT_TRUE(joystick.apply(line, error)) << line << ": " << error;
    ControllerReading reading;
    EXPECT_TRUE(device->poll());
    EXPECT_TRUE(device->read(reading));
    return reading.record;
  }

  ScriptedJoystick joystick;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> rumbles;
  SdlInput input;
  std::unique_ptr<ControllerList> root;
  std::unique_ptr<Controller> device;
  std::string scripted_id;
};

TEST_F(SdlController, MapsAxesButtonsAndHatsOntoTheJoystick2Record) {
  EXPECT_EQ(device->kind(), ControllerKind::by_number);
  EXPECT_TRUE(device->acquire());
  EXPECT_EQ(device->button_count(), 12);
  EXPECT_EQ(input.change_fd(), -1);  // a virtual joystick has no device node
  // ... unless given the joystick's change signal, readable after a line until drained.
  input.use_change_signal(joystick.change_signal());
  ASSERT_EQ(input.change_fd(), joystick.change_signal());
  EXPECT_FALSE(readable(input.change_fd()));
  state_after("button 1 0");
  EXPECT_TRUE(readable(input.change_fd()));
  input.drain_change_fd();
  EXPECT_FALSE(readable(input.change_fd()));

  const JoyState2 rest = state_after("axis 0 0");
  for (std::int32_t axis : {rest.lX, rest.lY, rest.lZ, rest.lRx, rest.lRy, rest.lRz,
                            rest.rglSlider[0], rest.rglSlider[1]}) {
    EXPECT_EQ(axis, kAxisCentre);
  }
  for (std::uint32_t pov : rest.rgdwPOV) EXPECT_EQ(pov, 0xFFFFFFFFu);
  EXPECT_EQ(rest.rgbButtons[0], 0);

  struct Case {
    const char* line;
    std::int32_t JoyState2::*axis;
    std::int32_t value;
  };
  const Case axes[] = {
      {"axis 0 -32768", &JoyState2::lX, 0},  {"axis 1 32767", &JoyState2::lY, 65535},
      {"axis 2 -1", &JoyState2::lZ, 32767},  {"axis 3 1", &JoyState2::lRx, 32769},
      {"axis 4 -32768", &JoyState2::lRy, 0}, {"axis 5 32767", &JoyState2::lRz, 65535}};
  for (const Case& c : axes) EXPECT_EQ(state_after(c.line).*c.axis, c.value) << c.line;

  EXPECT_EQ(state_after("button 11 1").rgbButtons[11], 128);
  EXPECT_EQ(state_after("button 11 0").rgbButtons[11], 0);

  // SDL_HAT_* bits: 1 up, 2 right, 4 down, 8 left; opposite directions cancel out.
  const std::pair<const char*, std::uint32_t> hats[] = {
      {"hat 0 1", 0},          {"hat 0 3", 4500},      {"hat 0 2", 9000},  {"hat 0 6", 13500},
      {"hat 0 4", 18000},      {"hat 0 12", 22500},    {"hat 0 8", 27000}, {"hat 0 9", 31500},
      {"hat 0 5", 0xFFFFFFFF}, {"hat 0 0", 0xFFFFFFFF}};
  for (const auto& [line, pov] : hats) EXPECT_EQ(state_after(line).rgdwPOV[0], pov) << line;
}

TEST_F(SdlController, AnUnpluggedJoystickIsGoneForGoodAndItsReturnIsReported) {
  input.pump();  // the arrival of the scripted joystick
  EXPECT_FALSE(input.pump());
  std::string error;
  ASSERT_TRUE(joystick.apply("unplug", error)) << error;
  EXPECT_FALSE(device->poll());
  ControllerReading reading;
  EXPECT_FALSE(device->read(reading));
  EXPECT_TRUE(device->unplugged());
  EXPECT_FALSE(input.pump());
  EXPECT_FALSE(open(scripted_id));

  ASSERT_TRUE(joystick.apply("plug", error)) << error;
  EXPECT_TRUE(input.pump());
  EXPECT_TRUE(device->unplugged());
  const std::string old_id = scripted_id;
  ASSERT_TRUE(open_scripted());
  EXPECT_NE(scripted_id, old_id);
}

TEST_F(SdlController, XboxAndPlayStationPadsReadAsStandardPads) {
  using Pad = StandardPad;
  struct Case {
    const char* xbox;
    const char* playstation;
    void (*change)(Pad&);
  };
  // Each line changes the pad further (the bottom face button, a trigger and the D-pad's up also
  // have their keys checked end to end).
  const Case cases[] = {
      {"button 2 1", "button 2 1", [](Pad& p) { p.buttons[Pad::west] = true; }},
      {"button 5 1", "button 10 1", [](Pad& p) { p.buttons[Pad::right_shoulder] = true; }},
      {"button 6 1", "button 4 1", [](Pad& p) { p.buttons[Pad::back] = true; }},
      {"button 7 1", "button 6 1", [](Pad& p) { p.buttons[Pad::start] = true; }},
      {"button 9 1", "button 7 1", [](Pad& p) { p.buttons[Pad::left_stick] = true; }},
      {"hat 0 1", "button 11 1", [](Pad& p) { p.buttons[Pad::dpad_up] = true; }},
      {"hat 0 9", "button 13 1", [](Pad& p) { p.buttons[Pad::dpad_left] = true; }},
      {"axis 2 32767", "axis 4 32767", [](Pad& p) { p.left_trigger = 65535; }},
      {"axis 5 32767", "axis 5 32767", [](Pad& p) { p.right_trigger = 65535; }},
      {"axis 0 -32768", "axis 0 -32768", [](Pad& p) { p.left_x = 0; }},
      {"axis 1 32767", "axis 1 32767", [](Pad& p) { p.left_y = 65535; }},
      {"axis 4 -1", "axis 3 -1", [](Pad& p) { p.right_y = 32767; }},
  };
  for (const char* kind : {"xbox", "playstation"}) {
    SCOPED_TRACE(kind);
    const bool xbox = kind[0] == 'x';
    apply("unplug");
    apply(std::string("plug ") + kind);
    ControllerIdentity listed;
    ASSERT_TRUE(open_listed(false, listed));
    EXPECT_EQ(listed.kind, ControllerKind::by_number);
    auto pad = open_listed(true, listed);
    ASSERT_TRUE(pad);
    EXPECT_EQ(listed.kind, ControllerKind::standard);
    EXPECT_EQ(listed.name, xbox ? "Xbox 360 Controller" : "PS4 Controller");
    EXPECT_EQ(listed.product, xbox ? 0x028E : 0x09CC);
    EXPECT_EQ(pad->kind(), ControllerKind::standard);
    EXPECT_EQ(pad->button_count(), std::nullopt);
    ControllerReading reading;
    ASSERT_TRUE(pad->poll() && pad->read(reading));
    Pad expected;
    EXPECT_EQ(reading.pad, expected) << "at rest";
    for (const Case& c : cases) {
      const char* line = xbox ? c.xbox : c.playstation;
      apply(line);
      c.change(expected);
      ASSERT_TRUE(pad->poll() && pad->read(reading));
      EXPECT_EQ(reading.pad, expected) << line;
    }
  }
}

// A joystick SDL does not know as a game controller becomes one with the user's mapping.
TEST(SdlMappings, TheUsersMappingMakesAJoystickAStandardPad) {
  ScriptedJoystick joystick;
  ASSERT_TRUE(joystick.attach(ScriptedPad::unmapped));
  int index = 0;
  while (index < SDL_NumJoysticks() && SDL_JoystickGetDeviceVendor(index) != 0x1209) ++index;
  char guid[33];
  SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
  SdlInput input({std::string(guid) + ",My Pad,a:b3,leftx:a0,lefty:a1,platform:Linux,"});
  const auto root = input.connect();
  ASSERT_TRUE(root);
  const auto listed = root->list(true);
  const auto mine = std::find_if(listed.begin(), listed.end(),
                                 [](const ControllerIdentity& c) { return c.vendor == 0x1209; });
  ASSERT_NE(mine, listed.end());
  EXPECT_EQ(mine->kind, ControllerKind::standard);
  EXPECT_EQ(mine->name, "My Pad");
  const auto pad = root->open(*mine, 0, ControllerAccess::exclusive);
  ASSERT_TRUE(pad);
  std::string error;
  ASSERT_TRUE(joystick.apply("button 3 1", error)) << error;
  ControllerReading reading;
  ASSERT_TRUE(pad->poll() && pad->read(reading));
  EXPECT_TRUE(reading.pad.held(StandardPad::south));
}

TEST_F(SdlController, RumbleRunsAtHalfStrengthUntilStopped) {
  auto effect = device->create_rumble();
  ASSERT_TRUE(effect);
  EXPECT_TRUE(effect->start());
  EXPECT_TRUE(effect->stop());
  using Motors = std::pair<std::uint16_t, std::uint16_t>;
  EXPECT_EQ(rumbles, (std::vector<Motors>{{0x7FFF, 0x7FFF}, {0, 0}}));
}

TEST_F(SdlController, RefusesIdsOfNoJoystickAndScriptLinesItDoesNotKnow) {
  for (const char* id : {"", "{00000000-0000-0000-0000-000000000000", "garbage",
                         "{7FFFFFFF-0000-0000-0000-000000000000}"}) {
    EXPECT_FALSE(open(id)) << id;
  }
  std::string error;
  for (const char* line : {"axis 6 0", "axis 0 32768", "button 0 2", "hat 1 0", "jump", "plug 1"}) {
    EXPECT_FALSE(joystick.apply(line, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

}  // namespace
}  // namespace padwire::sdl
