// Pictures of the screen.
#pragma once

#include <string>

namespace padwire {

class Screenshot {
 public:
  virtual ~Screenshot() = default;
  // Writes a JPEG image of the whole screen to `path` at `quality` (1 to 100); false when no
  // file was written.
  virtual bool save_jpeg(const std::string& path, int quality) = 0;
};

}  // namespace padwire
