// The debug window: the raw controller state as text, shown whenever it changes.
#include "engine/debug_dump.h"

#include <initializer_list>

#include "engine/pad_engine.h"

namespace padwire {

namespace {

void append_line(std::string& out, const char* label, std::initializer_list<std::int32_t> values) {
  out += label;
  bool first = true;
  for (std::int32_t v : values) {
    if (!first) out += ',';
    first = false;
    out += std::to_string(v);
  }
  out += "\r\n";
}

std::int32_t as_signed(std::uint32_t v) {
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::string build_state_dump(const JoyState2& s, int last_button_index) {
  std::string out;
  out.reserve(512);
  // Velocity, acceleration and force members come before the position members.
  append_line(out, "X=", {s.lVRx, s.lVX, s.lARx, s.lAX, s.lFRx, s.lFX, s.lX, s.lRx});
  append_line(out, "Y=", {s.lVRy, s.lVY, s.lARy, s.lAY, s.lFRy, s.lFY, s.lY, s.lRy});
  append_line(out, "Z=", {s.lVRz, s.lVZ, s.lARz, s.lAZ, s.lFRz, s.lFZ, s.lZ, s.lRz});
  append_line(out, "POV=",
              {as_signed(s.rgdwPOV[0]), as_signed(s.rgdwPOV[1]), as_signed(s.rgdwPOV[2]),
               as_signed(s.rgdwPOV[3])});
  append_line(out, "Slider=",
              {s.rglSlider[0], s.rglSlider[1], s.rglVSlider[0], s.rglVSlider[1], s.rglASlider[0],
               s.rglASlider[1], s.rglFSlider[0], s.rglFSlider[1]});
  // The record has 128 button entries; a device reporting more shows those only.
  const int last = last_button_index < 127 ? last_button_index : 127;
  for (int i = 0; i <= last; ++i) {
    out += "Button(";
    out += std::to_string(i + 1);
    out += ")=";
    out += std::to_string(s.rgbButtons[i]);
    out += "\r\n";
  }
  return out;
}

const std::string& PadEngine::state_dump() const {
  StateDump& memo = state_dump_;
  if (!memo.text || memo.state != PadState || memo.last_button_index != LastButtonIndex) {
    memo.text = build_state_dump(PadState, LastButtonIndex);
    memo.state = PadState;
    memo.last_button_index = LastButtonIndex;
  }
  return *memo.text;
}

void PadEngine::refresh_debug_window() {
  const std::string& dump = state_dump();
  // Reading the text box loads the window, hidden and empty, when it is not loaded.
  if (!Form1.loaded) {
    Form1.loaded = true;
    Form1.text.clear();
  }
  if (dump != Form1.text) {
    platform_.views.show_debug_text(dump);
    Form1.text = dump;
  }
}

void PadEngine::debug_window_closed() {
  Form1.loaded = false;
  Form1.text.clear();
}

}  // namespace padwire
