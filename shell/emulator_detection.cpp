// Emulator detection: switch to the key set of a window that is open, or bring the emulator to
// the front, or launch it.
#include <string>

#include "shell/form_padwire.h"
#include "shell/settings_schema.h"

namespace padwire {

void FormPadwire::AutoDetect() {
  if (ended_) return;
  Desktop& desktop = platform_.desktop;
  if (menu.mnuAutodetectProfile.checked) {
    // The list is walked from "1" and ends at the first empty entry.
    for (int i = 1; i <= settings::kMaxNames; ++i) {
      const std::string name =
          platform_.settings.get(settings::kApp, settings::kNamesRead, std::to_string(i), "");
      if (name.empty()) break;
      // Only a window that really came to the front gets the key set and the Enter.
      if (desktop.activate_window(name) == Activation::kActivated) {
        menu.mnuDOSApplication.checked = true;  // not stored: the next start shows "DOS" again
        LoadKeySet(name);
        platform_.keystrokes.send_keys("~", false);
        return;
      }
    }
  }

  if (menu.mnuSNES9X.checked) {
    mnuSNES9X_Click();
  } else if (menu.mnuVGS.checked) {
    mnuVGS_Click();
  } else {
    mnuCustom_Click();
  }

  switch (desktop.activate_window(kEmulatorTitle)) {
    case Activation::kActivated:
      platform_.keystrokes.send_keys("~", false);
      return;
    case Activation::kRefused:
      // The emulator runs but the system keeps it behind: the Enter would go to another
      // window, and a launch would start a second emulator.
      return;
    case Activation::kNotFound:
      break;
  }

  const std::string folder = desktop.app_path();
  const std::string found = desktop.find_first_file(folder + "\\*vgs.exe");
  if (!found.empty()) {
    desktop.launch_emulator(found, folder);
    return;
  }
  // Where the emulator's installation recorded it; a failure is ignored without a message.
  desktop.launch_installed_emulator();
}

}  // namespace padwire
