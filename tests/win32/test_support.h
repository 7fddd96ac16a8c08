// Helpers of the Windows back end's tests: message pumping, a recorder window that logs the
// key and mouse messages it receives, temporary folders and unique names.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace padwire::win32::test {

// Dispatches this thread's messages until `done` holds or `timeout_ms` passes; true if done.
bool pump_until(const std::function<bool()>& done, int timeout_ms = 3000);
void pump_for(int milliseconds);

struct InputRecord {
  UINT message = 0;  // WM_KEYDOWN, WM_SYSKEYUP, WM_LBUTTONDOWN, ...
  UINT vk = 0;
  UINT scan = 0;
  bool extended = false;
  POINT at{};     // client coordinates of a mouse message
  LONG time = 0;  // the message's time stamp, in milliseconds
  friend bool operator==(const InputRecord& a, const InputRecord& b) {
    return a.message == b.message && a.vk == b.vk && a.scan == b.scan && a.extended == b.extended;
  }
};

// A visible top-level window of this thread that records every key and mouse-button message.
class RecorderWindow {
 public:
  explicit RecorderWindow(const std::wstring& title, RECT area = {100, 100, 500, 400});
  ~RecorderWindow();
  RecorderWindow(const RecorderWindow&) = delete;
  RecorderWindow& operator=(const RecorderWindow&) = delete;

  HWND handle() const { return window_; }
  // Makes it the foreground window with the keyboard focus; true once it has both.
  bool take_focus();
  // The records of key messages only.
  std::vector<InputRecord> keys() const;
  std::vector<InputRecord> records;
  // System keys (Alt combinations) go on to the default handling after being recorded, as in
  // an ordinary program: Alt + Tab, Alt + F4 and menu keys then act.
  bool default_system_keys = false;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  HWND window_ = nullptr;
};

const char* message_name(UINT message);
// One line per record ("WM_KEYDOWN vk=74 scan=0 ext=0"), for failure messages.
std::string describe(const std::vector<InputRecord>& records);

// A fresh folder under the temporary folder, removed with its files at the end of the scope.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

 private:
  std::wstring path_;
};

// A DLL put where the system's own DLLs live (the system folder of the run's Wine prefix),
// under the name of the one it stands for, for as long as this lives; the system's file is
// back afterwards. `installed` tells whether the copy was made.
class SystemDll {
 public:
  SystemDll(const std::wstring& source, const wchar_t* name);
  ~SystemDll();
  SystemDll(const SystemDll&) = delete;
  SystemDll& operator=(const SystemDll&) = delete;
  bool installed() const { return installed_; }

 private:
  std::wstring target_;
  std::wstring saved_;
  bool installed_ = false;
};

// A name no other test run uses, e.g. for registry keys and mutexes.
std::wstring unique_name(std::wstring_view prefix);
std::string narrow(std::wstring_view text);
std::wstring environment(const wchar_t* name);
bool file_exists(const std::wstring& path);
std::vector<unsigned char> read_file(const std::wstring& path);

}  // namespace padwire::win32::test
