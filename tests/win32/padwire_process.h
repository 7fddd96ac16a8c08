// padwire.exe as another process, seen from a test: starting it, finding its windows, its tray
// icon, its popup menu driven by the keyboard, its end, and the settings it keeps in the
// registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace padwire::win32::test {

inline constexpr const wchar_t* kMainWindowClass = L"PadwireMain";
inline constexpr UINT kTrayCallback = 512;

// The top-level window of that process with that class, or null.
HWND window_of(DWORD process, const wchar_t* window_class);
// WM_GETTEXT rather than GetWindowText, which does not ask another process's controls.
std::wstring text_of(HWND window);
SIZE client_size(HWND window);
// The message of a message box of another process: its longest static text.
std::wstring message_box_text(HWND box);
// A click of the left mouse button at the middle of the window, as the user makes it.
void click(HWND window);
// The program's tray icon (id 1 of its main window) is in the tray.
bool icon_present(HWND window);
// The notification area forgets that icon, as when Explorer restarts; true if it was there.
bool lose_icon(HWND window);

// Waits for the popup menu of any process, then presses the keys, one by one.
bool choose_from_menu(const std::vector<BYTE>& keys);
// A key pressed and released, then a short pause for it to arrive.
void press(BYTE vk);
// A key held for `hold_ms` and released, repeating its key-down meanwhile as a held key on a
// keyboard does, so that a program polling the key's state sees it held throughout. (Under
// Wine a program's SetKeyboardState also writes the system-wide key state, which can drop a
// key held only by one injected key-down.)
void hold(BYTE vk, int hold_ms);
// Each character of the text typed as the key that gives it (letters, digits, spaces).
void type_text(const std::wstring& text);

// The program's registry key below HKEY_CURRENT_USER, or the key of one of its sections.
std::wstring settings_key(const wchar_t* section = nullptr);
// A setting under the program's registry key: section and key, "" when missing.
std::wstring registry_value(const wchar_t* section, const wchar_t* key);
void store_registry_value(const wchar_t* section, const wchar_t* key, const wchar_t* value);
// Removes every setting of the program, so that a test starts from a first run.
void forget_settings();

// Runs padwire.exe processes for one test and ends whichever still run at the end.
class PadwireProcesses {
 public:
  explicit PadwireProcesses(std::wstring exe) : exe_(std::move(exe)) {}
  ~PadwireProcesses();
  PadwireProcesses(const PadwireProcesses&) = delete;
  PadwireProcesses& operator=(const PadwireProcesses&) = delete;

  // Starts one more; its process id is 0 when it could not start.
  PROCESS_INFORMATION start();
  // The program's main window once it exists and its icon is in the tray, else null.
  HWND wait_until_in_tray(const PROCESS_INFORMATION& process, int timeout_ms = 10000);
  HWND wait_for_window(DWORD process, const wchar_t* window_class, int timeout_ms = 8000);
  // True when the process ended within the time; its exit code in `code`.
  bool ends(const PROCESS_INFORMATION& process, DWORD& code, int timeout_ms = 8000);
  // Right-button release over the icon: the popup menu, driven by the keys.
  bool choose(HWND main, const std::vector<BYTE>& keys);

 private:
  std::wstring exe_;
  std::vector<PROCESS_INFORMATION> started_;
};

}  // namespace padwire::win32::test
