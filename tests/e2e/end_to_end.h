// The fixture of the end-to-end tests: padwire.exe with the scripted dinput8.dll and
// xinput1_4.dll in the system folder, a scripted controller, a window the user works in, and
// the ways a user meets the program (the tray menu, the pad, the keyboard, the mouse).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "padwire_process.h"
#include "scripted_pad.h"
#include "test_support.h"

namespace padwire::e2e {

using win32::test::describe;
using win32::test::InputRecord;
using win32::test::RecorderWindow;

// Positions of the items in the tray menu, as the number of Down presses that reach them.
namespace menu {
inline constexpr int kConfigureJoypad = 2;
inline constexpr int kUseMAsSelect = 4;
inline constexpr int kAllowAutoFire = 5;
inline constexpr int kDeadZone = 7;
inline constexpr int kHatDirections = 8;
inline constexpr int kStartAtLogin = 11;
inline constexpr int kDosApplication = 13;
inline constexpr int kSnes9x = 14;
inline constexpr int kVgs = 15;
}  // namespace menu

// Pad buttons as the controller numbers them.
namespace pad {
inline constexpr int kA = 0, kB = 1, kC = 2, kX = 3, kR = 7, kStart = 8, kM = 9;
}

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override;

  // Starts padwire.exe and waits for its tray icon; the main window, or null.
  HWND launch();
  // launch(), then the game in front and pad A held until its key went down there.
  HWND launch_holding_a(RecorderWindow& game);
  // Waits until the program has created more than `creates` devices (the look for a
  // controller runs every 2 seconds).
  bool device_created_after(int creates);
  // Chooses the item `downs` places down the tray menu of `main` (Enter), or a key.
  bool choose(HWND main, int downs);
  bool choose_key(HWND main, BYTE key);
  // Exit from the tray menu: true when the process ended with code 0 and took its icon.
  bool exit_from_menu(HWND main);
  // The program ends by itself: true when it ended with code 0 and took its icon.
  bool ended(HWND main);
  // Unchecks "Use M button as Select" (checked on a first run), so that M is the modifier of
  // the combinations; true once the option is stored.
  bool make_m_a_modifier(HWND main);

  // Waits until the window holds at least `count` key records of virtual key `vk`.
  bool wait_for_keys(const RecorderWindow& window, UINT vk, std::size_t count,
                     int timeout_ms = 3000);
  // The pad button pressed and released; true when the window then saw `vk` go down and up.
  bool tap(int button, RecorderWindow& window, UINT vk);

  win32::test::TempFolder folder_;
  // The scripted dinput8.dll where the system's is; a test may take it away before launching.
  std::optional<win32::test::SystemDll> system_dll_;
  // The scripted xinput1_4.dll likewise: no pad in its slots unless the script says so.
  std::optional<win32::test::SystemDll> xinput_dll_;
  ScriptedPad pad_{folder_.path()};
  std::wstring exe_ = win32::test::environment(L"PADWIRE_EXE");
  win32::test::PadwireProcesses processes_{exe_};
  PROCESS_INFORMATION padwire_{};
};

// The key records of one virtual key, in the order they arrived.
std::vector<InputRecord> key_records(const RecorderWindow& window, UINT vk);
InputRecord key_down(UINT vk, UINT scan = 0);
InputRecord key_up(UINT vk, UINT scan = 0);

}  // namespace padwire::e2e
