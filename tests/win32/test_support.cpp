#include "test_support.h"

#include <cstdio>

namespace padwire::win32::test {

bool pump_until(const std::function<bool()>& done, int timeout_ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeout_ms);
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void pump_for(int milliseconds) {
  pump_until([] { return false; }, milliseconds);
}

RecorderWindow::RecorderWindow(const std::wstring& title, RECT area) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PadwireTestRecorder";
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);  // fails harmlessly when registered already
  window_ = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            area.left, area.top, area.right - area.left, area.bottom - area.top,
                            nullptr, nullptr, wc.hInstance, this);
  pump_for(50);
}

RecorderWindow::~RecorderWindow() {
  if (window_) DestroyWindow(window_);
}

bool RecorderWindow::take_focus() {
  SetForegroundWindow(window_);
  SetFocus(window_);
  return pump_until([&] { return GetForegroundWindow() == window_ && GetFocus() == window_; },
                    2000);
}

std::vector<InputRecord> RecorderWindow::keys() const {
  std::vector<InputRecord> result;
  for (const InputRecord& r : records) {
    if (r.message >= WM_KEYFIRST && r.message <= WM_KEYLAST) result.push_back(r);
  }
  return result;
}

LRESULT CALLBACK RecorderWindow::procedure(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<RecorderWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      if (self) {
        self->records.push_back({message,
                                 static_cast<UINT>(wparam),
                                 static_cast<UINT>((lparam >> 16) & 0xFF),
                                 ((lparam >> 24) & 1) != 0,
                                 {},
                                 GetMessageTime()});
      }
      if (self && self->default_system_keys &&
          (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP)) {
        return DefWindowProcW(window, message, wparam, lparam);
      }
      return 0;  // system keys too: no menu mode, no window commands
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      if (self) {
        InputRecord r;
        r.message = message;
        r.at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        r.time = GetMessageTime();
        self->records.push_back(r);
      }
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

const char* message_name(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_SYSKEYDOWN:
      return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "WM_SYSKEYUP";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN:
      return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return "WM_RBUTTONUP";
    default:
      return "other";
  }
}

std::string describe(const std::vector<InputRecord>& records) {
  std::string text;
  for (const InputRecord& r : records) {
    text += std::string(message_name(r.message)) + " vk=" + std::to_string(r.vk) +
            " scan=" + std::to_string(r.scan) + " ext=" + std::to_string(r.extended) + "\n";
  }
  return text;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  path_ = std::wstring(base) + unique_name(L"padwire-test");
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = file(name);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(full.c_str());
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

SystemDll::SystemDll(const std::wstring& source, const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  target_ = std::wstring(folder) + L"\\" + name;
  if (file_exists(target_)) {
    saved_ = target_ + L".saved-by-test";
    if (!MoveFileExW(target_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      target_.clear();
      return;
    }
  }
  installed_ = CopyFileW(source.c_str(), target_.c_str(), FALSE) != FALSE;
}

SystemDll::~SystemDll() {
  if (target_.empty()) return;
  if (installed_) DeleteFileW(target_.c_str());
  if (!saved_.empty()) MoveFileExW(saved_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::wstring unique_name(std::wstring_view prefix) {
  static LONG counter = 0;
  wchar_t text[96];
  std::swprintf(text, 96, L"-%lu-%llu-%ld", GetCurrentProcessId(),
                static_cast<unsigned long long>(GetTickCount64()), InterlockedIncrement(&counter));
  return std::wstring(prefix) + text;
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
  return result;
}

std::wstring environment(const wchar_t* name) {
  wchar_t value[4096];
  const DWORD length = GetEnvironmentVariableW(name, value, 4096);
  return length > 0 && length < 4096 ? std::wstring(value, length) : std::wstring();
}

bool file_exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Shares writing, so that a program appending to the file at the same time never fails.
std::vector<unsigned char> read_file(const std::wstring& path) {
  std::vector<unsigned char> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30)) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
  }
  CloseHandle(file);
  return bytes;
}

}  // namespace padwire::win32::test
