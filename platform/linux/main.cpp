// The Linux program's composition root: the platform services, the forms, the windows, the tray
// icon and the event loop. Built with PADWIRE_SCRIPTED_JOYSTICK (the test-only padwire_scripted,
// never shipped), its controller is an SDL virtual joystick driven by the command lines of the
// FIFO or file named by PADWIRE_SCRIPT, whose change signal wakes the loop as a device node does;
// each line is answered ("ok" with the time of the change, once the program has taken it in, or
// "error: ...") on PADWIRE_SCRIPT_REPLY when that is set, as are rumble calls and the icon being
// shown.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "dialog/forms.h"
#include "platform/linux/linux_clock.h"
#include "platform/linux/linux_controller_mappings.h"
#include "platform/linux/linux_screenshot_folder.h"
#include "platform/linux/linux_settings_file.h"
#include "platform/linux/linux_shell.h"
#include "platform/linux/qt_portal_screenshot.h"
#include "platform/linux/x11_display.h"
#include "platform/linux/x11_input.h"
#include "platform/linux/x11_key_layout.h"
#include "platform/linux/x11_key_watch.h"
#include "platform/linux/x11_screenshot.h"
#include "platform/linux/x11_windows.h"
#include "platform/qt/qt_session.h"
#include "platform/qt/qt_tick_pacer.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/qt_views.h"
#include "platform/sdl/sdl_input.h"
#include "shell/settings_schema.h"

#ifdef PADWIRE_SCRIPTED_JOYSTICK
#include <poll.h>

#include "platform/qt/qt_script_channel.h"
#include "scripted_joystick.h"
#endif

using namespace padwire;
using namespace padwire::lin;
using namespace padwire::qt;
using namespace padwire::sdl;

