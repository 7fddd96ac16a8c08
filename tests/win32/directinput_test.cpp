// DirectInput 8 through a scripted dinput8.dll (the end-to-end tests' controller), put in the
// system folder in place of the system's: the device calls, the state record and the rumble.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/win32/win32_input.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

constexpr const char* kScriptedGuid = "{6F1D2B60-D5A0-11CF-BFC7-444553545001}";
constexpr const char* kPhantomGuid = "{6F1D2B60-D5A0-11CF-BFC7-444553545002}";

std::vector<std::string> ids(const std::vector<ControllerIdentity>& controllers) {
  std::vector<std::string> result;
  for (const ControllerIdentity& c : controllers) result.push_back(c.id);
  return result;
}

std::unique_ptr<Controller> open(ControllerList& list, const std::string& id) {
  ControllerIdentity identity;
  identity.id = id;
  return list.open(identity, 0, ControllerAccess::shared);
}

class DirectInput : public testing::Test {
 protected:
  void SetUp() override {
    dll_ = test::environment(L"PADWIRE_FAKE_DINPUT8");
    if (dll_.empty()) GTEST_SKIP() << "PADWIRE_FAKE_DINPUT8 names no scripted dinput8.dll";
    system_dll_.emplace(dll_, L"dinput8.dll");
    ASSERT_TRUE(system_dll_->installed()) << "cannot put the scripted DLL in the system folder";
    SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD", script_.c_str());
    SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_LOG", log_.c_str());
    write_script("");
  }
  void write_script(const std::string& lines) {
    // A new modification time each time, which is how the DLL notices a change.
    Sleep(20);
    std::ofstream(std::filesystem::path(script_), std::ios::trunc) << lines;
  }
  std::string log() const {
    std::string text;
    for (unsigned char c : test::read_file(log_)) {
      if (c != '\r') text.push_back(static_cast<char>(c));  // the DLL writes text mode
    }
    return text;
  }
  std::unique_ptr<Controller> open_device(Win32DirectInput& input, WindowHandle window = 0,
                                          ControllerAccess access = ControllerAccess::exclusive) {
    root_ = input.connect();
    if (!root_) return nullptr;
    const auto controllers = root_->list(false);
    return controllers.empty() ? nullptr : root_->open(controllers.front(), window, access);
  }

  test::TempFolder folder_;
  const std::wstring script_ = folder_.file(L"pad.txt");
  const std::wstring log_ = folder_.file(L"pad.log");
  std::wstring dll_;
  std::optional<test::SystemDll> system_dll_;
  std::unique_ptr<ControllerList> root_;
};

TEST_F(DirectInput, ListsTheJoystickAndOpensItFromItsGuidText) {
  Win32DirectInput input;
  auto root = input.connect();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ids(root->list(true)), std::vector<std::string>{kScriptedGuid});
  EXPECT_EQ(root->list(true).front().kind, ControllerKind::by_number);
  EXPECT_NE(open(*root, kScriptedGuid), nullptr);
  EXPECT_NE(open(*root, "{6f1d2b60-d5a0-11cf-bfc7-444553545001}"), nullptr);
  for (const char* bad :
       {"", "junk", "{6F1D2B60-D5A0-11CF-BFC7-44455354500}",
        "{6F1D2B60-D5A0-11CF-BFC7-4445535450011}", " {6F1D2B60-D5A0-11CF-BFC7-444553545001}",
        "{00000000-0000-0000-0000-000000000000}"}) {
    EXPECT_EQ(open(*root, bad), nullptr) << bad;
  }
}

