// The program's life with a controller: a second instance, "Start at Login", Exit, DirectInput
// refusing to start,
// no controller at all, one that must be polled, the controller lost and back, unplugged and
// back, and plugged in late.
#include "end_to_end.h"
// dbt.h needs the declarations of windows.h, which end_to_end.h includes, before it.
#include <dbt.h>

#include <algorithm>

namespace padwire::e2e {
namespace {

namespace test = win32::test;

// The user's Run value that "Start at Login" writes; "" when there is none.
std::wstring run_value() {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                   L"Padwire", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return L"";
  }
  return data;
}

TEST_F(EndToEnd, ASecondInstanceEndsAtOnceAndExitRemovesTheIcon) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  const PROCESS_INFORMATION second = processes_.start();
  DWORD code = 99;
  ASSERT_TRUE(processes_.ends(second, code)) << "the second instance keeps running";
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(test::window_of(second.dwProcessId, test::kMainWindowClass), nullptr);
  // The first one still translates.
  ASSERT_TRUE(game.take_focus());
  EXPECT_TRUE(tap(pad::kA, game, 'J'));
  // "Start at Login" writes the Run value that starts this padwire.exe with --login; chosen
  // again (checked now, as the value names this program) it removes the value.
  std::wstring exe = exe_;
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  ASSERT_TRUE(choose(main, menu::kStartAtLogin));
  EXPECT_TRUE(test::pump_until([&] { return run_value() == L"\"" + exe + L"\" --login"; }))
      << test::narrow(run_value());
  ASSERT_TRUE(choose(main, menu::kStartAtLogin));
  EXPECT_TRUE(test::pump_until([] { return run_value().empty(); }));
  EXPECT_TRUE(exit_from_menu(main));
  EXPECT_GE(pad_.count_in_log("acquire"), 1);
}

// Explorer restarting takes every icon; "TaskbarCreated" brings Padwire's back. A choice from
// the menu opened over the game leaves the game in front, where the pad's keys go.
TEST_F(EndToEnd, TheIconComesBackAfterATaskbarRestartAndTheGameKeepsTheFocus) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(test::lose_icon(main));
  PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(test::pump_until([&] { return test::icon_present(main); })) << "no icon again";

  ASSERT_TRUE(game.take_focus());
  ASSERT_TRUE(make_m_a_modifier(main));
  EXPECT_TRUE(test::pump_until([&] { return GetForegroundWindow() == game.handle(); }))
      << "the foreground stayed with Padwire";
  EXPECT_TRUE(tap(pad::kA, game, 'J')) << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

