// The pad's buttons and directions as keys in the window the user works in, through XTest: the
// digital pad, an analog stick at rest and the hat with both options on, mouse mode; keys let go
// of when the controller goes and when the program is ended, and a controller plugged in again;
// an Xbox and a PlayStation pad read as standard pads.
#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>

#include "linux_end_to_end.h"
#include "platform/linux/linux_settings_file.h"

namespace padwire::e2e {
namespace {

constexpr int kStickRest = -1;  // an analog stick a step off its centre

TEST_F(LinuxEndToEnd, DigitalPadAnalogStickHatAndMouseModeTypeAndPoint) {
  Recorder game(session().display(), "Game");
  ASSERT_TRUE(launch());
  ASSERT_TRUE(take_focus(game));

  // VGS on a first run: A is J, held over many ticks without repeats; the pad's left is A.
  ASSERT_TRUE(padwire_->button(pad::kA, true));
  ASSERT_TRUE(wait_for_keys(game, XK_j, 1));
  sleep_ms(500);
  ASSERT_TRUE(padwire_->button(pad::kA, false));
  ASSERT_TRUE(wait_for_keys(game, XK_j, 2));
  ASSERT_TRUE(padwire_->axis(0, -32768));
  ASSERT_TRUE(wait_for_keys(game, XK_a, 1));
  ASSERT_TRUE(padwire_->axis(0, 0));
  ASSERT_TRUE(wait_for_keys(game, XK_a, 2));
  sleep_ms(200);
  EXPECT_EQ(game.records(),
            (std::vector<Record>{key_down(XK_j), key_up(XK_j), key_down(XK_a), key_up(XK_a)}))
      << describe(game.records());

  // With both options, a stick resting off centre types nothing and the hat gives directions.
  ASSERT_TRUE(choose(menu::kDeadZone));
  ASSERT_TRUE(choose(menu::kHatDirections));
  ASSERT_TRUE(take_focus(game));
  game.clear();
  ASSERT_TRUE(padwire_->axis(0, kStickRest) && padwire_->axis(1, kStickRest));
  const struct {
    int hat;
    unsigned long keysym;
  } pushes[] = {
      {pad::kHatUp, XK_w}, {pad::kHatRight, XK_d}, {pad::kHatDown, XK_s}, {pad::kHatLeft, XK_a}};
  for (const auto& push : pushes) {
    SCOPED_TRACE(push.hat);
    ASSERT_TRUE(padwire_->hat(push.hat));
    ASSERT_TRUE(wait_for_keys(game, push.keysym, 1)) << describe(game.records());
    ASSERT_TRUE(padwire_->hat(0));
    ASSERT_TRUE(wait_for_keys(game, push.keysym, 2)) << describe(game.records());
  }
  sleep_ms(200);
  EXPECT_EQ(game.records().size(), 8u) << "nothing from the resting stick\n"
                                       << describe(game.records());

  // "Use M button as Select" is checked on a first run: M + B then is Select and B. Unchecked,
  // M + B turns the pad into a mouse: the stick moves the pointer over the game, A clicks.
  ASSERT_TRUE(choose(menu::kUseMAsSelect));
  ASSERT_TRUE(take_focus(game));
  ASSERT_TRUE(padwire_->button(pad::kM, true) && padwire_->button(pad::kB, true));
  ASSERT_TRUE(wait_for_keys(game, XK_Return, 2)) << describe(game.records());
  ASSERT_TRUE(padwire_->button(pad::kB, false) && padwire_->button(pad::kM, false));
  ASSERT_TRUE(padwire_->axis(0, 0) && padwire_->axis(1, 0));
  const std::optional<Rect> area = desktop_->geometry(game.window());
  ASSERT_TRUE(area);
  desktop_->move_pointer(area->x + 20, area->y + 150);
  sleep_ms(100);
  game.clear();
  ASSERT_TRUE(padwire_->axis(0, 32767));
  EXPECT_TRUE(wait_until([&] {
    int x = 0, y = 0;
    desktop_->pointer(x, y);
    return x >= area->x + 200;
  })) << "the pointer did not travel";
  ASSERT_TRUE(padwire_->axis(0, 0));
  EXPECT_GE(game.count(Record::kMotion), 3u);
  ASSERT_TRUE(padwire_->button(pad::kA, true));
  EXPECT_TRUE(wait_until([&] { return game.count(Record::kButtonDown) == 1; }));
  ASSERT_TRUE(padwire_->button(pad::kA, false));
  EXPECT_TRUE(wait_until([&] { return game.count(Record::kButtonUp) == 1; }));
  for (const Record& r : game.records()) {
    if (r.kind == Record::kButtonDown) {
      EXPECT_EQ(r.button, 1u) << "A is the left button";
    }
  }
  EXPECT_TRUE(exit_from_menu());
}

TEST_F(LinuxEndToEnd, KeysComeUpWhenTheControllerGoesAndAtTheEndAndAPlugInIsTakenUp) {
  Recorder game(session().display(), "Game");
  ASSERT_TRUE(launch());
  ASSERT_TRUE(take_focus(game));

  ASSERT_TRUE(padwire_->button(pad::kA, true));
  ASSERT_TRUE(wait_for_keys(game, XK_j, 1));
  ASSERT_TRUE(padwire_->send("unplug"));
  EXPECT_TRUE(wait_for_keys(game, XK_j, 2)) << "the key stayed down\n" << describe(game.records());

  // Plugged in again with A still held: the program finds it within its 2 s look.
  ASSERT_TRUE(padwire_->send("plug"));
  ASSERT_TRUE(padwire_->button(pad::kA, true));
  EXPECT_TRUE(wait_for_keys(game, XK_j, 3, 8000)) << "the controller was not taken up again";

  // SIGTERM (a log-off, a kill) while A is held: the key comes up before the program ends.
  EXPECT_EQ(padwire_->terminate(), 0) << padwire_->log();
  EXPECT_TRUE(wait_for_keys(game, XK_j, 4));
  EXPECT_EQ(game.keys(XK_j),
            (std::vector<Record>{key_down(XK_j), key_up(XK_j), key_down(XK_j), key_up(XK_j)}))
      << describe(game.records());
}

// Through SDL's game controller API, each pad's buttons by their place (VGS: the bottom face
// button is B, K; the left trigger X, 2; the D-pad's up W), its rumble on a press, and a key it
// holds let go of when it is unplugged.
TEST_F(LinuxEndToEnd, XboxAndPlayStationPadsTypeByPlaceRumbleAndLetGoWhenUnplugged) {
  lin::SettingsFile(session().settings_path()).save("Padwire", "Custom", "RumbleType", "1");
  Recorder game(session().display(), "Game");
  ASSERT_TRUE(launch());
  ASSERT_TRUE(take_focus(game));
  const auto rumbles = [&] {
    const std::vector<std::string> lines = padwire_->lines();
    return std::count(lines.begin(), lines.end(), "rumble 32767 32767 0");
  };
  const struct {
    const char* kind;
    const char* trigger;  // its axis
    const char* up;       // the D-pad's up pressed, then released
    const char* up_free;
  } pads[] = {{"xbox", "axis 2 ", "hat 0 1", "hat 0 0"},
              {"playstation", "axis 4 ", "button 11 1", "button 11 0"}};
  for (const auto& pad : pads) {
    SCOPED_TRACE(pad.kind);
    ASSERT_TRUE(padwire_->send("unplug"));
    ASSERT_TRUE(padwire_->send(std::string("plug ") + pad.kind));
    game.clear();
    const auto before = rumbles();
    ASSERT_TRUE(tap(0, game, XK_k));
    EXPECT_EQ(rumbles(), before + 1);
    ASSERT_TRUE(padwire_->send(pad.trigger + std::string("32767")));
    ASSERT_TRUE(wait_for_keys(game, XK_2, 1));
    ASSERT_TRUE(padwire_->send(pad.trigger + std::string("-32768")));
    ASSERT_TRUE(wait_for_keys(game, XK_2, 2));
    ASSERT_TRUE(padwire_->send(pad.up) && wait_for_keys(game, XK_w, 1));
    ASSERT_TRUE(padwire_->send(pad.up_free) && wait_for_keys(game, XK_w, 2));
    ASSERT_TRUE(padwire_->button(0, true) && wait_for_keys(game, XK_k, 3));
    ASSERT_TRUE(padwire_->send("unplug"));
    EXPECT_TRUE(wait_for_keys(game, XK_k, 4)) << "the key stayed down";
    sleep_ms(100);
    EXPECT_EQ(game.records(),
              (std::vector<Record>{key_down(XK_k), key_up(XK_k), key_down(XK_2), key_up(XK_2),
                                   key_down(XK_w), key_up(XK_w), key_down(XK_k), key_up(XK_k)}))
        << describe(game.records());
    ASSERT_TRUE(padwire_->send("plug"));
  }
  EXPECT_TRUE(exit_from_menu());
}

}  // namespace
}  // namespace padwire::e2e
