// The assignment dialog used as a user uses it: open it from the menu, click a pad button,
// press a key, name the set, Save; then the key works, and the named set is taken up by its
// window on a double-click of the tray icon.
#include "end_to_end.h"

namespace padwire::e2e {
namespace {

namespace test = win32::test;

constexpr const wchar_t* kSetName = L"Recorder Game";
constexpr const wchar_t* kInstructions =
    L"Click on a button and press the key on the keyboard that you want to assign to it.";

TEST_F(EndToEnd, AKeyAssignedInTheDialogIsSavedUsedAndFollowsItsWindow) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(choose(main, menu::kConfigureJoypad));
  const HWND dialog = processes_.wait_for_window(padwire_.dwProcessId, L"PadwireJoyConfig");
  ASSERT_NE(dialog, nullptr) << "no assignment dialog";
  ASSERT_TRUE(test::pump_until([&] { return IsWindowVisible(dialog); }));
  SetForegroundWindow(dialog);
  test::pump_for(200);
  const HWND a_button = GetDlgItem(dialog, 100 + 3);
  const HWND label = GetDlgItem(dialog, 200);
  const HWND save = GetDlgItem(dialog, 201);
  const HWND names = GetDlgItem(dialog, 203);
  ASSERT_TRUE(a_button && label && save && names);

  // Every letter, K last, is only bound: none presses a control ("S" would save and close
  // through "&Save") and nothing is stored before Save.
  const std::wstring stored = test::registry_value(L"Custom", L"3");
  const std::wstring letters = L"ABCDEFGHIJKLMNOPQRSTUVWXYZK";
  for (wchar_t letter : letters) {
    SCOPED_TRACE(test::narrow(std::wstring(1, letter)));
    test::pump_for(static_cast<int>(GetDoubleClickTime()));  // a click, not a double-click
    test::click(a_button);
    ASSERT_TRUE(test::pump_until([&] {
      return test::text_of(label) ==
             L"Press the key on the KEYBOARD to be assigned to the joypad button A (1)";
    })) << test::narrow(test::text_of(label));
    test::press(static_cast<BYTE>(letter));
    ASSERT_TRUE(test::pump_until([&] { return test::text_of(label) == kInstructions; }));
    ASSERT_TRUE(IsWindow(dialog)) << "the key closed the dialog";
  }
  test::pump_for(200);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(test::registry_value(L"Custom", L"3"), stored);

  // The set's name replaces "Custom" in the list's text field.
  test::click(names);
  test::press(VK_END);
  keybd_event(VK_SHIFT, 0, 0, 0);
  test::press(VK_HOME);
  keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
  test::type_text(kSetName);
  ASSERT_TRUE(test::pump_until([&] { return test::text_of(names) == kSetName; }))
      << test::narrow(test::text_of(names));
  test::click(save);
  ASSERT_TRUE(test::pump_until([&] { return !IsWindow(dialog); })) << "Save did not close it";

  EXPECT_EQ(test::registry_value(L"Custom", L"3"), L"75");
  EXPECT_EQ(test::registry_value(L"Names", L"1"), kSetName);
  EXPECT_EQ(test::registry_value(kSetName, L"3"), L"75");
  EXPECT_EQ(test::registry_value(kSetName, L"7"), L"83") << "the rest of the set came along";
  EXPECT_EQ(test::registry_value(L"Custom", L"Last"), L"3");

  // The main form runs the new key at once.
  ASSERT_TRUE(game.take_focus());
  EXPECT_TRUE(tap(pad::kA, game, 'K')) << describe(game.keys());

  // Back to VGS, then the set's window appears: a double-click on the icon activates it,
  // sends it Enter and gives it the set's keys, as an MS-DOS program.
  ASSERT_TRUE(choose(main, menu::kVgs));
  ASSERT_TRUE(game.take_focus());
  EXPECT_TRUE(tap(pad::kA, game, 'J'));
  RecorderWindow named(kSetName, {520, 100, 900, 400});
  ASSERT_TRUE(game.take_focus());
  PostMessageW(main, test::kTrayCallback, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(test::pump_until([&] { return GetForegroundWindow() == named.handle(); }))
      << "the set's window was not activated";
  EXPECT_TRUE(wait_for_keys(named, VK_RETURN, 2)) << describe(named.keys());
  ASSERT_TRUE(named.take_focus());
  ASSERT_TRUE(tap(pad::kA, named, 'K')) << describe(named.keys());
  const UINT k_scan = MapVirtualKeyW('K', MAPVK_VK_TO_VSC);
  EXPECT_EQ(key_records(named, 'K'),
            (std::vector<InputRecord>{key_down('K', k_scan), key_up('K', k_scan)}));
  EXPECT_TRUE(exit_from_menu(main));
}

}  // namespace
}  // namespace padwire::e2e
