#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

#include "platform/common/emulator_record.h"
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_login_start.h"
#include "platform/win32/win32_text.h"

namespace padwire::win32 {

namespace {

bool equal_ignoring_case(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

struct TitleSearch {
  std::wstring wanted;
  HWND exact = nullptr;
  HWND prefix = nullptr;
};

BOOL CALLBACK consider_window(HWND hwnd, LPARAM param) {
  auto& search = *reinterpret_cast<TitleSearch*>(param);
  if (!IsWindowVisible(hwnd)) return TRUE;
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return TRUE;
  std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
  title.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, title.data(), length + 1)));
  if (equal_ignoring_case(title, search.wanted)) {
    search.exact = hwnd;
    return FALSE;
  }
  if (!search.prefix && title.size() > search.wanted.size() &&
      equal_ignoring_case(std::wstring_view(title).substr(0, search.wanted.size()),
                          search.wanted)) {
    search.prefix = hwnd;
  }
  return TRUE;
}

// Brings a window of another program to the front. Windows lets only the foreground's own
// input queue change the foreground, so the call is made with ours joined to it. True when the
// window is then in front: the system may still refuse (its foreground lock), and the window's
// own thread may take a moment to take the activation.
bool bring_to_foreground(HWND hwnd) {
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  const DWORD self = GetCurrentThreadId();
  const HWND current = GetForegroundWindow();
  const DWORD other = current ? GetWindowThreadProcessId(current, nullptr) : 0;
  const bool joined = other != 0 && other != self && AttachThreadInput(self, other, TRUE);
  SetForegroundWindow(hwnd);
  BringWindowToTop(hwnd);
  if (joined) AttachThreadInput(self, other, FALSE);
  constexpr int kWaitSteps = 25;  // at most a quarter of a second
  for (int step = 0; GetForegroundWindow() != hwnd; ++step) {
    if (step == kWaitSteps) return false;
    Sleep(10);
  }
  return true;
}

