// The program's icon in the notification area and its popup menu.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "platform/ui_model.h"

namespace padwire {

class Tray {
 public:
  virtual ~Tray() = default;
  // Shows the program's icon with this tip. A click on it reaches the main form as
  // Form_MouseMove, whose X carries the mouse message in twips. False when no icon was shown.
  virtual bool show(const std::string& tip) = 0;
  // Takes the icon away again; false when there was none to take.
  virtual bool remove() = 0;
  // Shows the menu at the pointer and returns the index of the chosen item, if any.
  virtual std::optional<std::size_t> track_popup(std::span<const MenuItem* const> items) = 0;
  // Twips per pixel of the screen in X (15 at 96 dpi), for decoding the icon's mouse messages.
  virtual float twips_per_pixel_x() = 0;
};

}  // namespace padwire
