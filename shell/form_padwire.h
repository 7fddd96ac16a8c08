// The main form: start-up and shutdown, the tray icon and its menu, the profiles and their key
// tables, and emulator detection. It lives for the whole run and owns the translation engine.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/pad_engine.h"
#include "platform/platform.h"
#include "shell/main_menu.h"

namespace padwire {

inline constexpr const char* kMainCaption = "Padwire 1.6b for DirectX7a";
inline constexpr const char* kTrayByline = " - by the Padwire developers";
inline constexpr const char* kDirectInputStartError =
    "Error starting Direct Input, please make sure you have DirectX 7a installed";
inline constexpr const char* kAboutText =
    "Padwire, written by the Padwire developers, 2000\r\nhttps://padwire.example/";
inline constexpr const char* kAboutAddress = "https://padwire.example/";
inline constexpr const char* kEmulatorTitle = "Connectix Virtual Game Station";

// Tray notifications: the mouse message carried by the callback.
inline constexpr int kWmLButtonDblClk = 515;
inline constexpr int kWmRButtonUp = 517;

class FormPadwire {
 public:
  explicit FormPadwire(Platform& platform);

  // Calls that point at windows the shell does not know; the composition root wires them.
  std::function<void()> show_joy_config;
  std::function<void()> show_force_feedback;

  // `at_login`: the system started the program as the user logged in (--login); everything
  // runs as at any start except emulator detection, as if Shift were held.
  void Form_Load(bool at_login = false);
  // Exit, a close of the window by the system, or the end of the session: everything the pad
  // holds down is released first, then the icon and the controller.
  void Form_Unload();
  // A device change, or the back end's look every 2 seconds while no controller is open:
  // opens the first controller as start-up does. Nothing happens while one is open.
  void look_for_controller();
  bool controller_open() const { return engine.controller_open(); }
  // Tray notifications arrive as mouse moves whose X (in twips) carries the mouse message.
  void Form_MouseMove(int button, int shift, float x, float y);

  // Runs the handler of the menu item at this index of the menu order.
  void menu_click(std::size_t index);

  void mnuEnabled_Click();
  void mnuConfig_Click();
  void mnuRumble_Click();
  void mnuSelect_Click();
  void mnuAutoFire_Click();
  void mnuLogitech_Click();
  void mnuDeadZone_Click();
  void mnuHatDirections_Click();
  void mnuStandardLayout_Click();
  void mnuAutodetectProfile_Click();
  void mnuStartAtLogin_Click();
  void mnuAbout_Click();
  void mnuExit_Click();

  // Profiles and key tables.
  void mnuSNES9X_Click();
  void mnuVGS_Click();
  void mnuCustom_Click();
  void mnuSwapLR_Click();
  void mnuDOSApplication_Click();
  void ApplySwapLR();
  void LoadKeySet(const std::string& SetName);

  // Emulator detection and launch.
  void AutoDetect();

  bool ended() const { return ended_; }

  MainMenu menu;
  PadEngine engine;

 private:
  void end_program();
  std::string read_setting(const char* key, const std::string& fallback);
  void save_setting(const char* key, const std::string& value);
  void toggle(MenuItem& item) { item.checked = !item.checked; }

  Platform& platform_;
  std::unique_ptr<ControllerList> Controllers_;
  bool CallbackBusy = false;
  bool ended_ = false;
};

}  // namespace padwire