TEST_F(DirectInput, DeviceCallsReachTheDeviceAndTheStateIsTheJoystick2Record) {
  write_script("name Scripted Pad\nbuttons 12\nx 100\ny 65535\nheld 0,3\n");
  Win32DirectInput input;
  test::RecorderWindow window(L"Cooperative window");
  const auto handle = reinterpret_cast<WindowHandle>(window.handle());
  EXPECT_NE(open_device(input, handle, ControllerAccess::shared), nullptr);
  auto device = open_device(input, handle);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->kind(), ControllerKind::by_number);
  EXPECT_TRUE(device->acquire());
  EXPECT_EQ(device->button_count(), 12);
  EXPECT_EQ(device->product_name(), "Scripted Pad");
  EXPECT_TRUE(device->poll());
  ControllerReading reading;
  ASSERT_TRUE(device->read(reading));
  const JoyState2& state = reading.record;
  EXPECT_EQ(state.lX, 100);
  EXPECT_EQ(state.lY, 65535);
  EXPECT_EQ(state.rgdwPOV[0], 0xFFFFFFFFu);
  EXPECT_EQ(state.rgbButtons[0], 128);
  EXPECT_EQ(state.rgbButtons[1], 0);
  EXPECT_EQ(state.rgbButtons[3], 128);
  EXPECT_TRUE(device->release());
  const std::string calls = log();
  EXPECT_NE(calls.find("cooperative 9"), std::string::npos) << calls;
  EXPECT_NE(calls.find("cooperative 10"), std::string::npos) << calls;
  EXPECT_NE(calls.find("acquire"), std::string::npos) << calls;
  EXPECT_NE(calls.find("unacquire"), std::string::npos) << calls;
}

TEST_F(DirectInput, ALostDeviceFailsItsPollReadAndAcquire) {
  write_script("lost 1\n");
  Win32DirectInput input;
  auto device = open_device(input);
  ASSERT_NE(device, nullptr);
  ControllerReading reading;
  reading.record.lX = 7;
  EXPECT_FALSE(device->poll());
  EXPECT_FALSE(device->read(reading));
  EXPECT_EQ(reading.record.lX, 7) << "a failed read leaves the record alone";
  EXPECT_FALSE(device->acquire());
  EXPECT_FALSE(device->unplugged()) << "lost input while attached may come back";
  write_script("lost 1\ndevice none\n");
  EXPECT_FALSE(device->poll());
  EXPECT_TRUE(device->unplugged()) << "lost input of a device no longer attached";
}

// Attached devices come first; an unplugged device says so and never works again, while a
// new one made once it is back works.
TEST_F(DirectInput, AnUnpluggedDeviceStaysUnpluggedAndAttachedDevicesComeFirst) {
  write_script("phantom yes\n");
  Win32DirectInput input;
  auto root = input.connect();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(ids(root->list(false)), (std::vector<std::string>{kScriptedGuid, kPhantomGuid}));
  auto device = open(*root, kScriptedGuid);
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(device->acquire());
  auto phantom = open(*root, kPhantomGuid);
  ASSERT_NE(phantom, nullptr);
  EXPECT_FALSE(phantom->acquire());
  EXPECT_TRUE(phantom->unplugged());

  write_script("phantom yes\ndevice unplugged\n");
  EXPECT_EQ(ids(root->list(false)), std::vector<std::string>{kPhantomGuid});
  EXPECT_FALSE(device->unplugged()) << "nothing failed yet";
  ControllerReading reading;
  EXPECT_FALSE(device->read(reading));
  EXPECT_TRUE(device->unplugged());

  write_script("phantom yes\n");
  EXPECT_FALSE(device->acquire()) << "the old device object came back to life";
  auto again = open(*root, kScriptedGuid);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->acquire());
  EXPECT_TRUE(again->read(reading));
  EXPECT_FALSE(again->unplugged());
}

TEST_F(DirectInput, TheConstantForceStartsInfinitelyAloneAndStops) {
  write_script("effects yes\n");
  Win32DirectInput input;
  auto device = open_device(input);
  ASSERT_NE(device, nullptr);
  auto effect = device->create_rumble();
  ASSERT_NE(effect, nullptr);
  EXPECT_TRUE(effect->start());
  EXPECT_TRUE(effect->stop());
  const std::string calls = log();
  EXPECT_NE(calls.find("effect create\neffect download\neffect start -1 1\neffect stop"),
            std::string::npos)
      << calls;
}

TEST_F(DirectInput, ADeviceWithoutForceFeedbackGetsNoEffect) {
  write_script("effects no\n");
  Win32DirectInput input;
  auto device = open_device(input);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->create_rumble(), nullptr);
}

TEST_F(DirectInput, NoDeviceAndRefusedOrMissingDirectInput) {
  write_script("device none\n");
  Win32DirectInput input;
  auto root = input.connect();
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(root->list(false).empty());
  EXPECT_EQ(open(*root, kScriptedGuid), nullptr);
  write_script("create fail\n");
  EXPECT_EQ(input.connect(), nullptr);
  Win32DirectInput missing(L"padwire-no-such-input.dll");
  EXPECT_EQ(missing.connect(), nullptr);
}

}  // namespace
}  // namespace padwire::win32
