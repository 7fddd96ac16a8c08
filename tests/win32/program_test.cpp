// padwire.exe itself under Wine, which has no game controller: it starts, puts its icon in
// the tray, shows the debug window without taking the focus, opens its menu and dialogs, and
// ends on Exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "padwire_process.h"
#include "raw_registry.h"
#include "test_support.h"

namespace padwire::win32 {
namespace {

using test::choose_from_menu;
using test::client_size;
using test::icon_present;
using test::press;
using test::text_of;
using test::window_of;
constexpr const wchar_t* kMainClass = test::kMainWindowClass;

std::wstring registry_setting(const wchar_t* key) {
  return test::registry_value(L"Custom", key);
}

class Program : public testing::Test {
 protected:
  void SetUp() override {
    if (exe_.empty()) GTEST_SKIP() << "PADWIRE_EXE names no padwire.exe";
    test::forget_settings();
  }

  PROCESS_INFORMATION start() {
    const PROCESS_INFORMATION process = processes_.start();
    EXPECT_NE(process.dwProcessId, 0u) << "cannot start " << test::narrow(exe_);
    return process;
  }
  HWND wait_for_window(DWORD process, const wchar_t* window_class, int timeout_ms = 8000) {
    return processes_.wait_for_window(process, window_class, timeout_ms);
  }
  bool ends(const PROCESS_INFORMATION& process, DWORD& code, int timeout_ms = 8000) {
    return processes_.ends(process, code, timeout_ms);
  }

