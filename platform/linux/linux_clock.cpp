#include "platform/linux/linux_clock.h"

#include <time.h>

namespace padwire::lin {

LocalTime LinuxClock::now() {
  const time_t seconds = time(nullptr);
  struct tm local {};
  if (!localtime_r(&seconds, &local)) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::uint64_t LinuxClock::milliseconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::uint64_t>(t.tv_sec) * 1000u +
         static_cast<std::uint64_t>(t.tv_nsec) / 1000000u;
}

}  // namespace padwire::lin
