// Rumble: one constant-force effect, started on new presses by the chosen mode and stopped on
// every button release.
#include "engine/pad_engine.h"

namespace padwire {

void PadEngine::create_rumble_effect() {
  Controller* device = PadDevice.device();
  if (!device) return;
  RumbleEffect_ = device->create_rumble();
}

void PadEngine::rumble_press(int button) {
  bool start = false;
  switch (RumbleType) {
    case kRumbleAlways:
      start = button < kButtonStart;  // the buttons before Start
      break;
    case kRumbleRandom:
      start = platform_.random.next() > 0.95f;
      break;
    case kRumbleStressed:
      if (button == StressButton) {
        ++StressCount;
        // A fresh threshold between 30 and 80 on every repeat.
        const float threshold = platform_.random.next() * 50.0f + 30.0f;
        if (threshold < static_cast<float>(StressCount)) {
          start = true;
          StressCount = 0;
        }
      } else {
        StressCount = 0;
        StressButton = static_cast<std::int16_t>(button);
      }
      break;
    default:
      break;
  }
  if (start && RumbleEffect_) RumbleEffect_->start();
}

void PadEngine::rumble_stop() {
  if (RumbleEffect_) RumbleEffect_->stop();
}

}  // namespace padwire
