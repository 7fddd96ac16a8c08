// Rumble: one constant-force effect, started on new presses by the chosen mode and stopped on
// every button release.
#include "engine/pad_engine.h"

namespace padwire {

namespace {

constexpr std::int32_t kInfinite = -1;
constexpr std::uint32_t kEffectCartesian = 16;
constexpr std::uint32_t kStartSolo = 1;  // any other effect on the device stops

}  // namespace

void PadEngine::create_rumble_effect() {
  ControllerDevice* device = PadDevice.device();
  if (!device) return;
  EffectInfo info;
  info.flags = kEffectCartesian;
  info.duration = kInfinite;
  info.sample_period = 0;
  info.gain = 5000;  // half strength
  info.trigger_button = -1;
  info.trigger_repeat_interval = kInfinite;
  info.start_delay = 0;
  info.constant_magnitude = 10000;
  RumbleEffect_ = device->create_constant_force(info);
}

void PadEngine::rumble_press(int button) {
  bool start = false;
  switch (RumbleType) {
    case kRumbleAlways:
      start = button < 8;
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
  if (start && RumbleEffect_) RumbleEffect_->start(kInfinite, kStartSolo);
}

void PadEngine::rumble_stop() {
  if (RumbleEffect_) RumbleEffect_->stop();
}

}  // namespace padwire
