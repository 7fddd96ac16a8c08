// The debug window's text for any controller record and button count: five lines of axes, POV
// and sliders, one line per button up to the record's 128, every line ending in CR LF.
#include "engine/debug_dump.h"

#include <algorithm>
#include <cstring>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace padwire;
  JoyState2 state;
  std::int16_t last_button_index = 0;
  if (size < sizeof state + sizeof last_button_index) return 0;
  std::memcpy(&state, data, sizeof state);
  std::memcpy(&last_button_index, data + sizeof state, sizeof last_button_index);

  const std::string dump = build_state_dump(state, last_button_index);

  const int buttons = std::clamp(last_button_index + 1, 0, 128);
  std::size_t lines = 0;
  for (std::size_t i = 0; i < dump.size(); ++i) {
    if (dump[i] != '\n') continue;
    fuzz::expect(i > 0 && dump[i - 1] == '\r', "lines end in CR LF");
    ++lines;
  }
  fuzz::expect(lines == static_cast<std::size_t>(5 + buttons), "one line per group and button");
  fuzz::expect(dump.size() >= 2 && dump.substr(dump.size() - 2) == "\r\n", "the text ends a line");
  return 0;
}
