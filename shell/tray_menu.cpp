// The tray icon's notifications and the handlers of the popup menu's items.
#include <cmath>

#include "shell/form_padwire.h"
#include "shell/settings_schema.h"
#include "shell/text_conversions.h"

namespace padwire {

void FormPadwire::Form_MouseMove(int /*button*/, int /*shift*/, float x, float /*y*/) {
  if (ended_) return;
  // Notifications that arrive while one is handled (the menu or a message box is open, or
  // emulator detection runs) are dropped, so at most one popup is ever open.
  if (CallbackBusy) return;
  CallbackBusy = true;
  const float twips_per_pixel = platform_.tray.twips_per_pixel_x();
  const long message = twips_per_pixel > 0 ? std::lround(x / twips_per_pixel) : 0;
  if (message == kWmLButtonDblClk) {
    AutoDetect();
  } else if (message == kWmRButtonUp) {
    // The entry may have been changed outside the program since the menu was last shown.
    menu.mnuStartAtLogin.checked = platform_.desktop.start_at_login();
    const auto items = menu.items();
    if (const auto chosen = platform_.tray.track_popup(items)) menu_click(*chosen);
  }
  CallbackBusy = false;
}

void FormPadwire::menu_click(std::size_t index) {
  if (ended_) return;
  const auto items = menu.items();
  if (index >= items.size()) return;
  const MenuItem* item = items[index];
  if (item->is_separator() || !item->enabled) return;
  if (item == &menu.mnuEnabled)
    mnuEnabled_Click();
  else if (item == &menu.mnuConfig)
    mnuConfig_Click();
  else if (item == &menu.mnuRumble)
    mnuRumble_Click();
  else if (item == &menu.mnuSelect)
    mnuSelect_Click();
  else if (item == &menu.mnuAutoFire)
    mnuAutoFire_Click();
  else if (item == &menu.mnuLogitech)
    mnuLogitech_Click();
  else if (item == &menu.mnuDeadZone)
    mnuDeadZone_Click();
  else if (item == &menu.mnuHatDirections)
    mnuHatDirections_Click();
  else if (item == &menu.mnuStandardLayout)
    mnuStandardLayout_Click();
  else if (item == &menu.mnuAutodetectProfile)
    mnuAutodetectProfile_Click();
  else if (item == &menu.mnuStartAtLogin)
    mnuStartAtLogin_Click();
  else if (item == &menu.mnuSwapLR)
    mnuSwapLR_Click();
  else if (item == &menu.mnuDOSApplication)
    mnuDOSApplication_Click();
  else if (item == &menu.mnuSNES9X)
    mnuSNES9X_Click();
  else if (item == &menu.mnuVGS)
    mnuVGS_Click();
  else if (item == &menu.mnuCustom)
    mnuCustom_Click();
  else if (item == &menu.mnuAbout)
    mnuAbout_Click();
  else if (item == &menu.mnuExit)
    mnuExit_Click();
}

void FormPadwire::mnuEnabled_Click() {
  toggle(menu.mnuEnabled);
  engine.Timer1.set_enabled(menu.mnuEnabled.checked);
}

void FormPadwire::mnuConfig_Click() {
  if (show_joy_config) show_joy_config();
}

void FormPadwire::mnuRumble_Click() {
  if (show_force_feedback) show_force_feedback();
}

void FormPadwire::mnuSelect_Click() {
  toggle(menu.mnuSelect);
  engine.SelectOnM = menu.mnuSelect.checked;
  save_setting(settings::kSelect, boolean_to_text(menu.mnuSelect.checked));
}

void FormPadwire::mnuAutoFire_Click() {
  toggle(menu.mnuAutoFire);
  save_setting(settings::kAutoFire, boolean_to_text(menu.mnuAutoFire.checked));
  // Checking the item switches auto-fire on, unchecking switches it off.
  engine.AutoFireOn = menu.mnuAutoFire.checked;
  engine.ShowAutoFire(engine.AutoFireOn);
}

void FormPadwire::mnuLogitech_Click() {
  toggle(menu.mnuLogitech);
  engine.Logitech = menu.mnuLogitech.checked;
  save_setting(settings::kLogitech, boolean_to_text(menu.mnuLogitech.checked));
}

// Decoding options for pads with analog sticks and a hat; the tick reads them at once.
void FormPadwire::mnuDeadZone_Click() {
  toggle(menu.mnuDeadZone);
  engine.direction_options.dead_zone = menu.mnuDeadZone.checked;
  save_setting(settings::kDeadZone, boolean_to_text(menu.mnuDeadZone.checked));
}

void FormPadwire::mnuHatDirections_Click() {
  toggle(menu.mnuHatDirections);
  engine.direction_options.hat = menu.mnuHatDirections.checked;
  save_setting(settings::kHatDirections, boolean_to_text(menu.mnuHatDirections.checked));
}

// Stored at once; the open controller is let go of, with every key it holds, and opened anew
// the way the option now reads it.
void FormPadwire::mnuStandardLayout_Click() {
  toggle(menu.mnuStandardLayout);
  engine.standard_layout = menu.mnuStandardLayout.checked;
  save_setting(settings::kStandardLayout, boolean_to_text(menu.mnuStandardLayout.checked));
  if (!controller_open()) return;
  engine.drop_controller();
  look_for_controller();
}

void FormPadwire::mnuAutodetectProfile_Click() {
  toggle(menu.mnuAutodetectProfile);
  save_setting(settings::kAutodetect, boolean_to_text(menu.mnuAutodetectProfile.checked));
}

// The check mark shows what the system has after the attempt, so a refused write shows as one.
void FormPadwire::mnuStartAtLogin_Click() {
  platform_.desktop.set_start_at_login(!menu.mnuStartAtLogin.checked);
  menu.mnuStartAtLogin.checked = platform_.desktop.start_at_login();
}

void FormPadwire::mnuAbout_Click() {
  platform_.desktop.message_box(kAboutText + platform_.desktop.about_note(), Severity::kInformation,
                                kMainCaption);
  if (ended_) return;
  platform_.desktop.open_address(kAboutAddress);
}

void FormPadwire::mnuExit_Click() {
  Form_Unload();
}

}  // namespace padwire