// The debug window follows the pad, without the focus; closed by the user, it comes back with
// the next change.
TEST_F(EndToEnd, TheDebugWindowFollowsThePadAndComesBackOnceClosed) {
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(game.take_focus());
  const auto debug = [&] { return test::window_of(padwire_.dwProcessId, L"PadwireDebugWindow"); };
  const auto shows = [&](const wchar_t* line) {
    return test::pump_until([&] {
      const HWND window = debug();
      return window && IsWindowVisible(window) &&
             test::text_of(GetWindow(window, GW_CHILD)).find(line) != std::wstring::npos;
    });
  };
  pad_.hold({pad::kB});
  EXPECT_TRUE(shows(L"Button(2)=128\r\n"));
  PostMessageW(debug(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(test::pump_until([&] { return debug() == nullptr; }));
  pad_.hold({});
  EXPECT_TRUE(shows(L"Button(2)=0\r\n"));
  EXPECT_EQ(GetForegroundWindow(), game.handle());
  EXPECT_TRUE(exit_from_menu(main));
}

// Only the system folder's dinput8.dll and xinput1_4.dll are loaded: the scripted ones beside
// padwire.exe are not.
TEST_F(EndToEnd, ADinput8BesideTheProgramIsNotLoaded) {
  system_dll_.reset();
  xinput_dll_.reset();
  HWND main = launch();
  ASSERT_NE(main, nullptr) << "Wine's own DirectInput, with no controller, lets it start";
  test::pump_for(500);
  EXPECT_EQ(pad_.log(), "") << "the scripted controller was used";
  EXPECT_TRUE(exit_from_menu(main));
}

TEST_F(EndToEnd, DirectInputRefusingToStartGivesTheMessageAndNoIcon) {
  pad_.describe("create fail\n");
  const PROCESS_INFORMATION padwire = processes_.start();
  ASSERT_NE(padwire.dwProcessId, 0u);
  const HWND box = processes_.wait_for_window(padwire.dwProcessId, L"#32770");
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(test::text_of(box), L"Padwire");
  EXPECT_EQ(test::message_box_text(box),
            L"Error starting Direct Input, please make sure you have DirectX 7a installed");
  EXPECT_EQ(pad_.count_in_log("create input refused"), 1);
  const HWND main = test::window_of(padwire.dwProcessId, test::kMainWindowClass);
  EXPECT_FALSE(main && test::icon_present(main));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  ASSERT_TRUE(processes_.ends(padwire, code)) << "still running after the message";
  EXPECT_EQ(code, 0u);
}

TEST_F(EndToEnd, WithNoControllerNothingIsTranslated) {
  pad_.describe("device none\n");
  RecorderWindow game(L"Game");
  ASSERT_TRUE(game.take_focus());
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  pad_.hold({pad::kA}, 0, 0);  // a device that is not there presses nothing
  test::pump_for(600);
  EXPECT_TRUE(game.keys().empty()) << describe(game.keys());
  EXPECT_EQ(pad_.count_in_log("create device"), 0);
  EXPECT_TRUE(exit_from_menu(main));
}

// A controller that must be polled signals nothing: the poll timer keeps reading it, also at
// rest, and that is how its presses arrive.
TEST_F(EndToEnd, APolledControllerIsReadOnThePollTimerAlone) {
  pad_.describe("polled yes\n");
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(game.take_focus());
  const int polls = pad_.count_in_log("poll");
  EXPECT_TRUE(test::pump_until([&] { return pad_.count_in_log("poll") >= polls + 20; }))
      << pad_.count_in_log("poll") - polls << " polls at rest";
  EXPECT_EQ(pad_.count_in_log("event notification"), 0);
  EXPECT_TRUE(tap(pad::kA, game, 'J'));
  EXPECT_TRUE(exit_from_menu(main));
}

TEST_F(EndToEnd, PressesTranslateAgainAfterTheControllerIsLostAndBack) {
  RecorderWindow game(L"Game");
  HWND main = launch_holding_a(game);
  ASSERT_NE(main, nullptr);

  // Lost while A is held: every tick acquires again, and once the reads have failed for a
  // quarter of a second the controller is gone for good and A's key comes up.
  pad_.lose(true);
  const int acquires = pad_.count_in_log("acquire");
  pad_.hold({});
  ASSERT_TRUE(wait_for_keys(game, 'J', 2));
  EXPECT_EQ(key_records(game, 'J'), (std::vector<InputRecord>{key_down('J'), key_up('J')}));
  EXPECT_GE(pad_.count_in_log("acquire"), acquires + 2) << "the device is not acquired again";

  // Back: the look for a controller (every 2 seconds) opens it again, and presses translate.
  const int creates = pad_.count_in_log("create device");
  pad_.lose(false);
  ASSERT_TRUE(device_created_after(creates));
  EXPECT_TRUE(tap(pad::kA, game, 'J'));
  EXPECT_TRUE(tap(pad::kB, game, 'K'));
  EXPECT_TRUE(exit_from_menu(main));
}

// Unplugged while A is held: the device is dropped at the first failed read, not after a
// quarter second of failures, and A's key comes up. Plugged back, a new device is opened.
TEST_F(EndToEnd, AnUnpluggedControllerLetsGoAndWorksAgainOncePluggedBack) {
  RecorderWindow game(L"Game");
  HWND main = launch_holding_a(game);
  ASSERT_NE(main, nullptr);

  const int acquires = pad_.count_in_log("acquire");
  pad_.plug(false);
  ASSERT_TRUE(wait_for_keys(game, 'J', 2));
  EXPECT_EQ(key_records(game, 'J'), (std::vector<InputRecord>{key_down('J'), key_up('J')}));
  test::pump_for(300);
  EXPECT_LE(pad_.count_in_log("acquire"), acquires + 1) << "the unplugged device is kept";

  const int creates = pad_.count_in_log("create device");
  pad_.hold({});
  pad_.plug(true);
  PostMessageW(main, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  ASSERT_TRUE(device_created_after(creates));
  EXPECT_TRUE(tap(pad::kA, game, 'J')) << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

// No pad at start-up, only one the system remembers but that is not attached (listed first
// among all devices). The pad plugged in 3 seconds later is found by the look every 2 seconds
// and works without a restart.
TEST_F(EndToEnd, AControllerPluggedInAfterStartUpWorks) {
  pad_.describe("name Scripted Pad\nbuttons 10\nphantom yes\n");
  pad_.plug(false);
  RecorderWindow game(L"Game");
  HWND main = launch();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(game.take_focus());
  test::pump_for(3000);
  EXPECT_EQ(pad_.count_in_log("create device"), 0);
  EXPECT_GE(pad_.count_in_log("create phantom"), 1);

  pad_.plug(true);
  ASSERT_TRUE(device_created_after(0));
  EXPECT_TRUE(tap(pad::kA, game, 'J')) << describe(game.keys());
  EXPECT_TRUE(tap(pad::kB, game, 'K')) << describe(game.keys());
  EXPECT_TRUE(exit_from_menu(main));
}

}  // namespace
}  // namespace padwire::e2e
