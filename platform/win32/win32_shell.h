// Programs, files, windows, message boxes and the registry reader of emulator detection.
#pragma once

#include <functional>
#include <string>

#include "platform/shell.h"

namespace padwire::win32 {

inline constexpr const wchar_t* kInstanceMutex = L"Local\\Padwire.Instance";

class Win32Shell final : public Shell {
 public:
  // `on_end` ends the message loop; `mutex_name` names the single-instance mutex, which lives
  // in the session's namespace so that another user's session does not count.
  explicit Win32Shell(std::function<void()> on_end, std::wstring mutex_name = kInstanceMutex);
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  // The first call creates the mutex and keeps it for the process's life; every call answers
  // whether another process had created it first.
  bool previous_instance() override;
  void end_program() override;
  std::string app_path() override;
  bool shell_execute(WindowHandle owner, const std::string& verb, const std::string& file,
                     const std::string& parameters, const std::string& directory,
                     int show) override;
  bool run(const std::string& command_line, int window_style) override;
  // Only files without the hidden, system or directory attribute, whose long name matches
  // the pattern (the system also matches short 8.3 names, which would let "*vgs.exe" find
  // "vgs.exe.bak" through its short name).
  std::string find_first_file(const std::string& pattern) override;
  // Among visible top-level windows, in their order on screen: a title equal to `title`
  // without regard to case, else one that begins with it. True only when that window is then
  // the foreground window.
  Activation activate_window(const std::string& title) override;
  void beep() override;
  void message_box(const std::string& text, std::uint32_t style, const std::string& title) override;
  // The user's Run entry for this padwire.exe (win32_login_start.h).
  bool start_at_login() override;
  bool set_start_at_login(bool start) override;

 private:
  std::function<void()> on_end_;
  std::wstring mutex_name_;
  void* mutex_ = nullptr;
  bool checked_ = false;
  bool previous_ = false;
};

// The registry string reader. Keys are opened in the 32-bit view of the registry, where
// 32-bit programs (the emulator among them) record their installation on 64-bit Windows.
// Only string values count; their text with its NUL must fit in `capacity` characters.
class Win32Registry final : public Registry {
 public:
  bool query_value(std::uint32_t root, const std::string& sub_key, const std::string& value_name,
                   std::string& data, std::uint32_t capacity, std::uint32_t& length) override;
};

}  // namespace padwire::win32
