#include "engine/pad_reader.h"

#include <algorithm>

namespace padwire {

namespace {

constexpr std::int32_t kAxisMax = 65535;
// A quarter of the half-range on either side of the centre.
constexpr std::int32_t kDeadZone = 8192;
// Point-of-view angles are in hundredths of a degree, clockwise from up.
constexpr std::uint32_t kFullCircle = 36000;
constexpr std::uint32_t kEighth = 4500;

std::int32_t without_dead_zone(std::int32_t value) {
  const std::int64_t offset = static_cast<std::int64_t>(value) - kAxisCentre;
  return offset >= -kDeadZone && offset <= kDeadZone ? kAxisCentre : value;
}

// The hat's direction as axis values, or nothing while it is centred. Drivers report the
// centre as -1 or with 0xFFFF in the low word; any other angle outside the circle is taken as
// centred too. Each of the eight directions covers the 45 degrees around its own angle.
std::optional<Stick> hat_direction(std::uint32_t pov) {
  if ((pov & 0xFFFFu) == 0xFFFFu || pov >= kFullCircle) return std::nullopt;
  static constexpr Stick kSectors[8] = {
      {kAxisCentre, 0},        {kAxisMax, 0}, {kAxisMax, kAxisCentre}, {kAxisMax, kAxisMax},
      {kAxisCentre, kAxisMax}, {0, kAxisMax}, {0, kAxisCentre},        {0, 0},
  };
  return kSectors[((pov + kEighth / 2) / kEighth) % 8];
}

}  // namespace

Stick decode_directions(const JoyState2& state, DirectionOptions options) {
  if (options.hat) {
    if (const auto hat = hat_direction(state.rgdwPOV[0])) return *hat;
  }
  if (options.dead_zone) return {without_dead_zone(state.lX), without_dead_zone(state.lY)};
  return {state.lX, state.lY};
}

bool PadReader::open(ControllerList& list, WindowHandle window, ControllerAccess access,
                     bool standard_layout) {
  forget();
  const auto controllers = list.list(standard_layout);
  if (controllers.empty()) return false;
  device_ = list.open(controllers.front(), window, access);
  if (!device_) return false;
  kind_ = device_->kind();
  buttons_ = standard() ? std::optional<int>(kStandardButtonCount) : device_->button_count();
  return true;
}

DirectionOptions PadReader::direction_options(DirectionOptions chosen) const {
  return standard() ? DirectionOptions{} : chosen;
}

bool PadReader::logitech_patch(bool chosen) const {
  return chosen && !standard();
}

std::optional<std::int16_t> PadReader::last_button_index() const {
  if (!buttons_) return std::nullopt;
  return static_cast<std::int16_t>(std::clamp(*buttons_ - 1, -1, 32767));
}

void PadReader::close() {
  if (device_) device_->release();
  forget();
}

void PadReader::forget() {
  device_.reset();
  kind_ = ControllerKind::by_number;
  layout_ = StandardLayout{};
  buttons_.reset();
  failing_since_.reset();
  has_reading_ = false;
  gone_ = false;
}

void PadReader::read(JoyState2& state) {
  if (!device_) return;
  const bool polled = device_->poll();
  ControllerReading fresh;
  const bool read = device_->read(fresh);
  if (read) {
    state = standard() ? layout_.map(fresh.pad) : fresh.record;
    has_reading_ = true;
  }
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
