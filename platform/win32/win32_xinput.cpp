#include "platform/win32/win32_xinput.h"

#include <algorithm>
#include <utility>

namespace padwire::win32 {

namespace {

// Half of each motor's full speed.
constexpr WORD kHalfSpeed = 32768;

std::int32_t stick(std::int32_t value) {
  return std::clamp(value, 0, 65535);
}

class XInputRumble final : public Rumble {
 public:
  XInputRumble(std::shared_ptr<const XInput> xinput, DWORD slot)
      : xinput_(std::move(xinput)), slot_(slot) {}
  bool start() override { return set(kHalfSpeed); }
  bool stop() override { return set(0); }

 private:
  bool set(WORD speed) {
    XINPUT_VIBRATION motors{speed, speed};
    return xinput_->set_state(slot_, motors) == ERROR_SUCCESS;
  }
  std::shared_ptr<const XInput> xinput_;
  DWORD slot_;
};

class XInputController final : public Controller {
 public:
  XInputController(std::shared_ptr<const XInput> xinput, DWORD slot, std::string name,
                   std::unique_ptr<Controller> signal)
      : xinput_(std::move(xinput)),
        slot_(slot),
        name_(std::move(name)),
        signal_(std::move(signal)) {}

  ControllerKind kind() const override { return ControllerKind::standard; }
  // XInput needs no taking; the view that signals changes does.
  bool acquire() override {
    if (signal_) signal_->acquire();
    return !unplugged_;
  }
  bool release() override {
    if (signal_) signal_->release();
    return true;
  }
  // XInput needs no polling; the view is asked so that a view that lost its device (which
  // signals the loss) is taken again and goes on signalling.
  bool poll() override {
    if (signal_ && !signal_->poll()) signal_->acquire();
    return !unplugged_;
  }
  bool read(ControllerReading& reading) override {
    XINPUT_STATE state{};
    const DWORD result = xinput_->get_state(slot_, state);
    if (result == ERROR_DEVICE_NOT_CONNECTED) unplugged_ = true;
    if (result != ERROR_SUCCESS) return false;
    reading.pad = standard_pad_from_xinput(state.Gamepad);
    return true;
  }
  std::optional<int> button_count() override { return std::nullopt; }
  std::optional<std::string> product_name() override { return name_; }
  std::unique_ptr<Rumble> create_rumble() override {
    return std::make_unique<XInputRumble>(xinput_, slot_);
  }
  bool unplugged() override { return unplugged_; }

 private:
  std::shared_ptr<const XInput> xinput_;  // keeps the library loaded
  DWORD slot_;
  std::string name_;
  std::unique_ptr<Controller> signal_;
  bool unplugged_ = false;
};

}  // namespace

StandardPad standard_pad_from_xinput(const XINPUT_GAMEPAD& gamepad) {
  static constexpr std::pair<WORD, StandardPad::Button> kButtons[] = {
      {XINPUT_GAMEPAD_A, StandardPad::south},
      {XINPUT_GAMEPAD_B, StandardPad::east},
      {XINPUT_GAMEPAD_X, StandardPad::west},
      {XINPUT_GAMEPAD_Y, StandardPad::north},
      {XINPUT_GAMEPAD_LEFT_SHOULDER, StandardPad::left_shoulder},
      {XINPUT_GAMEPAD_RIGHT_SHOULDER, StandardPad::right_shoulder},
      {XINPUT_GAMEPAD_BACK, StandardPad::back},
      {XINPUT_GAMEPAD_START, StandardPad::start},
      {XINPUT_GAMEPAD_LEFT_THUMB, StandardPad::left_stick},
      {XINPUT_GAMEPAD_RIGHT_THUMB, StandardPad::right_stick},
      {XINPUT_GAMEPAD_DPAD_UP, StandardPad::dpad_up},
      {XINPUT_GAMEPAD_DPAD_DOWN, StandardPad::dpad_down},
      {XINPUT_GAMEPAD_DPAD_LEFT, StandardPad::dpad_left},
      {XINPUT_GAMEPAD_DPAD_RIGHT, StandardPad::dpad_right},
  };
  StandardPad pad;
  for (const auto& [mask, button] : kButtons) pad.buttons[button] = (gamepad.wButtons & mask) != 0;
  // XInput's y grows upwards; its centre, 0, lands on 32768 either way.
  pad.left_x = stick(gamepad.sThumbLX + kAxisCentre);
  pad.left_y = stick(kAxisCentre - gamepad.sThumbLY);
  pad.right_x = stick(gamepad.sThumbRX + kAxisCentre);
  pad.right_y = stick(kAxisCentre - gamepad.sThumbRY);
  pad.left_trigger = gamepad.bLeftTrigger * 257;  // 255 * 257 = 65535
  pad.right_trigger = gamepad.bRightTrigger * 257;
  return pad;
}

XInput::XInput(Library library, GetState get, SetState set)
    : library_(std::move(library)), get_state_(get), set_state_(set) {}

std::shared_ptr<const XInput> XInput::load(const std::vector<std::wstring>& libraries) {
  for (const std::wstring& name : libraries) {
    Library library(LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    const auto get = library_function<GetState>(library.get(), "XInputGetState");
    const auto set = library_function<SetState>(library.get(), "XInputSetState");
    if (get && set) return std::make_shared<XInput>(std::move(library), get, set);
  }
  return nullptr;
}

std::vector<int> XInput::connected_slots() const {
  std::vector<int> slots;
  for (DWORD slot = 0; slot < XUSER_MAX_COUNT; ++slot) {
    XINPUT_STATE state{};
    if (get_state(slot, state) == ERROR_SUCCESS) slots.push_back(static_cast<int>(slot));
  }
  return slots;
}

std::unique_ptr<Controller> XInput::open(int slot, std::string name,
                                         std::unique_ptr<Controller> signal) const {
  if (slot < 0 || slot >= static_cast<int>(XUSER_MAX_COUNT)) return nullptr;
  return std::make_unique<XInputController>(shared_from_this(), static_cast<DWORD>(slot),
                                            std::move(name), std::move(signal));
}

std::shared_ptr<const XInput> LazyXInput::get() {
  if (!tried_) loaded_ = XInput::load(libraries_);
  tried_ = true;
  return loaded_;
}

}  // namespace padwire::win32
