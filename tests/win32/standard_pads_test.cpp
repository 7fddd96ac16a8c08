// Pads read as standard pads: an Xbox pad through a scripted xinput1_4.dll in the system
// folder (with the scripted dinput8.dll, its DirectInput view), and the known pads'
// DirectInput records by their layouts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/win32/win32_input.h"
#include "platform/win32/win32_known_pads.h"
#include "platform/win32/win32_xinput.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

class XInputPad : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring dll = test::environment(L"PADWIRE_FAKE_XINPUT");
    if (dll.empty()) GTEST_SKIP() << "PADWIRE_FAKE_XINPUT names no scripted xinput1_4.dll";
    system_dll_.emplace(dll, L"xinput1_4.dll");
    view_dll_.emplace(test::environment(L"PADWIRE_FAKE_DINPUT8"), L"dinput8.dll");
    ASSERT_TRUE(system_dll_->installed() && view_dll_->installed())
        << "cannot put the scripted DLLs in the system folder";
    SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD", script_.c_str());
    SetEnvironmentVariableW(L"PADWIRE_FAKE_PAD_LOG", log_.c_str());
  }
  void write_script(const std::string& lines) {
    Sleep(20);  // a new modification time, which is how the DLL notices a change
    std::ofstream(std::filesystem::path(script_), std::ios::trunc) << lines;
  }
  std::string log() const {
    const std::vector<unsigned char> bytes = test::read_file(log_);
    std::string text(bytes.begin(), bytes.end());
    std::erase(text, '\r');
    return text;
  }

  test::TempFolder folder_;
  const std::wstring script_ = folder_.file(L"pad.txt");
  const std::wstring log_ = folder_.file(L"pad.log");
  std::optional<test::SystemDll> system_dll_;
  std::optional<test::SystemDll> view_dll_;
};

TEST_F(XInputPad, ReadsAsAStandardPadRumblesBothMotorsAndIsUnpluggedWhenItGoes) {
  write_script("xinput yes\nheld 0,6,7\npov 9000\ntriggers 255 0\nx 0\ny 65535\n");
  const auto xinput = XInput::load();
  ASSERT_NE(xinput, nullptr);
  EXPECT_EQ(xinput->connected_slots(), std::vector<int>{0});
  auto pad = xinput->open(0, "Xbox Controller", nullptr);
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->kind(), ControllerKind::standard);

  ControllerReading reading;
  ASSERT_TRUE(pad->read(reading));
  StandardPad expected;
  for (auto b :
       {StandardPad::south, StandardPad::back, StandardPad::start, StandardPad::dpad_right}) {
    expected.buttons[b] = true;
  }
  expected.left_x = 0;
  expected.left_y = 65535;  // down
  expected.left_trigger = 65535;
  EXPECT_EQ(reading.pad, expected);

  auto rumble = pad->create_rumble();
  ASSERT_NE(rumble, nullptr);
  EXPECT_TRUE(rumble->start());
  EXPECT_TRUE(rumble->stop());
  EXPECT_NE(log().find("xinput motors 32768 32768\nxinput motors 0 0\n"), std::string::npos)
      << log();

  write_script("xinput yes\ndevice unplugged\n");
  EXPECT_FALSE(pad->read(reading));
  EXPECT_TRUE(pad->unplugged());
  EXPECT_TRUE(xinput->connected_slots().empty());
  EXPECT_EQ(XInput::load({L"padwire-no-such-xinput.dll"}), nullptr);
}

