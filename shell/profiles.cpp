// The three profiles, the shoulder-key swap, the MS-DOS option and stored key sets.
#include <string>

#include "shell/form_padwire.h"
#include "shell/settings_schema.h"
#include "shell/text_conversions.h"

namespace padwire {

void FormPadwire::mnuSNES9X_Click() {
  KeyCodes& k = engine.keys;
  k.JoyLeft = 37;
  k.JoyDown = 40;
  k.JoyRight = 39;
  k.JoyUp = 38;
  k.JoyButtonA = 68;
  k.JoyButtonB = 67;
  k.JoyButtonC = 83;
  k.JoyButtonZ = 88;
  k.JoyTriggerL = 65;
  k.JoyButtonX = 13;
  k.JoyTriggerR = 90;
  k.JoyButtonY = 32;
  k.JoySelect = 13;
  k.JoyStart = 32;
  menu.mnuCustom.checked = false;
  menu.mnuVGS.checked = false;
  menu.mnuSNES9X.checked = true;
  menu.mnuSwapLR.enabled = false;
  save_setting(settings::kLast, settings::kProfileSnes9x);
}

void FormPadwire::mnuVGS_Click() {
  KeyCodes& k = engine.keys;
  k.JoyLeft = 65;
  k.JoyDown = 83;
  k.JoyRight = 68;
  k.JoyUp = 87;
  k.JoyButtonA = 74;
  k.JoyButtonB = 75;
  k.JoyButtonC = 76;
  k.JoyButtonZ = 73;
  k.JoySelect = 66;
  k.JoyStart = 78;
  menu.mnuCustom.checked = false;
  menu.mnuVGS.checked = true;
  menu.mnuSNES9X.checked = false;
  menu.mnuSwapLR.enabled = true;
  ApplySwapLR();
  save_setting(settings::kLast, settings::kProfileVgs);
}

void FormPadwire::ApplySwapLR() {
  KeyCodes& k = engine.keys;
  if (menu.mnuSwapLR.checked) {
    k.JoyTriggerL = 50;
    k.JoyTriggerR = 48;
    k.JoyButtonX = 49;
    k.JoyButtonY = 57;
  } else {
    k.JoyTriggerL = 49;
    k.JoyButtonX = 50;
    k.JoyTriggerR = 57;
    k.JoyButtonY = 48;
  }
}

void FormPadwire::mnuSwapLR_Click() {
  toggle(menu.mnuSwapLR);
  ApplySwapLR();
}

void FormPadwire::mnuCustom_Click() {
  menu.mnuCustom.checked = true;
  menu.mnuVGS.checked = false;
  menu.mnuSNES9X.checked = false;
  menu.mnuSwapLR.enabled = false;
  LoadKeySet(settings::kCustom);
  save_setting(settings::kLast, settings::kProfileCustom);
}

void FormPadwire::LoadKeySet(const std::string& SetName) {
  for (int index = 0; index < kPadButtonCount; ++index) {
    const std::string text =
        platform_.settings.get(settings::kApp, SetName, std::to_string(index),
                               std::to_string(settings::kKeySetDefaults[index]));
    // A value that is not a key code (0 to 255) keeps the variable's previous code.
    if (const auto code = text_to_key_code(text)) pad_key(engine.keys, index) = *code;
  }
}

void FormPadwire::mnuDOSApplication_Click() {
  toggle(menu.mnuDOSApplication);
  save_setting(settings::kDos, boolean_to_text(menu.mnuDOSApplication.checked));
}

}  // namespace padwire
