// What the fuzz targets share: a failed expectation ends the run as a crash, so libFuzzer keeps
// the input that caused it, and the program started on the simulated platform.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sim/session.h"

namespace padwire::fuzz {

inline void expect(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "fuzz expectation failed: %s\n", rule);
  std::abort();
}

inline std::string as_text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// One program, started once for the whole run: the targets that use it change only the part of
// the world they fuzz before each call.
inline sim::Session& started_session() {
  static sim::Session* session = [] {
    auto* s = new sim::Session;
    s->run(sim::parse_scenario("start\n"));
    return s;
  }();
  return *session;
}

}  // namespace padwire::fuzz
