// Emulator detection: switch to the key set of a window that is open, or bring the emulator to
// the front, or launch it.
#include <string>

#include "shell/form_padwire.h"
#include "shell/settings_schema.h"

namespace padwire {

namespace {

constexpr std::uint32_t kRegistryBuffer = 255;

}  // namespace

void FormPadwire::AutoDetect() {
  if (ended_) return;
  Shell& shell = platform_.shell;
  if (menu.mnuAutodetectProfile.checked) {
    // The list is walked from "1" and ends at the first empty entry.
    for (int i = 1; i <= settings::kMaxNames; ++i) {
      const std::string name =
          platform_.settings.get(settings::kApp, settings::kNamesRead, std::to_string(i), "");
      if (name.empty()) break;
      // Only a window that really came to the front gets the key set and the Enter.
      if (shell.activate_window(name) == Activation::kActivated) {
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

  switch (shell.activate_window(kEmulatorTitle)) {
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

  const std::string folder = shell.app_path();
  const std::string found = shell.find_first_file(folder + "\\*vgs.exe");
  if (!found.empty()) {
    shell.shell_execute(0, "", found, "", folder, kShowNormal);
    return;
  }
  const std::string location = GetRegString(kHkeyLocalMachine, kEmulatorRegistryKey, "Location");
  if (!location.empty()) shell.run(location, kShowNormal);
}

std::string FormPadwire::GetRegString(std::uint32_t RootKey, const std::string& SubKey,
                                      const std::string& ValueName) {
  std::string buffer(kRegistryBuffer, ' ');
  std::uint32_t length = kRegistryBuffer;
  // Data that does not fit in 255 bytes, NUL included, fails the query and reads as absent.
  if (!platform_.registry.query_value(RootKey, SubKey, ValueName, buffer, kRegistryBuffer,
                                      length)) {
    return {};
  }
  if (length <= 1 || length > buffer.size()) return {};
  return buffer.substr(0, length - 1);
}

}  // namespace padwire