// Case-insensitive match of a name against a pattern with * and ?.
bool wildcard_match(std::wstring_view name, std::wstring_view pattern) {
  auto same = [](wchar_t a, wchar_t b) { return equal_ignoring_case({&a, 1}, {&b, 1}); };
  std::size_t n = 0, p = 0, star = std::wstring_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] != L'*' &&
        (pattern[p] == L'?' || same(pattern[p], name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      mark = n;
    } else if (star != std::wstring_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

// A command line that is the path of an existing file, with blanks and without quotes (a
// program's recorded location), is quoted: unquoted, "C:\Program Files\vgs.exe" would start
// C:\Program.exe when one exists.
std::wstring quoted_if_a_path(std::wstring command) {
  if (command.find(L' ') == std::wstring::npos || command.find(L'"') != std::wstring::npos) {
    return command;
  }
  const DWORD attributes = GetFileAttributesW(command.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return command;
  }
  return L"\"" + command + L"\"";
}

// The full path of padwire.exe; empty when the system does not tell it.
std::wstring program_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

UINT message_box_style(Severity severity) {
  switch (severity) {
    case Severity::kInformation:
      return MB_OK | MB_ICONINFORMATION;
    case Severity::kWarning:
      return MB_OK | MB_ICONEXCLAMATION;
    case Severity::kPlain:
      break;
  }
  return MB_OK;
}

}  // namespace

Win32Shell::Win32Shell(HWND main_window, std::function<void()> on_end, std::wstring mutex_name)
    : main_window_(main_window), on_end_(std::move(on_end)), mutex_name_(std::move(mutex_name)) {}

Win32Shell::~Win32Shell() {
  if (mutex_) CloseHandle(mutex_);
}

bool Win32Shell::previous_instance() {
  if (!checked_) {
    checked_ = true;
    SetLastError(ERROR_SUCCESS);
    mutex_ = CreateMutexW(nullptr, FALSE, mutex_name_.c_str());
    const DWORD error = GetLastError();
    // A mutex that exists but cannot be opened (another user's, say) also means "running".
    previous_ = error == ERROR_ALREADY_EXISTS || (!mutex_ && error == ERROR_ACCESS_DENIED);
  }
  return previous_;
}

void Win32Shell::end_program() {
  if (on_end_) on_end_();
}

std::string Win32Shell::app_path() {
  std::wstring path = program_path();
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  path.resize(slash);
  if (path.size() == 2 && path[1] == L':') path += L'\\';  // a drive's root keeps its backslash
  return to_utf8(path);
}

bool Win32Shell::launch_emulator(const std::string& file, const std::string& folder) {
  return shell_execute(nullptr, "", file, "", folder, SW_SHOWNORMAL);
}

bool Win32Shell::launch_installed_emulator() {
  const std::string location =
      GetRegString(HKEY_LOCAL_MACHINE, kEmulatorRecordKey, kEmulatorRecordValue);
  return !location.empty() && run_command_line(location, SW_SHOWNORMAL);
}

bool Win32Shell::open_address(const std::string& address) {
  return shell_execute(main_window_, "Open", address, "", "", SW_SHOWNORMAL);
}

bool Win32Shell::open_controller_panel() {
  return run_command_line("rundll32 shell32,Control_RunDLL joy.cpl", SW_SHOWMINIMIZED);
}

bool shell_execute(HWND owner, const std::string& verb, const std::string& file,
                   const std::string& parameters, const std::string& directory, int show) {
  const auto wide_verb = to_wide(verb);
  const auto wide_file = to_wide(file);
  const auto wide_parameters = to_wide(parameters);
  const auto wide_directory = to_wide(directory);
  if (!wide_verb || !wide_file || !wide_parameters || !wide_directory || wide_file->empty()) {
    return false;
  }
  auto or_null = [](const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); };
  com::enter();  // a verb may be served by a shell extension, which is a COM object
  const HINSTANCE result = ShellExecuteW(owner, or_null(*wide_verb), wide_file->c_str(),
                                         or_null(*wide_parameters), or_null(*wide_directory), show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool run_command_line(const std::string& command_line, int show) {
  const auto given = to_wide(command_line);
  if (!given || given->empty()) return false;
  std::wstring command = quoted_if_a_path(*given);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::string Win32Shell::find_first_file(const std::string& pattern) {
  const auto wide = to_wide(pattern);
  if (!wide || wide->empty()) return {};
  const auto slash = wide->find_last_of(L"\\/:");
  const std::wstring_view name_pattern = slash == std::wstring::npos
                                             ? std::wstring_view(*wide)
                                             : std::wstring_view(*wide).substr(slash + 1);
  WIN32_FIND_DATAW found{};
  HANDLE search =
      FindFirstFileExW(wide->c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string result;
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if ((found.dwFileAttributes & kNotNormal) == 0 &&
        wildcard_match(found.cFileName, name_pattern)) {
      result = to_utf8(found.cFileName);
      break;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return result;
}

Activation Win32Shell::activate_window(const std::string& title) {
  const auto wide = to_wide(title);
  if (!wide || wide->empty()) return Activation::kNotFound;
  TitleSearch search{*wide};
  EnumWindows(consider_window, reinterpret_cast<LPARAM>(&search));
  const HWND target = search.exact ? search.exact : search.prefix;
  if (!target) return Activation::kNotFound;
  // A window the system keeps behind is not activated: the caller must not type into whatever
  // is in front instead.
  return bring_to_foreground(target) ? Activation::kActivated : Activation::kRefused;
}

void Win32Shell::beep() {
  MessageBeep(MB_OK);
}

void Win32Shell::message_box(const std::string& text, Severity severity, const std::string& title) {
  // Task-modal like the classic runtime's boxes: the program's other windows wait for it.
  MessageBoxW(nullptr, to_wide_lossy(text).c_str(), to_wide_lossy(title).c_str(),
              message_box_style(severity) | MB_TASKMODAL | MB_SETFOREGROUND);
}

bool Win32Shell::start_at_login() {
  return starts_at_log_on(program_path());
}

bool Win32Shell::set_start_at_login(bool start) {
  return set_start_at_log_on(program_path(), start);
}

std::string GetRegString(HKEY RootKey, const std::string& SubKey, const std::string& ValueName) {
  const auto wide_key = to_wide(SubKey);
  const auto wide_name = to_wide(ValueName);
  if (!wide_key || !wide_name) return {};
  RegistryKey key;
  if (RegOpenKeyExW(RootKey, wide_key->c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, key.out()) !=
      ERROR_SUCCESS) {
    return {};
  }
  constexpr std::size_t kCapacity = kEmulatorRecordBuffer;
  std::vector<wchar_t> buffer(kCapacity, L'\0');
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  const LONG result = RegQueryValueExW(key.get(), wide_name->c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &bytes);
  key.reset();
  if (result != ERROR_SUCCESS) return {};  // absent, or too long for the buffer
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
  std::size_t count = bytes / sizeof(wchar_t);
  // Stored text normally ends with its NUL; data without one needs room for it as well.
  if (count == 0 || buffer[count - 1] != L'\0') {
    if (count >= kCapacity) return {};
    buffer[count++] = L'\0';
  }
  std::size_t text_length = 0;
  while (text_length < count && buffer[text_length] != L'\0') ++text_length;
  std::string text = to_utf8(std::wstring_view(buffer.data(), text_length));
  // The buffer counts bytes of the program's text too: with its NUL, it must fit in them.
  if (text.size() >= kCapacity) return {};
  return text;
}

}  // namespace padwire::win32
