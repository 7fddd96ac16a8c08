// The dialog's own controller device: how it is set up at each load, seen through a recording
// layer over the simulated DirectInput.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog/form_joy_config.h"
#include "platform/sim/session.h"
#include "shell/form_padwire.h"

namespace padwire {
namespace {

using Calls = std::vector<std::string>;

class RecordingDevice : public ControllerDevice {
 public:
  RecordingDevice(std::unique_ptr<ControllerDevice> inner, Calls& calls)
      : inner_(std::move(inner)), calls_(calls) {}
  bool set_cooperative_level(WindowHandle window, std::uint32_t flags) override {
    calls_.push_back("cooperative " + std::to_string(window) + " " + std::to_string(flags));
    return inner_->set_cooperative_level(window, flags);
  }
  bool set_data_format(int format) override {
    calls_.push_back("format " + std::to_string(format));
    return inner_->set_data_format(format);
  }
  bool acquire() override {
    calls_.push_back("acquire");
    return inner_->acquire();
  }
  bool unacquire() override {
    calls_.push_back("unacquire");
    return inner_->unacquire();
  }
  bool poll() override { return inner_->poll(); }
  bool get_state(JoyState2& state) override { return inner_->get_state(state); }
  std::optional<int> count_objects(std::uint32_t flags) override {
    calls_.push_back("count " + std::to_string(flags));
    return inner_->count_objects(flags);
  }
  std::optional<std::string> product_name() override { return inner_->product_name(); }
  std::unique_ptr<RumbleEffect> create_constant_force(const EffectInfo& info) override {
    return inner_->create_constant_force(info);
  }
  bool unplugged() override { return inner_->unplugged(); }

 private:
  std::unique_ptr<ControllerDevice> inner_;
  Calls& calls_;
};

class RecordingRoot : public InputRoot {
 public:
  RecordingRoot(std::unique_ptr<InputRoot> inner, Calls& calls)
      : inner_(std::move(inner)), calls_(calls) {}
  std::vector<std::string> enumerate_devices(int type, std::uint32_t flags) override {
    calls_.push_back("enumerate " + std::to_string(type) + " " + std::to_string(flags));
    return inner_->enumerate_devices(type, flags);
  }
  std::unique_ptr<ControllerDevice> create_device(const std::string& guid) override {
    calls_.push_back("create");
    auto device = inner_->create_device(guid);
    if (!device) return nullptr;
    return std::make_unique<RecordingDevice>(std::move(device), calls_);
  }

 private:
  std::unique_ptr<InputRoot> inner_;
  Calls& calls_;
};

class RecordingInput : public DirectInputService {
 public:
  RecordingInput(DirectInputService& inner, Calls& calls) : inner_(inner), calls_(calls) {}
  std::unique_ptr<InputRoot> create_input() override {
    calls_.push_back("directinput");
    auto root = inner_.create_input();
    if (!root) return nullptr;
    return std::make_unique<RecordingRoot>(std::move(root), calls_);
  }

 private:
  DirectInputService& inner_;
  Calls& calls_;
};

class JoyConfigDevice : public ::testing::Test {
 protected:
  JoyConfigDevice() : recording(s.platform().input, calls), platform(with_recording()) {}
  Platform with_recording() {
    Platform p = s.platform();
    return Platform{recording,  p.keyboard,   p.keystrokes, p.mouse,      p.tray,
                    p.settings, p.shell,      p.registry,   p.screenshot, p.clock,
                    p.random,   p.main_timer, p.views};
  }
  sim::Session s;
  Calls calls;
  RecordingInput recording;
  Platform platform;
};

TEST_F(JoyConfigDevice, EachLoadOpensASharedDeviceOnTheDialogsOwnWindow) {
  s.run(sim::parse_scenario("controller buttons 14 name Pad\n"));
  FormPadwire main_form(platform);
  FormJoyConfig dialog(platform, main_form);
  const std::string window = std::to_string(platform.views.window_of(View::joy_config));
  const Calls expected = {
      "directinput", "enumerate 4 0", "create",  "cooperative " + window + " 10",
      "format 4",    "acquire",       "count 12"};
  for (int opening = 0; opening < 2; ++opening) {
    SCOPED_TRACE(opening);
    calls.clear();
    dialog.show();
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(dialog.LastButtonIndex, 13);
    calls.clear();
    dialog.close();
    // The close leaves the device as it is; the next load replaces it.
    EXPECT_EQ(calls, Calls{});
  }
}

TEST_F(JoyConfigDevice, WithoutAControllerTheButtonCountOfBeforeStays) {
  s.run(sim::parse_scenario("controller buttons 6 name Pad\n"));
  FormPadwire main_form(platform);
  FormJoyConfig dialog(platform, main_form);
  dialog.show();
  dialog.close();
  s.run(sim::parse_scenario("controller none\n"));
  calls.clear();
  dialog.show();
  EXPECT_EQ(calls, (Calls{"directinput", "enumerate 4 0"}));
  EXPECT_EQ(dialog.PadDevice.device(), nullptr);
  EXPECT_EQ(dialog.LastButtonIndex, 5);
}

}  // namespace
}  // namespace padwire
