// Tray hosts: a tray that starts after the program (the main window stands in for the icon
// only once the wait is over, and goes when the tray comes), and a StatusNotifier host, whose
// activation opens the menu and whose secondary activation looks for the emulator.
#include <X11/keysym.h>

#include "linux_end_to_end.h"
#include "shell/form_padwire.h"
#include "status_notifier_host.h"

namespace padwire::e2e {
namespace {

TEST_F(LinuxEndToEnd, ALateTrayTakesTheIconFromTheMainWindow) {
  session().stop_tray_host();
  padwire_->environment = {"PADWIRE_TRAY_WAIT_MS=3000"};
  ASSERT_TRUE(padwire_->start(false));
  sleep_ms(1500);
  EXPECT_EQ(desktop_->find(kMainCaption), 0u) << "the main window came before the wait was over";
  ASSERT_TRUE(padwire_->wait_for_line("main-window")) << padwire_->log();
  EXPECT_TRUE(wait_until([&] { return desktop_->find(kMainCaption) != 0; }));

  ASSERT_TRUE(session().start_tray_host());
  ASSERT_TRUE(padwire_->wait_for_line("tray-ready")) << padwire_->log();
  EXPECT_TRUE(wait_until([&] { return desktop_->find(kMainCaption) == 0; }))
      << "the main window or the message stayed";
  EXPECT_TRUE(exit_from_menu());
}

TEST_F(LinuxEndToEnd, AStatusNotifierActivationOpensTheMenuAndTheSecondOneLooksForTheEmulator) {
  StatusNotifierHost host(session().folder());
  ASSERT_TRUE(host.ready());
  padwire_->environment = {"DBUS_SESSION_BUS_ADDRESS=" + host.address()};
  ASSERT_TRUE(launch());
  std::string item;
  ASSERT_TRUE(wait_until([&] { return !host.items().empty(); })) << padwire_->log();
  item = host.items().front();
  EXPECT_FALSE(desktop_->tray_icon()) << "the icon went to the XEmbed tray as well";

  ASSERT_TRUE(host.click(item, "Activate"));
  ASSERT_TRUE(wait_until([&] { return desktop_->open_menu().has_value(); })) << "no menu";
  sleep_ms(100);
  desktop_->tap_key(XK_Escape);
  ASSERT_TRUE(wait_until([&] { return !desktop_->open_menu(); }));

  Recorder emulator(session().display(), "Connectix Virtual Game Station");
  ASSERT_TRUE(host.click(item, "SecondaryActivate"));
  EXPECT_TRUE(wait_until([&] { return emulator.focused(); })) << "the emulator was not found";
  EXPECT_TRUE(wait_for_keys(emulator, XK_Return, 2)) << describe(emulator.records());

  ASSERT_TRUE(host.click(item, "Activate"));
  ASSERT_TRUE(wait_until([&] { return desktop_->open_menu().has_value(); }));
  sleep_ms(100);
  desktop_->tap_key(XK_x);  // E&xit
  EXPECT_EQ(padwire_->wait_for_exit(), 0);
}

}  // namespace
}  // namespace padwire::e2e
