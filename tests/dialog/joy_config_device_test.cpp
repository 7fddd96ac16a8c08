// The dialog's own controller device: how it is set up at each load, seen through a recording
// layer over the simulated controller service.
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

class RecordingDevice : public Controller {
 public:
  RecordingDevice(std::unique_ptr<Controller> inner, Calls& calls)
      : inner_(std::move(inner)), calls_(calls) {}
  ControllerKind kind() const override { return inner_->kind(); }
  bool acquire() override {
    calls_.push_back("acquire");
    return inner_->acquire();
  }
  bool release() override {
    calls_.push_back("release");
    return inner_->release();
  }
  bool poll() override { return inner_->poll(); }
  bool read(ControllerReading& reading) override { return inner_->read(reading); }
  std::optional<int> button_count() override {
    calls_.push_back("count");
    return inner_->button_count();
  }
  std::optional<std::string> product_name() override { return inner_->product_name(); }
  std::unique_ptr<Rumble> create_rumble() override { return inner_->create_rumble(); }
  bool unplugged() override { return inner_->unplugged(); }

 private:
  std::unique_ptr<Controller> inner_;
  Calls& calls_;
};

class RecordingList : public ControllerList {
 public:
  RecordingList(std::unique_ptr<ControllerList> inner, Calls& calls)
      : inner_(std::move(inner)), calls_(calls) {}
  std::vector<ControllerIdentity> list(bool standard_layout) override {
    calls_.push_back(standard_layout ? "list standard" : "list by number");
    return inner_->list(standard_layout);
  }
  std::unique_ptr<Controller> open(const ControllerIdentity& controller, WindowHandle window,
                                   ControllerAccess access) override {
    calls_.push_back("open " + std::to_string(window) +
                     (access == ControllerAccess::shared ? " shared" : " exclusive"));
    auto device = inner_->open(controller, window, access);
    if (!device) return nullptr;
    return std::make_unique<RecordingDevice>(std::move(device), calls_);
  }

 private:
  std::unique_ptr<ControllerList> inner_;
  Calls& calls_;
};

class RecordingInput : public ControllerService {
 public:
  RecordingInput(ControllerService& inner, Calls& calls) : inner_(inner), calls_(calls) {}
  std::unique_ptr<ControllerList> connect() override {
    calls_.push_back("connect");
    auto list = inner_.connect();
    if (!list) return nullptr;
    return std::make_unique<RecordingList>(std::move(list), calls_);
  }

 private:
  ControllerService& inner_;
  Calls& calls_;
};

class JoyConfigDevice : public ::testing::Test {
 protected:
  JoyConfigDevice() : recording(s.platform().input, calls), platform(with_recording()) {}
  Platform with_recording() {
    Platform p = s.platform();
    return Platform{recording, p.keyboard,   p.keystrokes, p.mouse,  p.tray,       p.settings,
                    p.desktop, p.screenshot, p.clock,      p.random, p.main_timer, p.views};
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
  const Calls expected = {"connect", "list standard", "open " + window + " shared", "count"};
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
  EXPECT_EQ(calls, (Calls{"connect", "list standard"}));
  EXPECT_FALSE(dialog.device_open());
  EXPECT_EQ(dialog.LastButtonIndex, 5);
}

}  // namespace
}  // namespace padwire