// Listed with the standard layout, the pad takes the place of its DirectInput view, which is
// opened beside it only to signal its changes; a PlayStation 4 pad is read through
// DirectInput by its layout. Without the standard layout, both are listed by number.
TEST_F(XInputPad, TakesThePlaceOfItsViewWhichSignalsItsChangesAndAKnownPadIsStandard) {
  write_script(
      "name Controller (XBOX 360 For Windows)\nvendor 045E\nproduct 028E\nheld 0\n"
      "xinput yes\n");
  Win32DirectInput input;
  input.signal_changes();
  const auto list = input.connect();
  ASSERT_NE(list, nullptr);
  const std::vector<ControllerIdentity> by_number = list->list(false);
  ASSERT_EQ(by_number.size(), 1u);
  EXPECT_EQ(by_number[0].kind, ControllerKind::by_number);
  const std::vector<ControllerIdentity> standard = list->list(true);
  ASSERT_EQ(standard.size(), 1u);
  EXPECT_EQ(standard[0],
            (ControllerIdentity{"xinput:0:" + by_number[0].id, "Controller (XBOX 360 For Windows)",
                                0x045E, 0x028E, ControllerKind::standard}));

  auto pad = list->open(standard[0], 0, ControllerAccess::exclusive);
  ASSERT_NE(pad, nullptr);
  ControllerReading reading;
  ASSERT_TRUE(pad->read(reading));
  EXPECT_TRUE(reading.pad.held(StandardPad::south));
  EXPECT_TRUE(input.device_signals());
  EXPECT_NE(log().find("cooperative 10\n"), std::string::npos) << log();
  EXPECT_EQ(log().find("cooperative 9\n"), std::string::npos) << "the view was taken\n" << log();

  write_script("name Wireless Controller\nvendor 054C\nproduct 05C4\nheld 1\n");
  const std::vector<ControllerIdentity> dualshock = list->list(true);
  ASSERT_EQ(dualshock.size(), 1u);
  EXPECT_EQ(dualshock[0].kind, ControllerKind::standard);
  EXPECT_EQ(list->list(false)[0].kind, ControllerKind::by_number);
  pad = list->open(dualshock[0], 0, ControllerAccess::exclusive);
  ASSERT_NE(pad, nullptr);
  ASSERT_TRUE(pad->read(reading));
  EXPECT_EQ(pad->kind(), ControllerKind::standard);
  EXPECT_TRUE(reading.pad.held(StandardPad::south)) << "cross is button 1";
}

TEST(KnownPads, DirectInputRecordsOfKnownPadsReadAsStandardPads) {
  EXPECT_EQ(find_known_pad(0x054C, 0x05C4), find_known_pad(0x054C, 0x0DF2));
  EXPECT_EQ(find_known_pad(0x054C, 0x0268), nullptr) << "not every Sony pad";
  EXPECT_EQ(find_known_pad(0x045E, 0x028E), nullptr) << "Xbox pads go through XInput";

  // A DualShock 4: cross and options held, the hat up and right, L2 half way, the right
  // stick's x on Z and its y on Rz.
  JoyState2 record;
  record.rgbButtons[1] = record.rgbButtons[9] = 128;
  record.rgdwPOV[0] = 4500;
  record.lX = 100;
  record.lY = 200;
  record.lZ = 300;
  record.lRx = 32768;
  record.lRz = 400;
  StandardPad expected;
  for (auto b :
       {StandardPad::south, StandardPad::start, StandardPad::dpad_up, StandardPad::dpad_right}) {
    expected.buttons[b] = true;
  }
  expected.left_x = 100;
  expected.left_y = 200;
  expected.right_x = 300;
  expected.right_y = 400;
  expected.left_trigger = 32768;
  EXPECT_EQ(standard_pad_from_record(record, *find_known_pad(0x054C, 0x05C4), {}), expected);

  // A Switch Pro controller whose axes are x, y, Rx and Ry: ZL, a button, pulls the trigger
  // all the way; its B is south; the hat centred in its low word alone holds no direction.
  JoyState2 pro;
  pro.rgbButtons[0] = pro.rgbButtons[6] = 128;
  pro.rgdwPOV[0] = 0xFFFF;
  pro.lX = pro.lY = 32768;
  pro.lRx = 1;
  pro.lRy = 2;
  const StandardPad read =
      standard_pad_from_record(pro, *find_known_pad(0x057E, 0x2009),
                               {record_axis_of_offset(0), record_axis_of_offset(4),
                                record_axis_of_offset(12), record_axis_of_offset(16)});
  EXPECT_TRUE(read.held(StandardPad::south));
  EXPECT_FALSE(read.held(StandardPad::dpad_up));
  EXPECT_EQ(read.left_trigger, 65535);
  EXPECT_EQ(read.right_trigger, 0);
  EXPECT_EQ(read.right_x, 1);
  EXPECT_EQ(read.right_y, 2);
}

}  // namespace
}  // namespace padwire::win32
