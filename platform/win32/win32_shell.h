// Programs, files, windows, message boxes and the registry reader of emulator detection.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/desktop.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kInstanceMutex = L"Local\\Padwire.Instance";

class Win32Shell final : public Desktop {
 public:
  // `main_window` owns what the shell opens for the user; `on_end` ends the message loop;
  // `mutex_name` names the single-instance mutex, which lives in the session's namespace so
  // that another user's session does not count.
  Win32Shell(HWND main_window, std::function<void()> on_end,
             std::wstring mutex_name = kInstanceMutex);
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  // The first call creates the mutex and keeps it for the process's life; every call answers
  // whether another process had created it first.
  bool previous_instance() override;
  void end_program() override;
  std::string app_path() override;
  // The file through the shell's default verb; the location recorded under the machine's key
  // (GetRegString) as a command line; the address through the "Open" verb, owned by the main
  // window; the control panel's game controllers through rundll32.
  bool launch_emulator(const std::string& file, const std::string& folder) override;
  bool launch_installed_emulator() override;
  bool open_address(const std::string& address) override;
  bool open_controller_panel() override;
  // Only files without the hidden, system or directory attribute, whose long name matches
  // the pattern (the system also matches short 8.3 names, which would let "*vgs.exe" find
  // "vgs.exe.bak" through its short name).
  std::string find_first_file(const std::string& pattern) override;
  // Among visible top-level windows, in their order on screen: a title equal to `title`
  // without regard to case, else one that begins with it. True only when that window is then
  // the foreground window.
  Activation activate_window(const std::string& title) override;
  void beep() override;
  void message_box(const std::string& text, Severity severity, const std::string& title) override;
  // The user's Run entry for this padwire.exe (win32_login_start.h).
  bool start_at_login() override;
  bool set_start_at_login(bool start) override;

 private:
  HWND main_window_;
  std::function<void()> on_end_;
  std::wstring mutex_name_;
  void* mutex_ = nullptr;
  bool checked_ = false;
  bool previous_ = false;
};

// ShellExecuteW with these arguments, empty text standing for none; false when the shell could
// not open the file.
bool shell_execute(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& directory, int show);
// Starts a command line without waiting for it, its window shown as `show` says.
bool run_command_line(const std::string& command_line, int show);

// The registry string reader. Keys are opened in the 32-bit view of the registry, where
// 32-bit programs (the emulator among them) record their installation on 64-bit Windows.
// Only string values count, and only when their text with its NUL fits the reader's
// buffer of 255 bytes; anything else reads as empty.
std::string GetRegString(HKEY RootKey, const std::string& SubKey, const std::string& ValueName);

}  // namespace padwire::win32
