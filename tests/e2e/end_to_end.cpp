#include "end_to_end.h"

namespace padwire::e2e {

namespace test = win32::test;

void EndToEnd::SetUp() {
  if (exe_.empty()) GTEST_SKIP() << "PADWIRE_EXE names no padwire.exe";
  system_dll_.emplace(test::environment(L"PADWIRE_FAKE_DINPUT8"), L"dinput8.dll");
  ASSERT_TRUE(system_dll_->installed()) << "PADWIRE_FAKE_DINPUT8 names no DLL to install";
  xinput_dll_.emplace(test::environment(L"PADWIRE_FAKE_XINPUT"), L"xinput1_4.dll");
  ASSERT_TRUE(xinput_dll_->installed()) << "PADWIRE_FAKE_XINPUT names no DLL to install";
  test::forget_settings();
  pad_.describe("name Scripted Pad\nbuttons 10\n");
}

HWND EndToEnd::launch() {
  padwire_ = processes_.start();
  if (padwire_.dwProcessId == 0) {
    ADD_FAILURE() << "cannot start " << test::narrow(exe_);
    return nullptr;
  }
  HWND main = processes_.wait_until_in_tray(padwire_);
  if (!main) ADD_FAILURE() << "padwire.exe has no tray icon";
  // The debug window comes up with the first read of the pad, under the pointer. Wine then
  // takes the X server's view of the keyboard, and the keys this harness holds went to Wine
  // alone: a key held meanwhile would go up. Keys are held once the window is up.
  test::pump_until(
      [&] {
        const HWND debug = test::window_of(padwire_.dwProcessId, L"PadwireDebugWindow");
        return debug && IsWindowVisible(debug);
      },
      2000);
  test::pump_for(100);
  return main;
}

HWND EndToEnd::launch_holding_a(RecorderWindow& game) {
  HWND main = launch();
  if (!main || !game.take_focus()) return nullptr;
  pad_.hold({pad::kA});
  return wait_for_keys(game, 'J', 1) ? main : nullptr;
}

bool EndToEnd::device_created_after(int creates) {
  return test::pump_until([&] { return pad_.count_in_log("create device") > creates; }, 6000);
}

bool EndToEnd::choose(HWND main, int downs) {
  std::vector<BYTE> keys(static_cast<std::size_t>(downs), VK_DOWN);
  keys.push_back(VK_RETURN);
  return processes_.choose(main, keys);
}

bool EndToEnd::choose_key(HWND main, BYTE key) {
  return processes_.choose(main, {key});
}

bool EndToEnd::exit_from_menu(HWND main) {
  return choose_key(main, 'X') && ended(main);
}

bool EndToEnd::ended(HWND main) {
  DWORD code = 99;
  return processes_.ends(padwire_, code) && code == 0 && !test::icon_present(main);
}

bool EndToEnd::make_m_a_modifier(HWND main) {
  return choose(main, menu::kUseMAsSelect) &&
         test::pump_until([] { return test::registry_value(L"Custom", L"Select") == L"False"; });
}

bool EndToEnd::wait_for_keys(const RecorderWindow& window, UINT vk, std::size_t count,
                             int timeout_ms) {
  return test::pump_until([&] { return key_records(window, vk).size() >= count; }, timeout_ms);
}

bool EndToEnd::tap(int button, RecorderWindow& window, UINT vk) {
  const std::size_t before = key_records(window, vk).size();
  pad_.hold({button});
  const bool down = wait_for_keys(window, vk, before + 1);
  pad_.hold({});
  const bool up = wait_for_keys(window, vk, before + 2);
  test::pump_for(100);
  const std::vector<InputRecord> seen = key_records(window, vk);
  return down && up && seen.size() == before + 2 && seen[before].message == WM_KEYDOWN &&
         seen[before + 1].message == WM_KEYUP;
}

std::vector<InputRecord> key_records(const RecorderWindow& window, UINT vk) {
  std::vector<InputRecord> result;
  for (const InputRecord& r : window.keys()) {
    if (r.vk == vk) result.push_back(r);
  }
  return result;
}

InputRecord key_down(UINT vk, UINT scan) {
  return {WM_KEYDOWN, vk, scan, false, {}, 0};
}
InputRecord key_up(UINT vk, UINT scan) {
  return {WM_KEYUP, vk, scan, false, {}, 0};
}

}  // namespace padwire::e2e
