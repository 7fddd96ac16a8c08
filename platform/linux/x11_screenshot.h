// A JPEG image of the X screen.
#pragma once

#include <cstdint>
#include <string>

#include "platform/screenshot.h"

struct _XDisplay;

namespace padwire::lin {

class X11Screenshot final : public Screenshot {
 public:
  // `display` may be null: every shot then fails.
  explicit X11Screenshot(_XDisplay* display) : display_(display) {}

  // Captures the root window and writes it at `quality` (1..100) to `path`, a path as the core
  // joins it (backslashes allowed). False on any failure, and then no file is left behind.
  bool save_jpeg(const std::string& path, int quality) override;

 private:
  _XDisplay* display_;
};

}  // namespace padwire::lin
