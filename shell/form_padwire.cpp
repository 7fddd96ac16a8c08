// Start-up and shutdown of the main form.
#include "shell/form_padwire.h"

#include <algorithm>
#include <cctype>

#include "shell/settings_schema.h"
#include "shell/text_conversions.h"

namespace padwire {

namespace {

bool contains_ignoring_case(const std::string& text, std::string_view part) {
  auto lower = [](unsigned char c) { return static_cast<char>(std::tolower(c)); };
  std::string haystack(text.size(), '\0');
  std::transform(text.begin(), text.end(), haystack.begin(), lower);
  std::string needle(part.size(), '\0');
  std::transform(part.begin(), part.end(), needle.begin(), lower);
  return haystack.find(needle) != std::string::npos;
}

// A Boolean option read into a check mark; text that does not convert leaves it as it was.
void read_check_mark(MenuItem& item, const std::string& text) {
  if (const auto value = text_to_boolean(text)) item.checked = *value;
}

}  // namespace

FormPadwire::FormPadwire(Platform& platform)
    : engine(platform, menu.mnuAutoFire, menu.mnuDOSApplication), platform_(platform) {}

std::string FormPadwire::read_setting(const char* key, const std::string& fallback) {
  return platform_.settings.get(settings::kApp, settings::kCustom, key, fallback);
}

void FormPadwire::save_setting(const char* key, const std::string& value) {
  platform_.settings.save(settings::kApp, settings::kCustom, key, value);  // failure ignored
}

void FormPadwire::end_program() {
  ended_ = true;
  platform_.desktop.end_program();
}

void FormPadwire::Form_Load(bool at_login) {
  if (platform_.desktop.previous_instance()) {
    end_program();
    return;
  }

  const LocalTime now = platform_.clock.now();
  platform_.random.seed(now.hour * 3600.0 + now.minute * 60.0 + now.second);

  Controllers_ = platform_.input.connect();
  if (!Controllers_) {
    platform_.desktop.message_box(kDirectInputStartError, Severity::kPlain, settings::kApp);
    end_program();
    return;
  }

  // The first controller the system lists, attached or not; no choice among several. The
  // layout option decides how it is opened, so it is read first.
  read_check_mark(menu.mnuStandardLayout, read_setting(settings::kStandardLayout, "True"));
  engine.standard_layout = menu.mnuStandardLayout.checked;
  engine.open_controller(*Controllers_, platform_.views.main_window());
  Controller* device = engine.device();
  std::string product_name;

  engine.Timer1.set_enabled(false);
  menu.mnuAbout.caption = std::string("About ") + kMainCaption + "...";

  platform_.tray.show(std::string(kMainCaption) + kTrayByline);

  if (device) {
    if (const auto name = device->product_name()) product_name = *name;
  }

  read_check_mark(menu.mnuSelect,
                  read_setting(settings::kSelect, boolean_to_text(!contains_ignoring_case(
                                                      product_name, "SideWinder"))));
  engine.SelectOnM = menu.mnuSelect.checked;
  read_check_mark(menu.mnuAutoFire, read_setting(settings::kAutoFire, "True"));
  read_check_mark(menu.mnuLogitech,
                  read_setting(settings::kLogitech,
                               boolean_to_text(contains_ignoring_case(product_name, "Logitech"))));
  engine.Logitech = menu.mnuLogitech.checked;
  read_check_mark(menu.mnuDeadZone, read_setting(settings::kDeadZone, "False"));
  read_check_mark(menu.mnuHatDirections, read_setting(settings::kHatDirections, "False"));
  engine.direction_options = {menu.mnuDeadZone.checked, menu.mnuHatDirections.checked};
  if (const auto rumble = text_to_int16(read_setting(settings::kRumbleType, "2"))) {
    engine.RumbleType = *rumble;
  }
  read_check_mark(menu.mnuAutodetectProfile, read_setting(settings::kAutodetect, "True"));
  read_check_mark(menu.mnuDOSApplication, read_setting(settings::kDos, "False"));
  menu.mnuStartAtLogin.checked = platform_.desktop.start_at_login();

  const std::string last = read_setting(settings::kLast, settings::kProfileVgs);
  if (last == settings::kProfileSnes9x) {
    mnuSNES9X_Click();
  } else if (last == settings::kProfileCustom) {
    mnuCustom_Click();
  } else {
    mnuVGS_Click();
  }

  engine.keys.KeyDefEscape = 27;
  engine.Timer1.set_enabled(true);
  engine.create_rumble_effect();

  if (at_login || platform_.keyboard.async_key_state(kVkShift) != 0) return;
  AutoDetect();
}

void FormPadwire::Form_Unload() {
  if (ended_) return;  // the system may close the window after Exit has ended the program
  // Nothing the pad pressed may stay down once the program is gone; this holds also while the
  // assignment dialog has the timer off.
  engine.release_all();
  platform_.tray.remove();
  if (Controller* device = engine.device()) device->release();
  end_program();
}

void FormPadwire::look_for_controller() {
  if (ended_ || !Controllers_ || controller_open()) return;
  // Opened as start-up opens it, without touching the options start-up derived from the
  // product name: what the user has chosen stays as it is.
  if (engine.open_controller(*Controllers_, platform_.views.main_window())) {
    engine.create_rumble_effect();
  }
}

}  // namespace padwire
