#include "engine/pad_reader.h"

namespace padwire {

bool PadReader::open(InputRoot& root, WindowHandle window, std::uint32_t cooperation) {
  close();
  const auto devices = root.enumerate_devices(kDevTypeJoystick, kEnumAllDevices);
  if (devices.empty()) return false;
  device_ = root.create_device(devices.front());
  if (!device_) return false;
  device_->set_cooperative_level(window, cooperation);
  device_->set_data_format(kDataFormatJoystick2);
  device_->acquire();
  buttons_ = device_->count_objects(kObjectButtons);
  return true;
}

void PadReader::close() {
  if (device_) device_->unacquire();
  device_.reset();
  buttons_.reset();
  failing_since_.reset();
  gone_ = false;
}

void PadReader::read(JoyState2& state) {
  if (!device_) return;
  const bool polled = device_->poll();
  JoyState2 fresh;
  const bool read = device_->get_state(fresh);
  if (read) state = fresh;
  if (polled && read) {
    failing_since_.reset();
  } else {
    device_->acquire();
    const std::uint64_t now = clock_.milliseconds();
    if (!failing_since_) failing_since_ = now;
    if (now - *failing_since_ >= kPadGoneAfterMs) gone_ = true;
  }
  if (device_->unplugged()) gone_ = true;
}

}  // namespace padwire
