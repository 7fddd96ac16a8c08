// The Windows program's composition root: the hidden main window, the platform services, the
// forms and the message loop. Built with PADWIRE_TIMER_ONLY (a test-only program for the
// benchmarks, never shipped), it ticks on the poll timer alone, as the classic design did.
#include <windows.h>

#include <shellapi.h>

#include <string_view>

#include "dialog/forms.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_layout.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_registry_store.h"
#include "platform/win32/win32_screenshot.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_tick_pacer.h"
#include "platform/win32/win32_tray.h"
#include "platform/win32/win32_views.h"
#include "platform/win32/win32_watched_keys.h"

using namespace padwire;
using namespace padwire::win32;

namespace {

// Windows started the program at log-on, through the Run entry "Start at Login" wrote.
bool started_at_log_on() {
  int count = 0;
  const ArgumentList arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  for (int i = 1; arguments && i < count; ++i) {
    if (std::wstring_view(arguments.get()[i]) == L"--login") return true;
  }
  return false;
}

// The program's icon at the size of the tray at `dpi`.
Icon load_tray_icon(HINSTANCE instance, UINT dpi) {
  const int size = small_icon_size(dpi);
  return Icon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Nothing here loads more than the tray icon needs: COM waits for the first screenshot or
  // shell verb (win32_com.h), the common controls for the first dialog (Win32Views).

  MainWindowEvents events;
  HWND main_window = create_main_window(to_wide_lossy(kMainCaption).c_str(), events);
  if (!main_window) return 1;
  Icon tray_icon = load_tray_icon(instance, window_dpi(main_window));

  Win32Tray tray(main_window, tray_icon ? tray_icon.get() : LoadIconW(nullptr, IDI_APPLICATION));
  Win32DirectInput input;
#ifdef PADWIRE_TIMER_ONLY
  const WatchedKeys* watched_keys = nullptr;
#else
  WatchedKeys keys(main_window);
  const WatchedKeys* watched_keys = &keys;
#endif
  // A key the program sends right after a menu choice (the key-ups of Exit) goes to the game.
  Win32Keyboard keyboard([&tray] { tray.before_key(); }, watched_keys);
  Win32Keystrokes keystrokes;
  Win32Mouse mouse;
  RegistrySettingsStore settings;
  Win32Views views(main_window);
  // Ending closes every other window without its closing steps and leaves the message loop
  // once the handler that asked for it has returned.
  Win32Shell shell(main_window, [&views] {
    views.program_ended();
    PostQuitMessage(0);
  });
  Win32Screenshot screenshot;
  Win32Clock clock;
  Win32Random random;
  Win32Timer timer(main_window, kPollTimerId);
  Platform platform{input, keyboard,   keystrokes, mouse,  tray,  settings,
                    shell, screenshot, clock,      random, timer, views};

  Forms forms(platform);
  FormPadwire& form = forms.main;
  views.attach(forms);

  events.tick = [&] {
    if (views.ended()) return;
    form.engine.Timer1_Timer();
#ifdef PADWIRE_TIMER_ONLY
    views.flush_debug_text();  // the paced loop draws it when the pad rests
#endif
  };
  events.tray = [&](UINT mouse_message) {
    if (views.ended()) return;
    const float x = static_cast<float>(mouse_message) * tray.twips_per_pixel_x();
    form.Form_MouseMove(0, 0, x, 0);
    tray.give_back_foreground();
  };
  events.dpi_changed = [&](UINT dpi) {
    Icon resized = load_tray_icon(instance, dpi);
    if (!resized) return;
    tray.change_icon(resized.get());
    tray_icon = std::move(resized);  // the old one goes once the shell shows the new one
  };
  events.taskbar_created = [&] {
    if (!views.ended()) tray.add_again();
  };
  events.close = [&] {
    if (!views.ended()) form.Form_Unload();
  };
  events.look_for_controller = [&] {
    if (!views.ended() && !form.controller_open()) form.look_for_controller();
  };

#ifndef PADWIRE_TIMER_ONLY
  // Before the load, which creates the controller device: it must be told which event to
  // signal before it is first acquired.
  TickPacer pacer(keys, timer, input, form.engine, main_window, events.tick);
#endif
  form.Form_Load(started_at_log_on());
  const DeviceNotification hid_arrivals = register_hid_arrivals(main_window);
#ifdef PADWIRE_TIMER_ONLY
  SetTimer(main_window, kLookTimerId, kLookInterval, nullptr);
  const int result = run_message_loop(views);
#else
  const int result = run_paced_message_loop(views, pacer);
#endif

  KillTimer(main_window, kLookTimerId);
  KillTimer(main_window, kPollTimerId);
  DestroyWindow(main_window);
  return result;
}
