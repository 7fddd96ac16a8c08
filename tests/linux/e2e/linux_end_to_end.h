// The fixture of the Linux program's end-to-end tests: padwire_scripted on a private desktop
// (one per test process), a window the user works in, and the ways a user meets the program
// (the tray menu, the pad, the keyboard).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "recorder.h"
#include "scripted_padwire.h"
#include "x_desktop.h"
#include "x_session.h"

namespace padwire::e2e {

// Positions of the items in the tray menu, as the number of Down presses that reach them.
namespace menu {
inline constexpr int kConfigureJoypad = 2;
inline constexpr int kUseMAsSelect = 4;
inline constexpr int kDeadZone = 7;
inline constexpr int kHatDirections = 8;
inline constexpr int kStartAtLogin = 11;
inline constexpr int kSnes9x = 14;
inline constexpr int kVgs = 15;
}  // namespace menu

// Pad buttons as the controller numbers them; SDL's hat bits.
namespace pad {
inline constexpr int kA = 0, kB = 1, kM = 9;
inline constexpr int kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;
}  // namespace pad

class LinuxEndToEnd : public testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  static XSession& session() { return *session_; }

  // Starts the program and waits for its tray icon.
  bool launch();
  // A right click on the tray icon; true once its menu is open.
  bool open_menu();
  // Chooses the item `downs` places down the tray menu.
  bool choose(int downs);
  // Exit from the tray menu: true when the program ended with status 0.
  bool exit_from_menu();
  // Gives `window` the focus, as a click on it would.
  bool take_focus(const Recorder& window);

  // Waits until the window holds at least `count` records of `keysym`.
  bool wait_for_keys(const Recorder& window, unsigned long keysym, std::size_t count,
                     int timeout_ms = 3000);
  // The pad button pressed and released; true when the window saw `keysym` go down and up once.
  bool tap(int button, const Recorder& window, unsigned long keysym);
  // A value in the settings file ("" when absent).
  std::string stored(const std::string& section, const std::string& key);

  static std::unique_ptr<XSession> session_;
  std::unique_ptr<XDesktop> desktop_;
  std::unique_ptr<ScriptedPadwire> padwire_;
};

}  // namespace padwire::e2e