  std::wstring exe_ = test::environment(L"PADWIRE_EXE");
  test::PadwireProcesses processes_{exe_};
};

TEST_F(Program, WithoutAControllerStartsInTheTrayWithoutTakingTheFocusAndEndsOnExit) {
  test::RecorderWindow working(L"The program the user works in");
  ASSERT_TRUE(working.take_focus());
  const auto padwire = start();
  const HWND main = wait_for_window(padwire.dwProcessId, kMainClass);
  ASSERT_NE(main, nullptr) << "no main window";
  EXPECT_EQ(text_of(main), L"Padwire 1.6b for DirectX7a");
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(test::pump_until([&] { return icon_present(main); })) << "no tray icon";

  // The first tick reads the (absent) controller and shows its state, at rest.
  const HWND debug = wait_for_window(padwire.dwProcessId, L"PadwireDebugWindow");
  ASSERT_NE(debug, nullptr) << "no debug window";
  EXPECT_TRUE(test::pump_until([&] { return IsWindowVisible(debug); }));
  EXPECT_EQ(text_of(debug), L"Padwire Debug Window");
  const std::wstring dump = text_of(GetWindow(debug, GW_CHILD));
  EXPECT_EQ(dump.rfind(L"X=0,0,0,0,0,0,32768,0\r\nY=0,0,0,0,0,0,32768,0\r\n", 0), 0u)
      << test::narrow(dump);
  EXPECT_NE(dump.find(L"Button(1)=0\r\n"), std::wstring::npos);
  EXPECT_TRUE(GetWindowLongPtrW(debug, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  const SIZE size = client_size(debug);
  EXPECT_EQ(size.cx, 240);  // 3600 x 3390 twips at 96 dpi
  EXPECT_EQ(size.cy, 226);

  // A pad at rest sends nothing, and the focus stayed where the user works.
  test::pump_for(500);
  EXPECT_TRUE(working.keys().empty());
  EXPECT_EQ(GetForegroundWindow(), working.handle());

  // Right-button release over the icon: the menu; its Exit by its access key.
  PostMessageW(main, 512, 1, WM_RBUTTONUP);
  ASSERT_TRUE(choose_from_menu({'X'})) << "no popup menu";
  DWORD code = 99;
  ASSERT_TRUE(ends(padwire, code)) << "still running after Exit";
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(icon_present(main));
  EXPECT_EQ(registry_setting(L"Last"), L"2") << "start-up applied the VGS profile";
}

TEST_F(Program, ASecondInstanceEndsAtOnceAndLeavesTheFirstAlone) {
  const auto first = start();
  const HWND main = wait_for_window(first.dwProcessId, kMainClass);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(test::pump_until([&] { return icon_present(main); }));
  const auto second = start();
  DWORD code = 99;
  ASSERT_TRUE(ends(second, code)) << "the second instance keeps running";
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(WaitForSingleObject(first.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(icon_present(main));
  // Closing the main window unloads the program as Exit does.
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(ends(first, code));
  EXPECT_FALSE(icon_present(main));
}

TEST_F(Program, ForceFeedbackDialogShowsAndStoresTheMode) {
  const auto padwire = start();
  const HWND main = wait_for_window(padwire.dwProcessId, kMainClass);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(test::pump_until([&] { return icon_present(main); }));
  PostMessageW(main, 512, 1, WM_RBUTTONUP);
  // Enabled, Configure Joypad..., Force Feedback...
  ASSERT_TRUE(choose_from_menu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
  const HWND dialog = wait_for_window(padwire.dwProcessId, L"PadwireForceFeedback");
  ASSERT_NE(dialog, nullptr) << "no force-feedback dialog";
  ASSERT_TRUE(test::pump_until([&] { return IsWindowVisible(dialog); }));
  EXPECT_EQ(text_of(dialog), L"Force Feedback");
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  const SIZE size = client_size(dialog);
  EXPECT_EQ(size.cx, 158);  // 2370 x 2205 twips at 96 dpi
  EXPECT_EQ(size.cy, 147);
  auto option = [&](int i) { return GetDlgItem(dialog, 100 + i); };
  EXPECT_EQ(text_of(option(3)), L"Stressed");
  // Opening selects the current mode (Random by default) and stores it again.
  EXPECT_EQ(SendMessageW(option(2), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(registry_setting(L"RumbleType"), L"2");

  SendMessageW(option(1), BM_CLICK, 0, 0);
  EXPECT_TRUE(test::pump_until([] { return registry_setting(L"RumbleType") == L"1"; }));
  EXPECT_EQ(SendMessageW(option(1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(option(2), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(test::pump_until([&] { return !IsWindow(dialog); })) << "OK did not close it";
  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  EXPECT_TRUE(ends(padwire, code));
}

void store_name(const wchar_t* key, const wchar_t* name) {
  test::store_registry_value(L"Names", key, name);
}

using test::registry_value;

TEST_F(Program, AssignmentDialogCapturesAKeyAndSavesTheCustomSet) {
  store_name(L"1", L"Doom");
  store_name(L"3", L"Quake");  // a gap in the numbering does not end the list
  const auto padwire = start();
  const HWND main = wait_for_window(padwire.dwProcessId, kMainClass);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(test::pump_until([&] { return icon_present(main); }));
  PostMessageW(main, 512, 1, WM_RBUTTONUP);
  ASSERT_TRUE(choose_from_menu({VK_DOWN, VK_DOWN, VK_RETURN}));  // Configure Joypad...
  const HWND dialog = wait_for_window(padwire.dwProcessId, L"PadwireJoyConfig");
  ASSERT_NE(dialog, nullptr) << "no assignment dialog";
  ASSERT_TRUE(test::pump_until([&] { return IsWindowVisible(dialog); }));
  EXPECT_EQ(text_of(dialog), L"SideWinder Config");
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  const SIZE size = client_size(dialog);
  EXPECT_EQ(size.cx, 289);  // 4335 x 4155 twips at 96 dpi
  EXPECT_EQ(size.cy, 277);
  auto pad_button = [&](int i) { return GetDlgItem(dialog, 100 + i); };
  for (int i = 0; i < 14; ++i) EXPECT_NE(pad_button(i), nullptr) << i;
  EXPECT_EQ(text_of(pad_button(10)), L"Start");
  const HWND label = GetDlgItem(dialog, 200);
  const HWND save = GetDlgItem(dialog, 201);
  const std::wstring instructions = text_of(label);
  EXPECT_EQ(instructions,
            L"Click on a button and press the key on the keyboard that you want to assign to it.");
  const HWND names = GetDlgItem(dialog, 203);
  EXPECT_EQ(SendMessageW(names, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(text_of(names), L"Custom");

  // A click asks for the key; the next key-down answers.
  SetForegroundWindow(dialog);
  SendMessageW(pad_button(3), BM_CLICK, 0, 0);  // A
  EXPECT_TRUE(test::pump_until([&] {
    return text_of(label) ==
           L"Press the key on the KEYBOARD to be assigned to the joypad button A (1)";
  })) << test::narrow(text_of(label));
  EXPECT_FALSE(IsWindowEnabled(pad_button(3)));
  EXPECT_FALSE(IsWindowEnabled(save));
  press('K');
  EXPECT_TRUE(test::pump_until([&] { return text_of(label) == instructions; }));
  EXPECT_TRUE(IsWindowEnabled(save));
  // Keys no control would take are keys too.
  SendMessageW(pad_button(4), BM_CLICK, 0, 0);  // B
  ASSERT_TRUE(test::pump_until([&] { return !IsWindowEnabled(save); }));
  press(VK_SPACE);
  EXPECT_TRUE(test::pump_until([&] { return IsWindowEnabled(save); }));
  EXPECT_EQ(text_of(label), instructions);

  SendMessageW(save, BM_CLICK, 0, 0);
  EXPECT_TRUE(test::pump_until([&] { return !IsWindow(dialog); })) << "Save did not close it";
  EXPECT_EQ(registry_value(L"Custom", L"3"), L"75");
  EXPECT_EQ(registry_value(L"Custom", L"4"), L"32");
  EXPECT_EQ(registry_value(L"Custom", L"Last"), L"3") << "closing makes Custom the profile";
  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  EXPECT_TRUE(ends(padwire, code));
}

// What earlier versions, other programs or the user left under the program's key, of every
// registry type. Start-up reads it all without harm: text that converts counts, anything else
// keeps the item's state. Start and Exit leave every value as it was ("Last" is written again
// with the text it held); only the user's own choices write.
TEST_F(Program, StoredValuesOfEveryTypeAreReadWithoutHarmAndLeftAsTheyAre) {
  using test::number_bytes;
  using test::RawValue;
  using test::utf16_bytes;
  const std::wstring custom = test::settings_key(L"Custom");
  const std::wstring names = test::settings_key(L"Names");
  struct Stored {
    std::wstring key;
    const wchar_t* name;
    RawValue value;
  };
  const std::vector<Stored> values = {
      {custom, L"Select", {REG_DWORD, number_bytes<DWORD>(0)}},
      {custom, L"AutoFire", {REG_BINARY, "\x01"}},
      {custom, L"Logitech", {REG_MULTI_SZ, utf16_bytes(std::wstring(L"True\0", 5))}},
      {custom, L"RumbleType", {REG_EXPAND_SZ, utf16_bytes(L"&H3")}},
      {custom, L"Autodetect", {REG_SZ, utf16_bytes(std::wstring(65536, L'x'))}},
      {custom, L"DOS", {REG_SZ, utf16_bytes(L"\xD800")}},
      {custom, L"Last", {REG_SZ, utf16_bytes(L"3")}},  // Custom, so its keys are read
      {custom, L"0", {REG_QWORD, number_bytes<ULONGLONG>(75)}},
      {custom, L"1", {REG_SZ, utf16_bytes(L"75", false)}},
      {custom, L"2", {REG_SZ, utf16_bytes(std::wstring(L"75\0x", 4))}},
      {custom, L"3", {REG_NONE, ""}},
      {custom, L"4", {REG_SZ, utf16_bytes(L"&H4B")}},
      {custom, L"5", {REG_SZ, utf16_bytes(std::wstring(65534, L'0') + L"75")}},
      {custom, L"6", {REG_EXPAND_SZ, utf16_bytes(L"%SystemRoot%")}},
      {custom, L"7", {REG_SZ, utf16_bytes(L"75", false).substr(0, 3)}},
      {custom, L"8", {REG_SZ, utf16_bytes(L"Caf\u00E9")}},
      // Window titles emulator detection looks for, until the multi-string, which reads as empty.
      {names, L"1", {REG_SZ, utf16_bytes(std::wstring(65536, L'n'))}},
      {names, L"2", {REG_SZ, utf16_bytes(L"Doom\x01")}},
      {names, L"3", {REG_MULTI_SZ, utf16_bytes(std::wstring(L"Quake\0", 6))}},
      {names, L"4", {REG_SZ, utf16_bytes(L"Doom")}},
      {test::settings_key(L"Doom"), L"0", {REG_DWORD, number_bytes<DWORD>(1)}},
  };
  for (const auto& v : values) ASSERT_TRUE(test::write_raw_value(v.key, v.name, v.value));
  const auto before = test::raw_values_below(test::settings_key());

  const auto padwire = start();
  const HWND main = processes_.wait_until_in_tray(padwire);
  ASSERT_NE(main, nullptr) << "not in the tray";
  // The expandable string is text: "&H3" is Stressed, which the force-feedback dialog shows
  // when it opens, and stores again as the choice it makes.
  ASSERT_TRUE(processes_.choose(main, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
  const HWND dialog = wait_for_window(padwire.dwProcessId, L"PadwireForceFeedback");
  ASSERT_NE(dialog, nullptr) << "no force-feedback dialog";
  EXPECT_TRUE(test::pump_until(
      [&] { return SendMessageW(GetDlgItem(dialog, 103), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(test::pump_until([&] { return !IsWindow(dialog); }));
  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(ends(padwire, code));
  EXPECT_EQ(code, 0u);

  auto expected = before;
  expected[L"Custom\\RumbleType"] = {REG_SZ, utf16_bytes(L"3")};
  const auto after = test::raw_values_below(test::settings_key());
  EXPECT_EQ(after.size(), expected.size());
  for (const auto& [name, value] : expected) {
    const auto found = after.find(name);
    EXPECT_TRUE(found != after.end() && found->second == value) << test::narrow(name);
  }
}

// Run with dinput8.dll disabled (WINEDLLOVERRIDES), as on a system without DirectX: the
// variable must be in place when Wine starts, so this has a test run of its own.
using ProgramWithoutDirectInput = Program;

TEST_F(ProgramWithoutDirectInput, SaysSoAndEndsWithoutAnIcon) {
  HMODULE library = LoadLibraryW(L"dinput8.dll");
  ASSERT_EQ(library, nullptr) << "this run has DirectInput: it needs WINEDLLOVERRIDES=dinput8=";
  const auto padwire = start();
  const HWND box = wait_for_window(padwire.dwProcessId, L"#32770");
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(text_of(box), L"Padwire");
  EXPECT_EQ(test::message_box_text(box),
            L"Error starting Direct Input, please make sure you have DirectX 7a installed");
  const HWND main = window_of(padwire.dwProcessId, kMainClass);
  EXPECT_FALSE(main && icon_present(main));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 99;
  ASSERT_TRUE(ends(padwire, code)) << "still running after the message";
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace padwire::win32
