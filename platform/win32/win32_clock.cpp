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

void Win32Timer::set_enabled(bool enabled) {
  enabled_ = enabled;
  apply();
}

void Win32Timer::set_interval(int milliseconds) {
  interval_ = milliseconds;
  apply();
}

void Win32Timer::pause() {
  if (running_) KillTimer(window_, id_);
  running_ = false;
}

void Win32Timer::apply() {
  if (enabled_ && interval_ > 0) {
    running_ = SetTimer(window_, id_, static_cast<UINT>(interval_), nullptr) != 0;
  } else {
    pause();
  }
}

}  // namespace padwire::win32
