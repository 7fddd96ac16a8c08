#include "platform/win32/win32_clock.h"

namespace padwire::win32 {

LocalTime Win32Clock::now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// GetTickCount64 counts from the system's start and, unlike GetTickCount, does not wrap.
std::uint64_t Win32Clock::milliseconds() {
  return GetTickCount64();
}

bool Win32Timer::start_native(int milliseconds) {
  return SetTimer(window_, id_, static_cast<UINT>(milliseconds), nullptr) != 0;
}

void Win32Timer::stop_native() {
  KillTimer(window_, id_);
}

}  // namespace padwire::win32