namespace {

#ifdef PADWIRE_SCRIPTED_JOYSTICK
const char* environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool readable(int fd) {
  pollfd watched{fd, POLLIN, 0};
  return ::poll(&watched, 1, 0) == 1;
}
#endif

// The desktop started the program at login, through the autostart entry "Start at Login" wrote.
bool started_at_login(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--login") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("padwire"));
  // The installed desktop entry, padwire.desktop: its name and icon for the program's windows.
  QGuiApplication::setDesktopFileName(QStringLiteral("padwire"));
  // The program lives in the tray: closing its last window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  // XWayland's under Wayland, where it serves window activation (of X11 programs) only.
  X11Connection x11;
  const bool wayland = wayland_session();
  SettingsFile settings(SettingsFile::default_path());
  const std::shared_ptr<KeyLayout> layout =
      open_key_layout(settings.get(settings::kApp, kLayoutSection, kLayoutKey, ""));
  InputSinks sinks;
  const QIcon icon(QStringLiteral(":/padwire/padwire.ico"));
  QApplication::setWindowIcon(icon);
  TrayHosts hosts;
  hosts.status_notifier = status_notifier_host_registered;
  // Qt embeds its icon in an XEmbed tray only when it draws through X11 itself.
  hosts.xembed = [&x11] {
    return QGuiApplication::platformName() == QLatin1String("xcb") && x11_tray_present(x11.get());
  };
  QtTray tray(icon, std::move(hosts));
  QtViews views(tray.main_window());
  DesktopHooks hooks;
  hooks.activate_window = [&x11](const std::string& title) {
    return activate_window_by_title(x11.get(), title);
  };
  hooks.beep = [&x11] { x11_beep(x11.get()); };
  hooks.message_box = [&views](const std::string& text, Severity severity,
                               const std::string& title) {
    views.message_box(text, severity, title);
  };
  // Ending closes every other window without its closing steps and leaves the event loop once
  // the handler that asked for it has returned.
  hooks.end_program = [&views] {
    views.program_ended();
    QCoreApplication::exit(0);
  };
  hooks.about_note = [&sinks, &layout] {
    return about_input_text(sinks.plan.sink, layout ? layout->name() : "");
  };
  LinuxShell shell(std::move(hooks));
  X11KeyWatch key_watch(!wayland);
  SinkOptions sink_options;
  sink_options.wayland = wayland;
  sink_options.layout = layout;
  sink_options.surely_up = [&key_watch](int key) { return key_watch.surely_up(key); };
  sinks = open_input_sinks(x11.get(), std::move(sink_options));
  const ControllerMappings mappings = read_controller_mappings(controller_mappings_path());
  SdlInput input(mappings.lines);
  X11Screenshot x11_screenshot(sinks.plan.portal_screenshot ? nullptr : x11.get());
  PortalScreenshot portal_screenshot;
  Screenshot& camera = sinks.plan.portal_screenshot ? static_cast<Screenshot&>(portal_screenshot)
                                                    : static_cast<Screenshot&>(x11_screenshot);
  ScreenshotFolder screenshot(camera, ScreenshotFolder::default_folder());
  LinuxClock clock;
  LinuxRandom random;
  QtTimer timer;
  Platform platform{input,
                    *sinks.keyboard,
                    *sinks.keystrokes,
                    *sinks.mouse,
                    tray,
                    settings,
                    shell,
                    screenshot,
                    clock,
                    random,
                    timer,
                    views};

  Forms forms(platform);
  FormPadwire& form = forms.main;
  views.attach(forms, [layout](std::uint32_t keycode) {
    return layout ? layout->virtual_key_at_keycode(keycode) : 0;
  });

  TickPacer pacer(
      timer, input, form.engine, *sinks.keyboard, key_watch, views,
      [&] {
        if (views.ended()) return;
        sinks.hold_keys();
        form.engine.Timer1_Timer();
        sinks.send_held_keys();
      },
      [&form] { form.look_for_controller(); });
  timer.on_tick = [&pacer] { pacer.timer_tick(); };
  const auto unload = [&] {
    if (!views.ended() && !form.ended()) form.Form_Unload();
  };
  QtTray::Events tray_events;
  tray_events.mouse = [&](int mouse_message) {
    if (views.ended()) return;
    form.Form_MouseMove(0, 0, static_cast<float>(mouse_message) * tray.twips_per_pixel_x(), 0);
  };
  tray_events.close = unload;
  SessionEnd session_end(unload);

#ifdef PADWIRE_SCRIPTED_JOYSTICK
  ScriptedJoystick joystick;
  ScriptChannel script(environment("PADWIRE_SCRIPT"), environment("PADWIRE_SCRIPT_REPLY"),
                       [&](const std::string& line) {
                         std::string error;
                         if (!joystick.apply(line, error)) {
                           script.reply("error: " + error);
                           return;
                         }
                         // A joystick plugged in is taken in at once; a change reaches the tick
                         // through the joystick's change signal, as a real pad's does.
                         if (!views.ended() && line.rfind("plug", 0) == 0) pacer.pump();
                         // "ok" and the time of the change, once the program has taken it in:
                         // the signal read, or nothing waiting on it. The loop hands the signal
                         // out only after it is first about to wait, so it is not looked at
                         // then: that would cost the change's way to its key a system call.
                         script.reply_when(
                             [&, first = true]() mutable {
                               const int signal = joystick.change_signal();
                               if (input.change_fd() != signal) return true;
                               if (std::exchange(first, false)) return false;
                               return !readable(signal);
                             },
                             "ok " + std::to_string(joystick.changed_ns()));
                       });
  input.use_change_signal(joystick.change_signal());
  joystick.on_rumble = [&script](std::uint16_t low, std::uint16_t high, std::uint32_t ms) {
    script.reply("rumble " + std::to_string(low) + " " + std::to_string(high) + " " +
                 std::to_string(ms));
  };
  tray_events.ready = [&script](const char* what) { script.reply(what); };
  // The tests of a late tray host wait seconds, not half a minute.
  if (const int wait = std::atoi(environment("PADWIRE_TRAY_WAIT_MS")); wait > 0) {
    tray.set_host_wait(wait);
  }
  // Before the load, which opens the first joystick.
  if (!joystick.attach()) script.reply("error: the virtual joystick could not be attached");
#endif
  tray.set_events(std::move(tray_events));

  // A settings file that did not parse was kept aside, a mappings file that did not is left
  // out: the user hears of each once.
  for (const std::string* problem : {&settings.load_problem(), &mappings.problem}) {
    if (!problem->empty()) views.message_box(*problem, Severity::kWarning, kMainCaption);
  }
  // How the keys go, where the user must know: a message when nothing can be typed, a line on
  // standard error when only X11 programs get them.
  if (sinks.plan.notice == Notice::kCannotType) {
    views.message_box(notice_text(sinks.plan.notice), Severity::kWarning, kMainCaption);
  } else if (sinks.plan.notice != Notice::kNone) {
    std::fprintf(stderr, "padwire: %s\n", notice_text(sinks.plan.notice).c_str());
  }
  form.Form_Load(started_at_login(argc, argv));
  if (form.ended()) return 0;  // another instance runs, or the controller service failed
  return QApplication::exec();
}
