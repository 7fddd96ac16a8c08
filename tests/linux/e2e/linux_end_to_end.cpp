#include "linux_end_to_end.h"

#include <X11/keysym.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/linux/linux_settings_file.h"

namespace padwire::e2e {

std::unique_ptr<XSession> LinuxEndToEnd::session_;

void LinuxEndToEnd::SetUpTestSuite() {
  session_ = std::make_unique<XSession>();
}

void LinuxEndToEnd::TearDownTestSuite() {
  session_.reset();
}

void LinuxEndToEnd::SetUp() {
  const char* program = std::getenv("PADWIRE_SCRIPTED");
  if (!program || !*program) GTEST_SKIP() << "PADWIRE_SCRIPTED names no program";
  // With /dev/uinput open to it the program types through the kernel, which Xvfb never hears.
  const int uinput = open("/dev/uinput", O_WRONLY | O_CLOEXEC);
  if (uinput >= 0) {
    close(uinput);
    GTEST_SKIP() << "/dev/uinput is writable here: the keys would not reach the X server";
  }
  ASSERT_TRUE(session_->ready()) << session_->problem();
  std::error_code ignored;
  std::filesystem::remove_all(session_->config_home() + "/padwire", ignored);
  desktop_ = std::make_unique<XDesktop>(session_->display());
  ASSERT_TRUE(desktop_->ready());
  padwire_ = std::make_unique<ScriptedPadwire>(program, *session_);
}

bool LinuxEndToEnd::launch() {
  if (padwire_->start()) return true;
  ADD_FAILURE() << "the program did not show its tray icon\n" << padwire_->log();
  return false;
}

bool LinuxEndToEnd::open_menu() {
  const std::optional<Rect> icon = desktop_->tray_icon();
  if (!icon) {
    ADD_FAILURE() << "no icon in the tray";
    return false;
  }
  desktop_->click(icon->x + icon->width / 2, icon->y + icon->height / 2, 3);
  if (!wait_until([&] { return desktop_->open_menu().has_value(); })) {
    ADD_FAILURE() << "the right click opened no menu";
    return false;
  }
  sleep_ms(100);  // the menu takes the keyboard once it is shown
  return true;
}

bool LinuxEndToEnd::choose(int downs) {
  if (!open_menu()) return false;
  for (int i = 0; i < downs; ++i) desktop_->tap_key(XK_Down);
  desktop_->tap_key(XK_Return);
  // Away from the icon, so that no tooltip covers what comes next.
  desktop_->move_pointer(600, 500);
  return wait_until([&] { return !desktop_->open_menu(); });
}

bool LinuxEndToEnd::exit_from_menu() {
  if (!open_menu()) return false;
  desktop_->tap_key(XK_x);  // E&xit
  return padwire_->wait_for_exit() == 0;
}

bool LinuxEndToEnd::take_focus(const Recorder& window) {
  desktop_->activate(window.window());
  return wait_until([&] { return window.focused(); });
}

bool LinuxEndToEnd::wait_for_keys(const Recorder& window, unsigned long keysym, std::size_t count,
                                  int timeout_ms) {
  return wait_until([&] { return window.keys(keysym).size() >= count; }, timeout_ms);
}

bool LinuxEndToEnd::tap(int button, const Recorder& window, unsigned long keysym) {
  const std::size_t before = window.keys(keysym).size();
  if (!padwire_->button(button, true)) return false;
  const bool down = wait_for_keys(window, keysym, before + 1);
  if (!padwire_->button(button, false)) return false;
  const bool up = wait_for_keys(window, keysym, before + 2);
  sleep_ms(100);
  const std::vector<Record> seen = window.keys(keysym);
  return down && up && seen.size() == before + 2 && seen[before].kind == Record::kKeyDown &&
         seen[before + 1].kind == Record::kKeyUp;
}

std::string LinuxEndToEnd::stored(const std::string& section, const std::string& key) {
  lin::SettingsFile file(session_->settings_path());
  return file.get("Padwire", section, key, "");
}

}  // namespace padwire::e2e
