#include "padwire_process.h"

#include <shellapi.h>

#include "platform/win32/win32_registry_store.h"
#include "test_support.h"

namespace padwire::win32::test {

namespace {

struct Found {
  DWORD process = 0;
  const wchar_t* window_class = nullptr;
  HWND window = nullptr;
};

BOOL CALLBACK match_window(HWND window, LPARAM param) {
  auto& found = *reinterpret_cast<Found*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process == found.process && std::wstring_view(name) == found.window_class) {
    found.window = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK longest_static_text(HWND child, LPARAM param) {
  auto& text = *reinterpret_cast<std::wstring*>(param);
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (std::wstring_view(name) == L"Static") {
    const std::wstring t = text_of(child);
    if (t.size() > text.size()) text = t;
  }
  return TRUE;
}

// The record that names the program's icon and nothing else.
NOTIFYICONDATAW program_icon(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = 1;
  return record;
}

}  // namespace

HWND window_of(DWORD process, const wchar_t* window_class) {
  Found found{process, window_class};
  EnumWindows(match_window, reinterpret_cast<LPARAM>(&found));
  return found.window;
}

std::wstring text_of(HWND window) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                      nullptr);
  return text;
}

SIZE client_size(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

std::wstring message_box_text(HWND box) {
  std::wstring message;
  EnumChildWindows(box, longest_static_text, reinterpret_cast<LPARAM>(&message));
  return message;
}

void click(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  pump_for(50);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  pump_for(150);
}

bool icon_present(HWND window) {
  NOTIFYICONDATAW probe = program_icon(window);
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

bool lose_icon(HWND window) {
  NOTIFYICONDATAW lost = program_icon(window);
  return Shell_NotifyIconW(NIM_DELETE, &lost) != FALSE;
}

bool choose_from_menu(const std::vector<BYTE>& keys) {
  if (!pump_until([] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
      })) {
    return false;
  }
  pump_for(150);
  for (BYTE vk : keys) press(vk);
  return true;
}

void press(BYTE vk) {
  hold(vk, 0);
}

void hold(BYTE vk, int hold_ms) {
  keybd_event(vk, 0, 0, 0);
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(hold_ms);
  while (GetTickCount64() < end) {
    pump_for(5);
    keybd_event(vk, 0, 0, 0);
  }
  keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
  pump_for(100);
}

void type_text(const std::wstring& text) {
  for (wchar_t c : text) {
    const SHORT key = VkKeyScanW(c);
    if (key == -1) continue;
    const bool shift = (key & 0x100) != 0;
    if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(static_cast<BYTE>(key & 0xFF), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key & 0xFF), 0, KEYEVENTF_KEYUP, 0);
    if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    pump_for(30);
  }
}

std::wstring settings_key(const wchar_t* section) {
  return std::wstring(kSettingsRoot) + L"\\Padwire" + (section ? L"\\" : L"") +
         (section ? section : L"");
}

std::wstring registry_value(const wchar_t* section, const wchar_t* key) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, settings_key(section).c_str(), key, RRF_RT_REG_SZ, nullptr,
                   data, &size) != ERROR_SUCCESS) {
    return L"";
  }
  return data;
}

void store_registry_value(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, settings_key(section).c_str(), key, REG_SZ, value,
                  static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

void forget_settings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, settings_key(nullptr).c_str());
}

PadwireProcesses::~PadwireProcesses() {
  for (PROCESS_INFORMATION& p : started_) {
    if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 9);
    CloseHandle(p.hProcess);
    CloseHandle(p.hThread);
  }
}

PROCESS_INFORMATION PadwireProcesses::start() {
  std::wstring command = L"\"" + exe_ + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    started_.push_back(process);
  } else {
    process = {};
  }
  return process;
}

HWND PadwireProcesses::wait_until_in_tray(const PROCESS_INFORMATION& process, int timeout_ms) {
  HWND main = wait_for_window(process.dwProcessId, kMainWindowClass, timeout_ms);
  if (!main || !pump_until([&] { return icon_present(main); }, timeout_ms)) return nullptr;
  return main;
}

HWND PadwireProcesses::wait_for_window(DWORD process, const wchar_t* window_class, int timeout_ms) {
  HWND found = nullptr;
  pump_until([&] { return (found = window_of(process, window_class)) != nullptr; }, timeout_ms);
  return found;
}

bool PadwireProcesses::ends(const PROCESS_INFORMATION& process, DWORD& code, int timeout_ms) {
  if (!process.hProcess ||
      !pump_until([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; },
                  timeout_ms)) {
    return false;
  }
  GetExitCodeProcess(process.hProcess, &code);
  return true;
}

bool PadwireProcesses::choose(HWND main, const std::vector<BYTE>& keys) {
  PostMessageW(main, kTrayCallback, 1, WM_RBUTTONUP);
  return choose_from_menu(keys);
}

}  // namespace padwire::win32::test
